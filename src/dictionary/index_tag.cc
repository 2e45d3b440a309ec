#include "dictionary/index_tag.h"

#include "dictionary/field_tag.h"
#include "dictionary/index_lookups.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx {

using repository::SqlValue;

namespace {

// The values of an index row that are only written out; a null reads as "".
std::string TextOf(const repository::Recordset& rs, const char* column) {
  return rs.Fields(column).ToTextOrEmpty();
}

// The parts of an index trimmed and joined with "|".
std::string PartList(const repository::Recordset& rs) {
  std::string list;
  for (const std::string& part : IndexPartsOf(rs)) {
    if (!list.empty()) list += "|";
    list += vb::Trim(part);
  }
  return list;
}

// One index line; the blank that ends NUMB and the one that starts PART make
// two, and the end tag keeps a blank before its ">".
std::string IndexLine(const repository::Recordset& rs) {
  const std::string number = TextOf(rs, "indn");
  return " <IND-" + number + " NUMB = \"" + number + "\" " + " PART = \"" +
         PartList(rs) + "\"" + " DUPL = \"" + TextOf(rs, "dupl") + "\"" +
         " ACTI = \"" + TextOf(rs, "acti") + "\"" + "  >  </IND-" + number +
         " > " + vb::kCrLf;
}

}  // namespace

std::string IndexElement(BuildContext& ctx, const std::string& application,
                         const std::string& package, const std::string& module,
                         const std::string& table) {
  repository::Recordset rs = ctx.Query(
      " select * from  qxddi200 where appl = '" + SqlValue(application) +
      "' AND cpac = '" + SqlValue(package) + "' AND cmod = '" +
      SqlValue(module) + "' AND flno = '" + SqlValue(table) + "'");
  std::string lines;
  for (; !rs.Eof(); rs.MoveNext()) lines += IndexLine(rs);
  return "<IND>" + lines + "</IND>";
}

namespace dd {

namespace {

// The comma-separated source-table list as an SQL in-list: a,b gives
// 'a' , 'b', and an empty list gives ''. The list is not trimmed.
std::string QuotedTableList(const std::string& source_tables) {
  return "'" + vb::Replace(SqlValue(source_tables), ",", "' , '") + "'";
}

// One index of a source table in SRCINDEX. Returns False when a combined
// part has no children (already reported).
bool AppendSourceIndex(BuildContext& ctx, const std::string& application,
                       const repository::Recordset& rs, std::string* text) {
  const std::string package = TextOf(rs, "cpac");
  const std::string module = TextOf(rs, "cmod");
  const std::string table = TextOf(rs, "flno");
  const std::string code = package + module + table;
  const std::string element = code + "._index" + TextOf(rs, "indn");
  *text += " <" + element + ">";
  for (const std::string& value : IndexPartsOf(rs)) {
    const std::string part = vb::Trim(value);
    repository::Recordset field =
        ctx.Query(" select comb from    qxddi150  where appl = '" +
                  SqlValue(application) + "' AND cpac = '" + SqlValue(package) +
                  "' AND cmod = '" + SqlValue(module) + "' AND flno = '" +
                  SqlValue(table) + "' AND fdnm = '" + SqlValue(part) + "'");
    if (field.Eof()) continue;  // not a field of the table: left out
    const std::string* comb = field.Fields("comb").text();
    if (comb != nullptr && *comb == "Y") {
      std::string children;
      if (!Get_Child_Field_List(ctx, application, package, module, table, part,
                                &children)) {
        return false;
      }
      *text += " " + code + "." +
               vb::Replace(children, "|", " , " + code + ".") + " " + " , ";
    } else {
      *text += " " + code + "." + part + " " + "," + " ";
    }
  }
  *text += " </" + element + ">";
  return true;
}

}  // namespace

bool Construct_Index_Tag(BuildContext& ctx, const std::string& application,
                         const std::string& package, const std::string& module,
                         const std::string& table, std::string* text) {
  return ReportingFailures(ctx.reporter(), [&] {
    *text = IndexElement(ctx, application, package, module, table);
    return true;
  });
}

bool Construct_Source_Field_Tag(BuildContext& ctx,
                                const std::string& application,
                                const std::string& source_tables,
                                std::string* text) {
  repository::Recordset rs = ctx.Query(
      "select cpac + cmod + flno + '.' + fdnm from qxddi150 where appl = '" +
      SqlValue(application) + "' and cpac + cmod + flno in (" +
      QuotedTableList(source_tables) + ") and comb = 'N' ");
  std::string fields;
  if (!rs.Eof()) fields = rs.GetString(" , ", " , ", "");
  *text = "<SRCFIELD>" + fields + "</SRCFIELD>";
  return true;
}

bool Construct_Source_Index_Tag(BuildContext& ctx,
                                const std::string& application,
                                const std::string& source_tables,
                                std::string* text) {
  return ReportingFailures(ctx.reporter(), [&] {
    std::string element = "<SRCINDEX>";
    repository::Recordset rs = ctx.Query(
        " select * from  qxddi200 where appl = '" + SqlValue(application) +
        "' and cpac + cmod + flno in (" + QuotedTableList(source_tables) + ")");
    for (; !rs.Eof(); rs.MoveNext()) {
      if (!AppendSourceIndex(ctx, application, rs, &element)) return false;
    }
    *text = element + "</SRCINDEX>";
    return true;
  });
}

}  // namespace dd
}  // namespace mx
