#include "dictionary/legacy_connections.h"

#include "platform/vb_text.h"
#include "platform/xml_escaping.h"
#include "repository/sql_value.h"

namespace mx::legacy {

using repository::SqlValue;

namespace {

std::string TextOf(const repository::Recordset& rs, const char* column) {
  return rs.Fields(column).ToTextOrEmpty();
}

std::string Line(const char* element, const std::string& value) {
  return std::string("<") + element + ">" + Escape_XML_Text(value) + "</" +
         element + ">" + vb::kCrLf;
}

}  // namespace

std::string GetConnStr(BuildContext& ctx, const std::string& i_StrAppl,
                       const std::string& i_StrTable) {
  auto rs =
      ctx.Query("select * from qxlgy140 where appl='" + SqlValue(i_StrAppl) +
                "' and flno='" + SqlValue(i_StrTable) + "'");
  if (rs.Eof()) return std::string();
  return "<constr> <dsn> " + Escape_XML_Text(TextOf(rs, "sour")) +
         "</dsn> <logn>" + TextOf(rs, "logn") + "</logn> <pswd>" +
         TextOf(rs, "pswd") + "</pswd></constr>";
}

bool Get_Legacy_Table_Connection(BuildContext& ctx,
                                 const std::string& application,
                                 const std::string& package,
                                 const std::string& module,
                                 const std::string& table, std::string* text) {
  text->clear();
  return ReportingFailures(ctx.reporter(), [&] {
    auto rs = ctx.Query(
        " select qxlgy140.* from qxlgy140  where qxlgy140.appl='" +
        SqlValue(application) + "' and qxlgy140.cpac='" + SqlValue(package) +
        "' and qxlgy140.cmod='" + SqlValue(module) +
        "' and UPPER(qxlgy140.flno)=UPPER('" + SqlValue(table) + "')");
    if (rs.Eof()) return false;
    *text = Line("DSN", TextOf(rs, "sour")) + Line("LOGN", TextOf(rs, "logn")) +
            Line("PSWD", TextOf(rs, "pswd"));
    return true;
  });
}

}  // namespace mx::legacy
