#include "dictionary/index_lookups.h"

#include "movx20xmlgen/variant.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx {

using repository::SqlValue;

std::vector<std::string> IndexPartsOf(const repository::Recordset& row) {
  std::vector<std::string> parts;
  for (size_t position = kFirstIndexPartPosition;
       position <= kLastIndexPartPosition; ++position) {
    const Variant& value = row.Fields(position);
    if (value.IsNull()) break;
    std::string part = value.ToText();
    if (vb::IsBlank(part)) break;
    parts.push_back(std::move(part));
  }
  return parts;
}

namespace dd {

namespace {

// The lookups build their lists the same way: the first piece (while the
// list is still blank) becomes the list, every further one follows a ",".
void AppendToList(std::string* list, const std::string& piece) {
  if (vb::IsBlank(*list)) {
    *list = piece;
  } else {
    *list += "," + piece;
  }
}

bool IsExactlyY(const Variant& comb) {
  const std::string* text = comb.text();
  return text != nullptr && *text == "Y";
}

}  // namespace

std::string Get_Index_Fields(BuildContext& ctx, const std::string& application,
                             const std::string& table, int32_t index_number) {
  repository::Recordset rs =
      ctx.Query("select * from qxddi200 where appl='" + SqlValue(application) +
                "' and cpac+cmod+flno='" + SqlValue(table) +
                "' and indn=" + std::to_string(index_number));
  if (rs.Eof()) return "";
  std::string list;
  for (const std::string& part : IndexPartsOf(rs)) {
    AppendToList(&list,
                 Is_Combined_Field(ctx, application, table, part)
                     ? Get_Ordered_Child_Fields(ctx, application, table, part)
                     : part);
  }
  return list;
}

std::string Get_Ordered_Child_Fields(BuildContext& ctx,
                                     const std::string& application,
                                     const std::string& table,
                                     const std::string& field) {
  repository::Recordset rs =
      ctx.Query("select * from qxddi160 where appl='" + SqlValue(application) +
                "' and cpac+cmod+flno='" + SqlValue(table) + "' and fdnm='" +
                SqlValue(field) + "' order by sern");
  std::string list;
  for (; !rs.Eof(); rs.MoveNext()) {
    const Variant& child = rs.Fields("chld");
    if (child.IsNull()) continue;
    AppendToList(&list, child.ToText());
  }
  return list;
}

bool Is_Combined_Field(BuildContext& ctx, const std::string& application,
                       const std::string& table, const std::string& field) {
  repository::Recordset rs =
      ctx.Query("select comb from qxddi150 where appl='" +
                SqlValue(application) + "' and cpac+cmod+flno='" +
                SqlValue(table) + "' and fdnm='" + SqlValue(field) + "'");
  return !rs.Eof() && IsExactlyY(rs.Fields("comb"));
}

bool Is_Index_Reference(const std::string& text) {
  return vb::Contains(vb::UCase(text), "INDEX");
}

int16_t Get_Index_Number(const std::string& text) {
  constexpr size_t kWordLength = 5;  // "INDEX"
  const size_t start = vb::InStr(vb::UCase(text), "INDEX");
  if (start == 0) return 0;
  const std::string number =
      vb::Mid(text, start + kWordLength, text.size() - kWordLength);
  return Variant(number).ToInt16();
}

}  // namespace dd
}  // namespace mx
