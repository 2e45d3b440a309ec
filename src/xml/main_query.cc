#include "xml/main_query.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "rules/rule_rewriting.h"
#include "split/split_condition.h"
#include "xml/escaping.h"
#include "xml/format_string.h"
#include "xml/main_query_rows.h"

namespace mx::dd {

namespace {

constexpr char kErrorSource[] = "XML Generation";
constexpr int32_t kNoMainQuery = 120;
constexpr int32_t kNoProperMainQuery = 121;

// The section slots, by the code of the qxmap130 row (icod).
enum Slot : size_t {
  kSelect = 0,   // S: the select text, written without a keyword
  kSelectDo,     // D
  kSelectEmpty,  // E
  kSelectError,  // O
  kSelectEos,    // F
  kEndSelect,    // X
  kSlotCount
};

constexpr const char* kKeywords[kSlotCount] = {
    "", "SelectDo", "SelectEmpty", "SelectError", "SelectEos", "EndSelect"};

// The slot of a section code; false for a code that is ignored.
bool SlotOfCode(const std::string& code, size_t* slot) {
  static constexpr char kCodes[kSlotCount + 1] = "SDEOFX";
  const std::string upper = vb::UCase(code);
  if (upper.size() != 1) return false;
  for (size_t i = 0; i < kSlotCount; ++i) {
    if (upper[0] == kCodes[i]) {
      *slot = i;
      return true;
    }
  }
  return false;
}

// One source table of the main query. The slots hold the texts escaped as
// read; the select text is also kept as read, for the formatter (see
// SelectText).
struct SourceSections {
  std::array<std::string, kSlotCount> slots;
  std::string select_as_read;
  std::string key;  // scpac + scmod + sflno
};

// The section table: one row per source table in the order met, at most
// migrate count + 1 of them. Touching a row past that is a subscript error:
// the table was always a fixed-size array of that many rows.
class SectionTable {
 public:
  explicit SectionTable(int migrate_count)
      : capacity_(static_cast<size_t>(
            std::max<int64_t>(0, int64_t{migrate_count} + 1))) {}

  SourceSections& Row(size_t index) {
    if (index >= capacity_) throw errors::SubscriptOutOfRange();
    if (index >= rows_.size()) rows_.resize(index + 1);
    return rows_[index];
  }
  const std::vector<SourceSections>& rows() const { return rows_; }

 private:
  size_t capacity_;
  std::vector<SourceSections> rows_;
};

std::string MainQuerySql(const ConversionObject& object) {
  return " select * from qxmap130" + MainQueryRowsCondition(object) +
         " order by scpac, scmod , sflno ";
}

VbError NoMainQuery(const ConversionObject& object) {
  return VbError(kNoMainQuery, kErrorSource,
                 "No Mainquery for the Table " + object.TableCode());
}

VbError NoProperMainQuery(const std::string& source_key,
                          const ConversionObject& object) {
  return VbError(kNoProperMainQuery, kErrorSource,
                 "No Proper Main query defined for the Source " + source_key +
                     " Target " + object.cpac + object.cmod + object.flno +
                     " combination.");
}

// Reads the rows into the section table. A new key moves to the next row,
// except while no key is current yet; a later row with the same key and code
// overwrites the earlier one.
SectionTable ReadSections(BuildContext& ctx, const ConversionObject& object) {
  repository::Recordset rs = ctx.Query(MainQuerySql(object));
  if (rs.Eof()) throw NoMainQuery(object);

  SectionTable table(ctx.doc.migrate_count);
  size_t index = 0;
  std::string current_key;
  for (; !rs.Eof(); rs.MoveNext()) {
    std::string key = rs.Fields("scpac").ToTextOrEmpty() +
                      rs.Fields("scmod").ToTextOrEmpty() +
                      rs.Fields("sflno").ToTextOrEmpty();
    if (key != current_key && !current_key.empty()) {
      table.Row(index).key = current_key;
      ++index;
    }
    current_key = std::move(key);

    const std::string query = rs.Fields("qury").ToText();
    const std::string stored = EscapeThreeEntities(query);
    size_t slot = 0;
    if (!SlotOfCode(rs.Fields("icod").ToText(), &slot)) continue;
    if (slot == kSelect && stored.empty()) {
      throw NoProperMainQuery(current_key, object);
    }
    SourceSections& row = table.Row(index);
    row.slots[slot] = stored;
    if (slot == kSelect) row.select_as_read = query;
  }
  table.Row(index).key = current_key;
  rs.Close();
  return table;
}

// The select text as written, before its second escaping. With a split
// condition for the source table the text is formatted and the condition
// goes into its where-clause. The formatter escapes what it formats and sets
// the characters & < > apart by blanks, so it is given the text as read: fed
// the escaped text it would break every entity in two ("&amp; lt;"), and a
// comparison would reach the downstream generator as garbage. Given the text
// as read, a split select text is escaped exactly as often as any other.
bool SelectText(BuildContext& ctx, const SourceSections& source,
                std::string* select) {
  const std::string* condition =
      ctx.doc.split_conditions.Find(vb::UCase(source.key));
  if (condition == nullptr || condition->empty()) {
    *select = source.slots[kSelect];
    return true;
  }
  std::string formatted;
  if (!Format_String(ctx, source.select_as_read, &formatted)) return false;
  *select = InsertSplitCondition(formatted, *condition);
  return true;
}

// The sections after the select text, each under its keyword; every element
// ends with an EndSelect, whether the repository holds one or not.
std::string SectionBody(const SourceSections& source) {
  std::string body;
  for (size_t slot = kSelectDo; slot < kSlotCount; ++slot) {
    if (vb::IsBlank(source.slots[slot])) continue;
    body += std::string(vb::kCrLf) + kKeywords[slot] + vb::kCrLf +
            source.slots[slot];
  }
  if (vb::IsBlank(source.slots[kEndSelect])) {
    body += std::string(vb::kCrLf) + kKeywords[kEndSelect] + vb::kCrLf;
  }
  return body;
}

// One source element. A source table without a select text gives an empty
// element and none of its other sections.
bool AppendSourceElement(BuildContext& ctx, const ConversionObject& object,
                         const SourceSections& source, std::string* out) {
  std::string element = "<" + source.key + ">" + vb::kCrLf;
  if (!source.slots[kSelect].empty()) {
    std::string select;
    if (!SelectText(ctx, source, &select)) return false;
    element += vb::kCrLf + EscapeThreeEntities(select);

    std::string body;
    if (!Replace_Empty_Default_Target(ctx, object.sapp, object.tapp,
                                      SectionBody(source), &body)) {
      return false;
    }
    element += EscapeThreeEntities(body) + vb::kCrLf;
  }
  element += "</" + source.key + ">" + vb::kCrLf;
  *out += element;
  return true;
}

}  // namespace

bool Construct_MainQuery_Tag(BuildContext& ctx, const ConversionObject& object,
                             std::string* text) {
  text->clear();
  if (ctx.doc.migrate_count == -1) return true;
  return ReportingFailures(ctx.reporter(), [&] {
    const SectionTable table = ReadSections(ctx, object);
    std::string elements;
    for (const SourceSections& source : table.rows()) {
      if (!AppendSourceElement(ctx, object, source, &elements)) return false;
    }
    *text = std::move(elements);
    return true;
  });
}

}  // namespace mx::dd
