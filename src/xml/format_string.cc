// The query formatter of the main-query builders. Each class lays a query out
// one clause per line, with blanks around operator characters, and escapes
// the result for element content; the two classes differ in their operator
// sets, in how they treat quotes and line breaks, and in the escaping.
//
// Every pass builds a new text instead of inserting into the old one, and the
// "repeat until none is left" steps are computed in one scan (see the helpers
// below), so formatting stays linear in the length of the query.
#include "xml/format_string.h"

#include <array>

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "xml/escaping.h"

namespace mx {

namespace {

constexpr std::string_view kDictionaryOperators = "=!#><&*+):(-/?\\";
constexpr std::string_view kLegacyOperators = "=!#><*+()-/:?\\,";
constexpr std::string_view kCrLf = "\r\n";
// Each character of an operator set marked, for a test per character that
// costs one lookup (the passes test every character twice).
using OperatorTable = std::array<bool, 256>;

constexpr OperatorTable MakeOperatorTable(std::string_view operators) {
  OperatorTable table{};
  for (char c : operators) table[static_cast<unsigned char>(c)] = true;
  return table;
}

constexpr OperatorTable kDictionaryOperatorTable =
    MakeOperatorTable(kDictionaryOperators);
constexpr OperatorTable kLegacyOperatorTable =
    MakeOperatorTable(kLegacyOperators);

// Stands for one line break while the line breaks are normalised.
constexpr std::string_view kBreakMarker = "!~!";

VbError ClosingQuoteMissing() {
  return VbError(124, "XML Generation", "Closing double quotes missing.");
}

bool IsCrLfAt(std::string_view s, size_t i) {
  return i + 1 < s.size() && s[i] == '\r' && s[i + 1] == '\n';
}

bool EndsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() &&
         s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Replaces every `find` in `s`; a text without one is left alone rather
// than copied (most of the formatter's replacements find nothing in most
// texts).
void ReplaceAll(std::string* s, std::string_view find, std::string_view with) {
  if (s->find(find) == std::string::npos) return;
  *s = vb::Replace(*s, find, with);
}

// Each run of line breaks (CR or LF) as one " \r\n ": what marking every
// break, collapsing repeated markers and replacing the marker give, for a
// text without "!" (no marker can then form across a break and its
// neighbours).
std::string JoinLineBreakRuns(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 8);
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\r' && s[i] != '\n') {
      out.push_back(s[i]);
      continue;
    }
    while (i + 1 < s.size() && (s[i + 1] == '\r' || s[i + 1] == '\n')) ++i;
    out.append(" \r\n ");
  }
  return out;
}

// LF, then CR, each becomes the marker (so CR LF becomes two markers).
std::string MarkLineBreaks(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 8);
  for (char c : s) {
    if (c == '\n' || c == '\r') {
      out.append(kBreakMarker);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// The fixed point of "replace every `unit` + `unit` by `unit`, again and
// again". Both units used here ("!~!" and CR LF) reduce to the same text
// whatever the order of the replacements, so one scan that keeps its output
// reduced gives the text the repeated replacement ends with.
std::string CollapseRepeats(std::string_view s, std::string_view unit) {
  std::string doubled = std::string(unit) + std::string(unit);
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    out.push_back(c);
    if (c == doubled.back() && EndsWith(out, doubled)) {
      out.resize(out.size() - unit.size());
    }
  }
  return out;
}

// The fixed point of "replace every CR LF + blank by CR LF": every run of
// blanks after a line break goes.
std::string DropBlanksAfterLineBreaks(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == ' ' && EndsWith(out, kCrLf)) continue;
    out.push_back(c);
  }
  return out;
}

// The index of the last character of the quoted run that starts with the
// double quote at `open`, or npos when the run is not closed. The
// data-dictionary class ends a run at the next double quote or at the CR of
// the next line break (so an unbalanced quote quotes only the rest of its
// line); the legacy class only at the next double quote.
size_t QuotedRunEnd(GeneratorKind kind, std::string_view s, size_t open) {
  for (size_t j = open + 1; j < s.size(); ++j) {
    if (s[j] == '"') return j;
    if (kind == GeneratorKind::kDataDictionary && IsCrLfAt(s, j)) return j;
  }
  return std::string_view::npos;
}

// Data-dictionary forward pass: a blank before an operator character that
// follows a non-operator, two blanks in a row become one (three become two:
// the pass looks one character ahead only), quoted runs are copied as they
// are.
std::string DictionaryForwardPass(std::string_view s) {
  const auto kind = GeneratorKind::kDataDictionary;
  std::string t;
  t.reserve(s.size() + s.size() / 4);
  char previous = ' ';
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      size_t end = QuotedRunEnd(kind, s, i);
      if (end == std::string_view::npos) throw ClosingQuoteMissing();
      t.append(s.substr(i, end - i + 1));
      i = end;
    } else if (c == ' ') {
      if (i + 1 < s.size() && s[i + 1] == ' ') ++i;
      t.push_back(c);
    } else {
      if (Is_Operator_Char(kind, c) && !Is_Operator_Char(kind, previous)) {
        t.push_back(' ');
      }
      t.push_back(c);
    }
    previous = c;
  }
  return t;
}

// Legacy forward pass: a blank before an operator character that follows a
// non-operator. A quoted run goes up to the next double quote wherever it is;
// an unclosed one leaves the rest of the text alone. The last character is
// never looked at.
std::string LegacyForwardPass(std::string_view s) {
  const auto kind = GeneratorKind::kLegacy;
  std::string t;
  t.reserve(s.size() + s.size() / 4);
  char previous = ' ';
  size_t i = 0;
  for (; i + 1 < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      size_t end = QuotedRunEnd(kind, s, i);
      if (end == std::string_view::npos) break;
      t.append(s.substr(i, end - i + 1));
      i = end;
    } else {
      if (Is_Operator_Char(kind, c) && !Is_Operator_Char(kind, previous)) {
        t.push_back(' ');
      }
      t.push_back(c);
    }
    previous = c;
  }
  if (i < s.size()) t.append(s.substr(i));
  return t;
}

// The backward pass of both classes: a blank after an operator character
// whose right-hand neighbour is not an operator. The first character is
// never looked at. Quoted runs are skipped whole; they are found by the same
// rule as in the forward pass, which copied them unchanged, so the pass sees
// exactly the runs the forward pass saw and quoted text is never changed.
std::string BackwardPass(GeneratorKind kind, std::string_view s) {
  std::string t;
  t.reserve(s.size() + s.size() / 4);
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      size_t end = QuotedRunEnd(kind, s, i);
      if (end == std::string_view::npos) {
        if (kind == GeneratorKind::kDataDictionary) throw ClosingQuoteMissing();
        end = s.size() - 1;
      }
      t.append(s.substr(i, end - i + 1));
      i = end;
      continue;
    }
    t.push_back(c);
    char right = i + 1 < s.size() ? s[i + 1] : ' ';
    if (i > 0 && Is_Operator_Char(kind, c) && !Is_Operator_Char(kind, right)) {
      t.push_back(' ');
    }
  }
  return t;
}

// Everything before the last line break; the whole text when it has none.
std::string BeforeLastLineBreak(const std::string& s) {
  size_t last = s.rfind(kCrLf);
  return last == std::string::npos ? s : s.substr(0, last);
}

}  // namespace

bool Is_Operator_Char(GeneratorKind kind, char c) {
  const OperatorTable& operators = kind == GeneratorKind::kDataDictionary
                                       ? kDictionaryOperatorTable
                                       : kLegacyOperatorTable;
  return operators[static_cast<unsigned char>(c)];
}

std::string FormatStringDictionary(std::string_view input) {
  std::string s = " " + std::string(input) + " " + std::string(kCrLf);
  ReplaceAll(&s, "\t", " \t ");
  s = vb::Replace(MarkLineBreaks(s), kBreakMarker, " \r\n ");
  s = DictionaryForwardPass(s);
  s = BackwardPass(GeneratorKind::kDataDictionary, s);
  ReplaceAll(&s, ". *", ".*");
  // Each of the two loops trims the text after every round, so the trim
  // happens only when the loop runs at all.
  if (vb::Contains(s, "\r\n ")) s = vb::Trim(DropBlanksAfterLineBreaks(s));
  if (vb::Contains(s, "\r\n\r\n")) s = vb::Trim(CollapseRepeats(s, kCrLf));
  s = vb::Replace(s, kCrLf, " \r\n ");
  return BeforeLastLineBreak(EscapeThreeEntities(s));
}

std::string FormatStringLegacy(std::string_view input) {
  std::string s;
  s.reserve(input.size() + 6);
  s.append(" ").append(input).append("\r\n \r\n");
  ReplaceAll(&s, "|", " | ");
  ReplaceAll(&s, "\t", " \t ");
  // Texts from the repository may arrive escaped already; undo that so that
  // the entities are not escaped twice. "&gt;" is left as it is. Neither the
  // entities nor their characters hold a line break or "!", so this may
  // come before the line breaks are marked.
  ReplaceAll(&s, "&quot;", "\"");
  ReplaceAll(&s, "&amp;", "&");
  ReplaceAll(&s, "&lt;", "<");
  if (s.find('!') == std::string::npos) {
    s = JoinLineBreakRuns(s);
  } else {
    s = MarkLineBreaks(s);
    s = vb::Replace(CollapseRepeats(s, kBreakMarker), kBreakMarker, " \r\n ");
  }
  s = LegacyForwardPass(s);
  s = BackwardPass(GeneratorKind::kLegacy, s);
  // One round only: a line that starts with several blanks keeps all but one.
  ReplaceAll(&s, "\r\n ", kCrLf);
  if (vb::Contains(s, "\r\n\r\n")) s = vb::Trim(CollapseRepeats(s, kCrLf));
  ReplaceAll(&s, kCrLf, " \r\n ");
  std::string out = std::move(s);
  out.resize(out.size() >= 3 ? out.size() - 3 : 0);
  ReplaceAll(&out, ". *,", ".* ,");
  ReplaceAll(&out, ". *", ".*");
  if (out.find_first_of("&<>\"") != std::string::npos) {
    out = Escape_XML_Text(out);
  }
  // Joins an entity whose "&" a blank separated from its name. Escaping
  // leaves no bare "&" behind, so as things stand this changes nothing.
  ReplaceAll(&out, "& quot;", "&quot;");
  ReplaceAll(&out, "& amp;", "&amp;");
  ReplaceAll(&out, "& lt;", "&lt;");
  ReplaceAll(&out, "& gt;", "&gt;");
  return out;
}

bool Format_String(BuildContext& ctx, const std::string& input,
                   std::string* output) {
  if (ctx.kind() == GeneratorKind::kLegacy) {
    *output = FormatStringLegacy(input);
    return true;
  }
  return ReportingFailures(ctx.reporter(), [&] {
    *output = FormatStringDictionary(input);
    return true;
  });
}

}  // namespace mx
