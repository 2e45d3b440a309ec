#include "run/selection.h"

#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx {

using repository::SqlValue;

std::optional<std::string> QuotedSelectedList(const std::string& list) {
  if (vb::IsBlank(list)) return std::nullopt;
  std::vector<std::string> items = vb::Split(list, ",");
  for (std::string& item : items) item = SqlValue(item);
  return "'" + vb::Join(items, "','") + "'";
}

std::string SelectionQuery(const std::string& table_list,
                           const std::string& application,
                           const GeneratorSettings& s,
                           const std::optional<std::string>& quoted_list) {
  const std::string& t = table_list;
  std::string sql = " select " + t + ".cpac," + t + ".cmod," + t + ".flno " +
                    " from " + t + " where " + " " + t + ".appl ='" +
                    SqlValue(application) + "' and ";
  if (quoted_list) {
    return sql + " " + t + ".cpac + " + t + ".cmod + " + t + ".flno in (" +
           *quoted_list + ")";
  }
  return sql + " " + t + ".cpac between '" + SqlValue(s.package_from) +
         "' and '" + SqlValue(s.package_to) + "' and " + " " + t +
         ".cmod between '" + SqlValue(s.module_from) + "' and '" +
         SqlValue(s.module_to) + "' and " + " " + t + ".flno between '" +
         SqlValue(s.table_from) + "' and '" + SqlValue(s.table_to) + "'";
}

std::vector<TargetTable> ReadTargetTables(repository::Recordset& rs,
                                          TableNumberWidth width) {
  std::vector<TargetTable> tables;
  for (; !rs.Eof(); rs.MoveNext()) {
    TargetTable table;
    table.cpac = vb::Fit(rs.Fields("cpac").ToText(), 2);
    table.cmod = vb::Fit(rs.Fields("cmod").ToText(), 3);
    table.flno = rs.Fields("flno").ToText();
    if (width == kFixedTableNumber) table.flno = vb::Fit(table.flno, 3);
    tables.push_back(std::move(table));
  }
  return tables;
}

VbError EmptySelectionError(const GeneratorSettings& s) {
  return VbError(
      123, "XMLGeneration",
      "No Mapping Objects exists to generate XML Files for the selected "
      "Range  " +
          s.package_from + s.module_from + s.table_from + " TO " +
          s.package_to + s.module_to + s.table_to +
          " Please select a valid range.");
}

}  // namespace mx
