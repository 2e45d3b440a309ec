#include "dictionary/include_lines.h"

#include <algorithm>

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"

namespace mx::legacy {

namespace {

constexpr std::string_view kIncludeKeyword = "#include";
constexpr std::string_view kTableKeyword = "table";

// The characters that end an identifier; a table name may hold a full stop,
// so the second set lacks it.
constexpr std::string_view kIdentifierDelimiters =
    " ~!@#$%^&*()`?'\\|.,[]{}<>-\"\r\n\t";
constexpr std::string_view kTableNameDelimiters =
    " ~!@#$%^&*()`?'\\|,[]{}<>-\"\r\n\t";

bool IsOneOf(char c, std::string_view set) {
  return set.find(c) != std::string_view::npos;
}

// The character at a 1-based position.
char At(std::string_view text, size_t position) { return text[position - 1]; }

// The first position at or after `position` that holds neither a blank nor
// a TAB; one past the end when there is none.
size_t SkipBlanksAndTabs(std::string_view text, size_t position) {
  while (position <= text.size() &&
         (At(text, position) == ' ' || At(text, position) == '\t')) {
    ++position;
  }
  return position;
}

// The first position at or after `position` that holds one of `set`; one
// past the end when there is none.
size_t FindDelimiter(std::string_view text, size_t position,
                     std::string_view set) {
  while (position <= text.size() && !IsOneOf(At(text, position), set)) {
    ++position;
  }
  return position;
}

// A single quote between the start of the hit's line and the hit opens a
// comment that the hit lies in.
bool InComment(std::string_view text, size_t hit) {
  const size_t line_feed = hit > 1 ? vb::InStrRev(text, "\n", hit - 1) : 0;
  const std::string_view before_hit =
      text.substr(line_feed, hit - 1 - line_feed);
  return before_hit.find('\'') != std::string_view::npos;
}

bool IsWholeWord(std::string_view text, size_t hit, size_t length) {
  const size_t after = hit + length;
  return (hit == 1 || IsOneOf(At(text, hit - 1), kIdentifierDelimiters)) &&
         (after > text.size() ||
          IsOneOf(At(text, after), kIdentifierDelimiters));
}

// The text without the part from `keyword_at` to the line break at or after
// `from` (the line break stays); without its tail when no line break
// follows. The nearest line break counts, be it CR or LF, so that a line
// ending in LF alone never takes the lines up to a later CR with it.
std::string WithoutKeywordLine(std::string_view text, size_t keyword_at,
                               size_t from) {
  std::string out(text.substr(0, keyword_at - 1));
  if (from <= text.size()) {
    const size_t line_break = text.find_first_of("\r\n", from - 1);
    if (line_break != std::string_view::npos) {
      out.append(text.substr(line_break));
    }
  }
  return out;
}

VbError MissingName(const std::string& description) {
  return VbError(1000, "XML Generation", description);
}

// Takes every keyword line of *text in turn: reads its name with
// `read_name`, hands it to `take` and removes the line. A line without a
// name raises `missing`. The search for the next keyword starts where the
// removed one stood.
template <typename NameReader, typename Take>
void TakeKeywordLines(std::string* text, std::string_view keyword,
                      NameReader read_name, const VbError& missing, Take take) {
  size_t at = Find_Keyword(1, *text, keyword);
  while (at != 0) {
    size_t end = 0;
    const std::string name = read_name(at + keyword.size(), *text, &end);
    if (name.empty()) throw missing;
    take(name);
    *text = WithoutKeywordLine(*text, at, end);
    at = Find_Keyword(at, *text, keyword);
  }
}

void AppendToList(const std::string& entries, std::string* list) {
  if (vb::IsBlank(entries)) return;
  *list = vb::IsBlank(*list) ? entries : *list + " , " + entries;
}

}  // namespace

bool Is_Outside_String_Literal(std::string_view text) {
  return std::count(text.begin(), text.end(), '"') % 2 == 0;
}

size_t Find_Keyword(size_t start, std::string_view text,
                    std::string_view keyword) {
  size_t from = start;
  while (from <= text.size()) {
    const size_t hit = vb::InStrText(from, text, keyword);
    if (hit == 0) return 0;
    if (!InComment(text, hit) &&
        Is_Outside_String_Literal(text.substr(0, hit - 1)) &&
        IsWholeWord(text, hit, keyword.size())) {
      return hit;
    }
    from = hit + keyword.size() + 1;
  }
  return 0;
}

std::string Read_Include_Name(size_t start, std::string_view text,
                              size_t* end) {
  size_t at = SkipBlanksAndTabs(text, start);
  *end = at;
  if (at > text.size() || At(text, at) != '<') return "";
  const size_t name_start = SkipBlanksAndTabs(text, at + 1);
  const size_t name_end =
      FindDelimiter(text, name_start, kIdentifierDelimiters);
  at = SkipBlanksAndTabs(text, name_end);
  *end = at;
  if (at > text.size() || At(text, at) != '>') return "";
  return std::string(text.substr(name_start - 1, name_end - name_start));
}

std::string Read_Declared_Table_Name(size_t start, std::string_view text,
                                     size_t* end) {
  const size_t name_start = SkipBlanksAndTabs(text, start);
  const size_t name_end = FindDelimiter(text, name_start, kTableNameDelimiters);
  *end = name_end;
  if (name_end <= text.size() && !IsOneOf(At(text, name_end), " \r\n\t")) {
    return "";
  }
  return std::string(text.substr(name_start - 1, name_end - name_start));
}

std::string Extract_Table_Declarations(std::string* definition) {
  std::string text = *definition;
  std::string tables;
  TakeKeywordLines(&text, kTableKeyword, Read_Declared_Table_Name,
                   MissingName("Tablename missing in table declaration."),
                   [&](const std::string& name) {
                     tables += (tables.empty() ? "" : " , ") + name;
                   });
  *definition = std::move(text);
  return tables;
}

void Process_Include_Lines(FunctionLibrary& functions, std::string* text,
                           std::string* tables, std::string* collected) {
  std::string remaining = *text;
  std::string table_list = *tables;
  std::string definitions;
  TakeKeywordLines(
      &remaining, kIncludeKeyword, Read_Include_Name,
      MissingName("Function name missing"), [&](const std::string& name) {
        std::string declared;
        definitions += vb::kCrLf;
        definitions += functions.Get_Function_Definition(name, &declared);
        AppendToList(declared, &table_list);
      });
  *text = std::move(remaining);
  *tables = std::move(table_list);
  *collected = std::move(definitions);
}

}  // namespace mx::legacy
