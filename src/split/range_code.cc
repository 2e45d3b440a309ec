#include "split/range_code.h"

#include <vector>

#include "platform/vb_text.h"
#include "repository/sql_value.h"
#include "split/range_condition.h"

namespace mx {

using repository::SqlValue;

namespace {

constexpr char kCrLf[] = "\r\n";

// The fields of a split-field list, each trimmed: the list is stored as
// typed ("a, b"), and a blank inside a name would break the generated code
// (T. b, varstr_from_T_ b) as it would break the field query.
std::vector<std::string> TrimmedFields(const std::string& split_fields) {
  std::vector<std::string> fields = vb::Split(split_fields, ",");
  for (std::string& field : fields) field = vb::Trim(field);
  return fields;
}

// The fields, each quoted, joined by "," for an in-list.
std::string QuotedList(const std::vector<std::string>& fields) {
  std::vector<std::string> quoted;
  for (const std::string& field : fields) {
    quoted.push_back("'" + SqlValue(field) + "'");
  }
  return vb::Join(quoted, ",");
}

}  // namespace

namespace dd {

namespace {

// The lines that open a block reading one worker shell's row of qxgct872;
// `shell` is the variable holding the shell number.
std::string BlockOpening(const std::string& target_table,
                         const std::string& source_table,
                         const std::string& shell) {
  return std::string(kCrLf) + "select qxgct872.*" + kCrLf + "from qxgct872" +
         kCrLf + "where qxgct872.trtb=\"" + target_table +
         "\" and qxgct872.srtb=\"" + source_table +
         "\" and qxgct872.insn=" + shell + kCrLf + "selectdo" + kCrLf +
         "\tfor var.qxgct872.cnt=1 to 24" + kCrLf +
         "\t\ton case strip$(qxgct872.flds(1,var.qxgct872.cnt))";
}

std::string BlockClosing() {
  return std::string(kCrLf) + "\t\tendcase" + kCrLf + "\tendfor" + kCrLf +
         "endselect";
}

// How a value of qxgct872 becomes a value of the field's domain type.
std::string ValueExpression(const std::string& type) {
  constexpr char kValue[] = "qxgct872.vals(1,var.qxgct872.cnt)";
  if (type == "S" || type == "M") return std::string(" = ") + kValue;
  if (type == "D" || type == "F") return std::string(" = val(") + kValue + ")";
  if (type == "E") return std::string(" = ltoe(lval(") + kValue + "))";
  return std::string(" = lval(") + kValue + ")";
}

// The type of a domain; "" when the domain is not described, which reads
// its value as a whole number like any type without a rule of its own.
std::string DomainType(BuildContext& ctx, const std::string& application,
                       const std::string& domain) {
  repository::Recordset rs = ctx.Query(
      "select type from qxddi220 where appl='" + SqlValue(application) +
      "' and cpac+cdom='" + SqlValue(domain) + "'");
  if (rs.Eof()) return "";
  std::string type = vb::Trim(rs.Fields("type").ToTextOrEmpty());
  rs.Close();
  return type;
}

// One case branch: when the key field's name is `field`, the range variable
// `bound`.T.field takes the value.
std::string CaseBranch(const std::string& bound, const std::string& table,
                       const std::string& field,
                       const std::string& expression) {
  return std::string(kCrLf) + "\t\t\tcase \"" + field + "\":" + kCrLf +
         "\t\t\t\t" + bound + "." + table + "." + field + expression + kCrLf +
         "\t\t\t\tbreak";
}

}  // namespace

SplitRangePieces Build_Split_Range_Code(BuildContext& ctx,
                                        const std::string& source_application,
                                        const std::string& target_table,
                                        const std::string& source_table,
                                        const std::string& split_fields,
                                        const std::string& raw_field_list) {
  const std::vector<std::string> fields = TrimmedFields(split_fields);
  SplitRangePieces pieces;
  std::string from_block =
      BlockOpening(target_table, source_table, ":var.lng.vshn");
  std::string to_block =
      BlockOpening(target_table, source_table, ":var.to.lng.vshn");

  repository::Recordset rs = ctx.Query(
      "select fdnm,cdom from qxddi150 where cpac+cmod+flno='" +
      SqlValue(source_table) + "' and fdnm in (" + QuotedList(fields) +
      ") and appl='" + SqlValue(source_application) + "'");
  for (; !rs.Eof(); rs.MoveNext()) {
    const std::string field = rs.Fields("fdnm").ToTextOrEmpty();
    const std::string domain = rs.Fields("cdom").ToTextOrEmpty();
    for (const char* bound : {"from", "to"}) {
      pieces.declarations += std::string(kCrLf) + "\textern domain " + domain +
                             " " + bound + "." + source_table + "." + field;
    }
    const std::string expression =
        ValueExpression(DomainType(ctx, source_application, domain));
    from_block += CaseBranch("from", source_table, field, expression);
    to_block += CaseBranch("to", source_table, field, expression);
  }
  rs.Close();

  pieces.code = from_block + BlockClosing() + kCrLf +
                "var.to.lng.vshn = var.lng.vshn + 1" + kCrLf + to_block +
                BlockClosing();
  pieces.condition =
      Split_Range_Condition(source_table, fields, raw_field_list);
  return pieces;
}

}  // namespace dd

namespace legacy {

namespace {

// The range variables of one field: varstr_ for the text and time types
// (dtyp M, S, T), varint_ for any other.
RangeVariables VariablesOf(BuildContext& ctx, const std::string& application,
                           const std::string& table, const std::string& field) {
  repository::Recordset rs =
      ctx.Query("select * from qxlgy150 where flno='" + SqlValue(table) +
                "' and flna ='" + SqlValue(field) + "' and appl='" +
                SqlValue(application) + "' and dtyp in ('M','S','T')");
  const std::string kind = rs.Eof() ? "varint" : "varstr";
  rs.Close();
  return {kind + "_from_" + table + "_" + field,
          kind + "_to_" + table + "_" + field};
}

// The position (from 0) in the split-field list of the field a row of
// qxlgy150 names, compared as the repository compares names; -1 for none.
int PositionInList(const std::vector<std::string>& fields,
                   const std::string& name) {
  const std::string wanted = vb::Trim(name);
  for (size_t i = 0; i < fields.size(); ++i) {
    if (vb::EqualText(fields[i], wanted)) return static_cast<int>(i);
  }
  return -1;
}

// What qualifies the table's fields in its select text. A flat file
// (cust.txt) is read through the text driver, whose columns carry the file's
// base name (cust_CODE, as Schema.ini names them): its fields are written
// cust.CODE, which the query translation turns into that column. A table's
// fields are qualified by the table.
std::string FieldQualifier(const std::string& source_table) {
  const bool file =
      vb::Contains(source_table, ".txt") || vb::Contains(source_table, ".csv");
  if (!file) return source_table;
  const std::string name =
      vb::Mid(source_table, vb::InStrRev(source_table, "\\") + 1);
  return vb::Left(name, name.find('.'));
}

// How the range text's value at `position` becomes a value of the type.
std::string ValueExpression(const std::string& dtyp, int position) {
  const std::string value = "arrfld(" + std::to_string(position) + ")";
  if (dtyp == "S" || dtyp == "M" || dtyp == "D" || dtyp == "F" || dtyp == "I" ||
      dtyp == "L") {
    return " = " + value;
  }
  if (dtyp == "T") return " = cdate(" + value + ")";
  return " = clng(" + value + ")";
}

// The script around the assignments: the range of the table read through
// GetFromToRange, an error raised when either bound is missing.
std::string RangeScript(const std::string& table,
                        const std::string& from_assignments,
                        const std::string& to_assignments) {
  return "GetFromToRange \"" + table + "\", FromRng, ToRng" + kCrLf +
         "If FromRng <> \"\" then " + kCrLf +
         "\tarrfld = split(FromRng,\",\")" + kCrLf + from_assignments + kCrLf +
         "Else " + kCrLf + "\t RaiseError \"From Range Not found for table " +
         table + "\"" + kCrLf + "\tcall HandleErrors" + kCrLf + "\tExit Sub" +
         kCrLf + "End if" + kCrLf + "If ToRng <> \"\" then " + kCrLf +
         "arrfld = split(ToRng,\",\")" + kCrLf + to_assignments + kCrLf +
         "Else " + kCrLf + "\t RaiseError \"To Range Not found for table " +
         table + "\"" + kCrLf + "\tCall HandleErrors " + kCrLf + "\tExit Sub" +
         kCrLf + "End if";
}

}  // namespace

SplitRangePieces Build_Legacy_Split_Range_Code(
    BuildContext& ctx, const std::string& application,
    const std::string& /*target_table*/, const std::string& source_table,
    const std::string& split_fields) {
  const std::vector<std::string> fields = TrimmedFields(split_fields);
  std::vector<RangeVariables> variables;
  for (const std::string& field : fields) {
    variables.push_back(VariablesOf(ctx, application, source_table, field));
  }

  std::string from_assignments, to_assignments;
  repository::Recordset rs =
      ctx.Query("select * from qxlgy150 where flno='" + SqlValue(source_table) +
                "' and flna in (" + QuotedList(fields) + ") and appl='" +
                SqlValue(application) + "'");
  for (; !rs.Eof(); rs.MoveNext()) {
    const int position =
        PositionInList(fields, rs.Fields("flna").ToTextOrEmpty());
    if (position < 0) continue;
    const std::string expression =
        ValueExpression(vb::Trim(rs.Fields("dtyp").ToTextOrEmpty()), position);
    from_assignments +=
        std::string(kCrLf) + "\t" + variables[position].from + expression;
    to_assignments +=
        std::string(kCrLf) + "\t" + variables[position].to + expression;
  }
  rs.Close();

  SplitRangePieces pieces;
  pieces.code = RangeScript(source_table, from_assignments, to_assignments);
  if (!fields.empty()) {
    pieces.condition = Legacy_Split_Range_Condition(
        FieldQualifier(source_table), fields, variables);
  }
  return pieces;
}

}  // namespace legacy
}  // namespace mx
