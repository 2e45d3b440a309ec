#include "xml/legacy_query.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "repository/recordset.h"
#include "repository/sql_value.h"
#include "xml/format_string.h"

namespace mx::legacy {

namespace {

using repository::SqlValue;

constexpr char kErrorSource[] = "XMLGeneration";
constexpr int32_t kRewriteFailed = 125;

// The double quote as the legacy formatter leaves it.
constexpr std::string_view kQuoteEntity = "&quot;";
// Inside Convert_Legacy_Query: the double quote, and a period inside a string
// literal, so that no step takes the literal for a field reference.
constexpr std::string_view kQuoteMarker = "@@@";
constexpr std::string_view kLiteralPeriod = "~~~";

using Words = std::vector<std::string>;

VbError RewriteFailed() { return VbError(kRewriteFailed, kErrorSource, ""); }

// A select item whose expansion finds no field would leave a select list with
// a hole in it ("select  from cust"); the statement is refused instead.
VbError NothingToExpand(const std::string& item, const std::string& names,
                        const std::string& application) {
  return VbError(kRewriteFailed, kErrorSource,
                 "Nothing to put in place of " + item +
                     ": qxlgy150 has no fields of '" + names +
                     "' for the application " + vb::Trim(application));
}

size_t CountOf(std::string_view text, std::string_view find) {
  size_t count = 0;
  for (size_t at = text.find(find); at != std::string_view::npos;
       at = text.find(find, at + find.size())) {
    ++count;
  }
  return count;
}

// The legacy formatter cannot fail, so formatting never raises error 125.
Words FormattedWords(const std::string& text) {
  return vb::Split(FormatStringLegacy(text), " ");
}

bool OpensLiteral(const std::string& word) {
  return CountOf(word, kQuoteEntity) == 1;
}

// Copies the literal that opens at words[first]: every word up to and
// including the next one holding the quote entity, or to the end of the
// text. Returns the index of the last word copied.
size_t CopyLiteral(const Words& words, size_t first, std::string* out) {
  size_t i = first;
  out->append(words[i]).push_back(' ');
  while (i + 1 < words.size()) {
    ++i;
    out->append(words[i]).push_back(' ');
    if (vb::Contains(words[i], kQuoteEntity)) break;
  }
  return i;
}

// Periods become underscores and dollar signs go.
std::string UnderscoreName(std::string_view word) {
  std::string name;
  name.reserve(word.size());
  for (char c : word) {
    if (c == '.') {
      name.push_back('_');
    } else if (c != '$') {
      name.push_back(c);
    }
  }
  return name;
}

// `text` starts with `prefix`, in any case.
bool StartsWithText(std::string_view text, std::string_view prefix) {
  return vb::EqualText(text.substr(0, prefix.size()), prefix);
}

// A section word holding a period and opening no literal.
std::string TranslateSectionReference(const std::string& word) {
  if (CountOf(word, kQuoteEntity) >= 2) return word;
  if (StartsWithText(word, "var.") || StartsWithText(word, "get.code")) {
    return vb::Replace(word, ".", "_");
  }
  if (vb::IsNumeric(word)) return word;
  return UnderscoreName(word);
}

bool IsSectionKeyword(std::string_view word) {
  return vb::EqualText(word, "selectdo") ||
         vb::EqualText(word, "selectempty") ||
         vb::EqualText(word, "selecteos") ||
         vb::EqualText(word, "selecterror") || vb::EqualText(word, "endselect");
}

bool StartsEmbeddedSelect(const Words& words, size_t i) {
  if (!vb::EqualText(words[i], "select")) return false;
  if (i + 1 < words.size() && vb::EqualText(words[i + 1], "case")) return false;
  if (i > 0 && vb::EqualText(words[i - 1], "end")) return false;
  return true;
}

// Translates the select statement that starts at words[first] and appends
// it with the section keyword that ends it. Returns the keyword's index; a
// statement that the text ends first is a subscript error.
//
// The keyword gets no blank of its own: on its own line it is followed by
// the empty word before the line break, which gives the blank. A word on the
// keyword's line would be glued to it ("selectdox"), so it gets the blank.
size_t AppendEmbeddedSelect(BuildContext& ctx, const Words& words, size_t first,
                            const std::string& application, std::string* out) {
  std::string statement;
  size_t i = first;
  for (; i < words.size() && !IsSectionKeyword(words[i]); ++i) {
    statement.append(words[i]).push_back(' ');
  }
  if (i == words.size()) throw errors::SubscriptOutOfRange();
  std::string translated;
  if (!Convert_Legacy_Query(ctx, statement, application, &translated)) {
    throw RewriteFailed();
  }
  *out += translated + " " + words[i];
  if (i + 1 < words.size() && !words[i + 1].empty()) *out += " ";
  return i;
}

std::string TranslateSection(BuildContext& ctx, const std::string& section,
                             const std::string& application) {
  const Words words = FormattedWords(section);
  std::string out;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (OpensLiteral(word)) {
      i = CopyLiteral(words, i, &out);
    } else if (vb::Contains(word, ".")) {
      out.append(TranslateSectionReference(word)).push_back(' ');
    } else if (StartsEmbeddedSelect(words, i)) {
      i = AppendEmbeddedSelect(ctx, words, i, application, &out);
    } else {
      out.append(word).push_back(' ');
    }
  }
  return out;
}

// Select statements.

// The quote entity becomes the marker, and every period between an odd and
// the following even marker (inside a literal) becomes kLiteralPeriod.
std::string ProtectLiterals(const std::string& formatted) {
  const Words pieces = vb::Split(
      vb::Replace(formatted, kQuoteEntity, kQuoteMarker), kQuoteMarker);
  if (pieces.empty()) return std::string();
  std::string text = pieces[0];
  for (size_t k = 1; k < pieces.size(); ++k) {
    text += std::string(kQuoteMarker);
    text +=
        k % 2 == 1 ? vb::Replace(pieces[k], ".", kLiteralPeriod) : pieces[k];
  }
  return text;
}

// What the from clause names: the tables concatenated as written (commas
// included) and the text files as "[name#ext],".
struct FromClause {
  std::string tables;
  std::string files;

  bool IsFileQuery() const {
    return vb::Contains(files, "#txt") || vb::Contains(files, "#csv");
  }
  // The names the statement reads, joined by ",".
  std::string NameList() const {
    const std::string& list = IsFileQuery() ? files : tables;
    return vb::Replace(vb::Replace(vb::Replace(list, "[", ""), "]", ""), "#",
                       ".");
  }
};

bool EndsFromClause(std::string_view word) {
  for (std::string_view keyword :
       {"select", "where", "group", "order", "selectdo", "selectempty",
        "selecterror", "endselect"}) {
    if (vb::EqualText(word, keyword)) return true;
  }
  return false;
}

bool IsLineBreakWord(const std::string& word) {
  return word == "\r\n" || word == "\t" || word == "\r" || word == "\n";
}

// Reads the from clauses; on the way, a line-break word becomes a blank and
// a text-file name its bracketed form.
FromClause ReadFromClauses(Words* words) {
  FromClause from;
  bool in_from = false;
  for (std::string& word : *words) {
    if (vb::EqualText(word, "from")) {
      in_from = true;
    } else if (EndsFromClause(word)) {
      in_from = false;
    } else if (IsLineBreakWord(word)) {
      word = " ";
    } else if (in_from) {
      if (!vb::Contains(word, ".txt") && !vb::Contains(word, ".csv")) {
        from.tables += word;
      } else {
        word = "[" + vb::Replace(word, ".", "#") + "]";
        from.files += word + ",";
      }
    }
  }
  return from;
}

// The rows of a one-column field query, each followed by ",".
std::string FieldRows(BuildContext& ctx, const std::string& sql) {
  repository::Recordset rs = ctx.Query(sql);
  if (rs.Eof()) return std::string();
  std::string rows = rs.GetString("\t", ",", "");
  rs.Close();
  return rows;
}

std::string DropFinalComma(std::string list) {
  if (!list.empty() && list.back() == ',') list.pop_back();
  return list;
}

// The fields of one from-clause name, for a select list "*".
std::string AllFieldsSql(bool file_query, const std::string& name,
                         const std::string& application) {
  const std::string where = " where  appl='" + SqlValue(application) + "'" +
                            " and  flno = '" + SqlValue(name) + "'";
  if (file_query) {
    const size_t period = vb::InStr(name, ".");
    const std::string file = period == 0 ? name : vb::Left(name, period - 1);
    return " select  '" + SqlValue(file) +
           "' + '_' + Replace(flna,'$','')  from qxlgy150 " + where;
  }
  return " select  '" + SqlValue(name) + "' + '.' +  flna  + '  as ' + '" +
         SqlValue(name) + "' + '_' + Replace(flna,'$','')   from qxlgy150 " +
         where;
}

// The fields of a qualifier, for a select item "qualifier.*".
std::string QualifierFieldsSql(bool file_query, const std::string& qualifier,
                               const std::string& application) {
  const std::string q = SqlValue(qualifier);
  const std::string appl = " where  appl='" + SqlValue(application) + "'";
  if (file_query) {
    return " select  '" + q + "' + '_' + Replace(flna,'$','') from qxlgy150 " +
           appl + " and   flno in('" + q + ".txt'," + "'" + q +
           ".csv') order by seqn";
  }
  return " select  '" + q + "' + '.' +  flna  + '  as ' + '" + q +
         "' + '_' + Replace(flna,'$','')  from qxlgy150 " + appl +
         " and  UPPER(flno) = UPPER('" + q + "')";
}

// What the words of one statement are translated against.
struct Statement {
  BuildContext& ctx;
  const std::string& application;
  bool file_query;
  std::string names;  // NameList of the from clause
};

std::string ExpandAll(const Statement& s, const std::string& word) {
  std::string fields;
  for (const std::string& name : vb::Split(s.names, ",")) {
    if (vb::IsBlank(name)) continue;
    fields += FieldRows(s.ctx, AllFieldsSql(s.file_query, name, s.application));
  }
  if (fields.empty()) {
    throw NothingToExpand(word, DropFinalComma(s.names), s.application);
  }
  return DropFinalComma(std::move(fields));
}

std::string ExpandQualifier(const Statement& s, const std::string& word,
                            const std::string& qualifier) {
  const std::string fields = FieldRows(
      s.ctx, QualifierFieldsSql(s.file_query, qualifier, s.application));
  if (fields.empty()) throw NothingToExpand(word, qualifier, s.application);
  return DropFinalComma(fields);
}

// A word holding a period and no "*".
std::string TranslateFieldReference(const Statement& s,
                                    const std::string& word) {
  // A number such as 1.5 is not a field reference.
  if (vb::IsNumeric(word)) return word;
  if (StartsWithText(word, "var.")) return UnderscoreName(word);
  const std::string qualifier = vb::Left(word, vb::InStr(word, ".") - 1);
  if (vb::Contains(s.names, qualifier)) {
    return s.file_query ? vb::Replace(word, ".", "_") : word;
  }
  // The answer changes nothing; a lookup that fails fails the statement.
  Is_Text_Or_Datetime_Field(s.ctx, s.application, word);
  return UnderscoreName(word);
}

std::string TranslateQueryWord(const Statement& s, const std::string& word) {
  if (!word.empty() && word[0] == '*') return ExpandAll(s, word);
  // Only "qualifier.*" is an item to expand; any other "*" after the first
  // position (a pattern such as "A*" in a literal) stays as written.
  const size_t qualified_star = vb::InStr(word, ".*");
  if (qualified_star > 1) {
    return ExpandQualifier(s, word, vb::Left(word, qualified_star - 1));
  }
  if (vb::Contains(word, "*")) return word;
  if (vb::Contains(word, ".")) return TranslateFieldReference(s, word);
  return word;
}

// Every plain item of the select list of a table query gets an alias: the
// item with its periods turned into underscores. Items with " as " or
// "var." keep their form. A statement without " select " ... " from " has no
// select list and is left as it is.
std::string AliasSelectList(const std::string& text) {
  const std::string padded = " " + text + " ";
  const std::string lower = vb::LCase(padded);
  const size_t select = lower.find(" select ");
  const size_t from = lower.find(" from ");
  constexpr size_t kSelectLength = 8;  // " select "
  if (select == std::string::npos || from == std::string::npos ||
      from < select + kSelectLength) {
    return text;
  }
  std::string list =
      padded.substr(select + kSelectLength, from - select - kSelectLength);
  list = vb::Replace(vb::Replace(list, "\r\n", " "), "\t", " ");
  std::string aliased;
  for (const std::string& item : vb::Split(list, ",")) {
    const std::string item_lower = vb::LCase(item);
    if (vb::Contains(item_lower, " as ") || vb::Contains(item_lower, "var.")) {
      aliased += item + ",";
    } else {
      aliased += item + " as " + vb::Replace(item, ".", "_") + ",";
    }
  }
  // `from` counts the leading pad blank: text[from - 1] is the blank before
  // "from".
  return "select " + DropFinalComma(std::move(aliased)) + " " +
         text.substr(from - 1);
}

std::string TranslateQuery(BuildContext& ctx, const std::string& statement,
                           const std::string& application) {
  Words words = vb::Split(ProtectLiterals(FormatStringLegacy(statement)), " ");
  const FromClause from = ReadFromClauses(&words);
  const Statement s{ctx, application, from.IsFileQuery(), from.NameList()};
  std::string out;
  for (const std::string& word : words) {
    out.append(TranslateQueryWord(s, word)).push_back(' ');
  }
  if (!s.file_query) out = AliasSelectList(out);
  return vb::Replace(out, kLiteralPeriod, ".");
}

template <typename Translate>
bool Translated(BuildContext& ctx, std::string* output, Translate&& translate) {
  output->clear();
  try {
    *output = translate();
    return true;
  } catch (const VbError& e) {
    ctx.ReportOperationError(e);
    return false;
  }
}

}  // namespace

bool Convert_Select_Section(BuildContext& ctx, const std::string& section,
                            const std::string& application,
                            std::string* output) {
  return Translated(
      ctx, output, [&] { return TranslateSection(ctx, section, application); });
}

bool Convert_Legacy_Query(BuildContext& ctx, const std::string& statement,
                          const std::string& application, std::string* output) {
  return Translated(
      ctx, output, [&] { return TranslateQuery(ctx, statement, application); });
}

bool Is_Text_Or_Datetime_Field(BuildContext& ctx,
                               const std::string& application,
                               const std::string& field) {
  std::string joined = field;
  for (const char* removed : {"\r", "\n", "\t", "."}) {
    joined = vb::Replace(joined, removed, "");
  }
  repository::Recordset rs = ctx.Query(
      "select dtyp from qxlgy150 where appl ='" + SqlValue(application) + "'" +
      " and flno + flna ='" + SqlValue(joined) + "'");
  if (rs.Eof()) return false;
  const std::string type = vb::UCase(rs.Fields("dtyp").ToText());
  rs.Close();
  return type == "U" || type == "T";
}

}  // namespace mx::legacy
