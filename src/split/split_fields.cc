#include "split/split_fields.h"

#include <vector>

#include "dictionary/index_lookups.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx {

using repository::SqlValue;

namespace {

// The stored field list of the target and source table; false when the
// split table has no row for them. A null list is kept as a value: error 94.
bool ReadFieldList(BuildContext& ctx, const std::string& target,
                   const std::string& source, std::string* list) {
  repository::Recordset rs =
      ctx.Query("select * from qxmap300 where ttbl='" + SqlValue(target) +
                "' and stbl='" + SqlValue(source) + "'");
  if (rs.Eof()) return false;
  *list = rs.Fields("flst").ToText();
  rs.Close();
  return true;
}

// Every entry of the list replaced by what `expand` makes of it.
template <typename Expand>
std::string ExpandEntries(const std::string& list, Expand&& expand) {
  std::vector<std::string> entries = vb::Split(list, ",");
  for (std::string& entry : entries) entry = expand(entry);
  return vb::Join(entries, ",");
}

}  // namespace

namespace dd {

std::string get_split_fields(BuildContext& ctx, const std::string& StrSrcAppl,
                             const std::string& strTgtTable,
                             const std::string& StrSrcTable,
                             std::string* StrFlst) {
  std::string stored;
  if (!ReadFieldList(ctx, strTgtTable, StrSrcTable, &stored)) return "";
  *StrFlst = stored;
  const std::string indexes_expanded =
      ExpandEntries(stored, [&](const std::string& entry) {
        if (!Is_Index_Reference(entry)) return entry;
        return Get_Index_Fields(ctx, StrSrcAppl, StrSrcTable,
                                Get_Index_Number(entry));
      });
  return ExpandEntries(indexes_expanded, [&](const std::string& entry) {
    if (!Is_Combined_Field(ctx, StrSrcAppl, StrSrcTable, entry)) return entry;
    return Get_Ordered_Child_Fields(ctx, StrSrcAppl, StrSrcTable, entry);
  });
}

}  // namespace dd

namespace legacy {

std::string get_split_fields(BuildContext& ctx, const std::string&,
                             const std::string& strTgtTable,
                             const std::string& StrSrcTable) {
  std::string stored;
  if (!ReadFieldList(ctx, strTgtTable, StrSrcTable, &stored)) return "";
  return stored;
}

}  // namespace legacy
}  // namespace mx
