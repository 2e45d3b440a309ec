#include "xml/variable_tag.h"

#include <cstdint>

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"
#include "rules/rule_rewriting.h"
#include "split/row_size.h"
#include "xml/escaping.h"

namespace mx {

using repository::SqlValue;

std::string ObjectConditions(const ConversionObject& object) {
  return " AND vers = '" + SqlValue(object.vers) + "' AND rele = '" +
         SqlValue(object.rele) + "' AND cust = '" + SqlValue(object.cust) +
         "' AND tcpac = '" + SqlValue(object.cpac) + "' AND tcmod = '" +
         SqlValue(object.cmod) + "' AND tflno = '" + SqlValue(object.flno) +
         "'";
}

namespace {

std::string ProfileText(const ConversionObject& object) {
  return vb::NumberToText(int64_t{object.profile});
}

bool IsIncludeLine(const std::string& line) {
  return vb::Contains(line, "^") || vb::Contains(line, "#");
}

std::string IncludeLine(const std::string& line) {
  std::string escaped = Escape_XML_Text(line);
  escaped = vb::Replace(escaped, "\r", "");
  escaped = vb::Replace(escaped, "\n", "");
  return vb::Trim(escaped);
}

}  // namespace

std::string Read_Variable_Text(BuildContext& ctx,
                               const ConversionObject& object) {
  repository::Recordset rs = ctx.Query(
      " select vari from qxmap120 where mprf  = " + ProfileText(object) +
      ObjectConditions(object));
  std::string text;
  if (!rs.Eof()) text = rs.Fields("vari").ToTextOrEmpty();
  rs.Close();
  return text;
}

std::string ResolveVariableMarkers(const std::string& text) {
  return vb::Replace(vb::Replace(text, "~^~", vb::kCrLf), "~|~", "\t");
}

VariableLines Split_Variable_Text(const std::string& text) {
  VariableLines lines;
  for (const std::string& piece :
       vb::Split(ResolveVariableMarkers(text), "\n")) {
    if (piece.empty()) continue;
    if (IsIncludeLine(piece)) {
      lines.includes += IncludeLine(piece) + vb::kCrLf;
    } else {
      lines.declarations += piece + vb::kCrLf;
    }
  }
  return lines;
}

}  // namespace mx

namespace mx::dd {

namespace {

// The definitions that let the runtime check a table against the 2 GB limit:
// its row size, and the counters of dumped and reported records.
std::string RowSizeLines(BuildContext& ctx, const std::string& application,
                         const std::string& tables) {
  std::string lines;
  for (const std::string& table : vb::Split(tables, ",")) {
    lines +=
        vb::kCrLf + ("#define " + table + "RowSize ") +
        vb::NumberToText(int64_t{RowSizeofTable(ctx, application, table)}) +
        vb::kCrLf + "\tlong " + table + ".dump.rec" + vb::kCrLf + "\tlong " +
        table + "rep.count";
  }
  return lines;
}

}  // namespace

bool Construct_Variable_Tag(BuildContext& ctx, const ConversionObject& object,
                            const std::string& tables, std::string* text) {
  text->clear();
  ctx.doc.declared_variables.clear();
  return ReportingFailures(ctx.reporter(), [&] {
    VariableLines lines =
        Split_Variable_Text(Read_Variable_Text(ctx, object) + vb::kCrLf +
                            ctx.doc.split_declarations);
    if (ctx.settings.include_2gb_check) {
      lines.includes += RowSizeLines(ctx, object.tapp, tables);
    }
    ctx.doc.declared_variables = lines.declarations;
    *text = "<INCLUDE>" + lines.includes + "</INCLUDE>" + " <VAR>" +
            lines.declarations + "</VAR>";
    return true;
  });
}

bool Construct_Function_Tag(BuildContext& ctx, const ConversionObject& object,
                            std::string* text) {
  return ReportingFailures(ctx.reporter(), [&] {
    repository::Recordset rs = ctx.Query(
        " select func from qxmap160  where mprf = " + ProfileText(object) +
        ObjectConditions(object));
    std::string function;
    if (!rs.Eof()) function = rs.Fields("func").ToTextOrEmpty();
    rs.Close();
    if (function.empty()) return true;
    std::string rewritten;
    if (!Replace_Empty_Default_Target(ctx, object.sapp, object.tapp, function,
                                      &rewritten)) {
      return false;
    }
    *text += std::string("<FUNCTION>") + vb::kCrLf +
             EscapeThreeEntities(rewritten) + vb::kCrLf + "</FUNCTION>" +
             vb::kCrLf;
    return true;
  });
}

}  // namespace mx::dd
