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
#include <cstring>

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"
#include "xml/escaping.h"

namespace mx {

namespace {

constexpr std::string_view kDictionaryOperators = "=!#><&*+):(-/?\\";
constexpr std::string_view kLegacyOperators = "=!#><*+()-/:?\\,";
constexpr std::string_view kCrLf = "\r\n";
// Each character of a set marked, for a test per character that costs one
// lookup (the passes test every character twice).
using CharTable = std::array<bool, 256>;

constexpr CharTable MakeCharTable(std::string_view chars) {
  CharTable table{};
  for (char c : chars) table[static_cast<unsigned char>(c)] = true;
  return table;
}

constexpr CharTable kDictionaryOperatorTable =
    MakeCharTable(kDictionaryOperators);
constexpr CharTable kLegacyOperatorTable = MakeCharTable(kLegacyOperators);
// What the legacy formatter replaces before its passes, and what it escapes
// after them.
constexpr CharTable kLegacyPrepared = MakeCharTable("|\t&");
constexpr CharTable kXmlSpecial = MakeCharTable("&<>\"");

bool HasAnyOf(std::string_view s, const CharTable& chars) {
  for (char c : s) {
    if (chars[static_cast<unsigned char>(c)]) return true;
  }
  return false;
}

// Stands for one line break while the line breaks are normalised.
constexpr std::string_view kBreakMarker = "!~!";

VbError ClosingQuoteMissing() {
  return VbError(124, "XML Generation", "Closing double quotes missing.");
}

bool IsCrLfAt(std::string_view s, size_t i) {
  return i + 1 < s.size() && s[i] == '\r' && s[i + 1] == '\n';
}

// The text a pass builds, of at most `bound` characters: written through a
// pointer, without push_back's test of the capacity for every character
// (the passes run over every rule of every document).
class PassText {
 public:
  explicit PassText(size_t bound) : text_(bound, '\0'), end_(text_.data()) {}
  PassText(const PassText&) = delete;
  PassText& operator=(const PassText&) = delete;

  void Put(char c) { *end_++ = c; }
  void Put(std::string_view s) {
    std::memcpy(end_, s.data(), s.size());
    end_ += s.size();
  }
  bool EndsWith(std::string_view tail) const {
    const auto size = static_cast<size_t>(end_ - text_.data());
    return size >= tail.size() &&
           std::memcmp(end_ - tail.size(), tail.data(), tail.size()) == 0;
  }
  void DropLast(size_t n) { end_ -= n; }
  std::string Take() {
    text_.resize(static_cast<size_t>(end_ - text_.data()));
    return std::move(text_);
  }

 private:
  std::string text_;
  char* end_;
};

// Replaces every `find` in `s`; a text without one is left alone rather
// than copied (most of the formatter's replacements find nothing in most
// texts).
void ReplaceAll(std::string* s, std::string_view find, std::string_view with) {
  if (s->find(find) == std::string::npos) return;
  *s = vb::Replace(*s, find, with);
}

bool IsLineBreakChar(char c) { return c == '\r' || c == '\n'; }

// Each run of line breaks (CR or LF) as one " \r\n ": what marking every
// break, collapsing repeated markers and replacing the marker give, for a
// text without "!" (no marker can then form across a break and its
// neighbours).
std::string JoinLineBreakRuns(std::string_view s) {
  PassText out(4 * s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (!IsLineBreakChar(s[i])) {
      out.Put(s[i]);
      continue;
    }
    while (i + 1 < s.size() && IsLineBreakChar(s[i + 1])) ++i;
    out.Put(" \r\n ");
  }
  return out.Take();
}

// LF, then CR, each becomes the marker (so CR LF becomes two markers).
std::string MarkLineBreaks(std::string_view s) {
  PassText out(kBreakMarker.size() * s.size());
  for (char c : s) {
    if (IsLineBreakChar(c)) {
      out.Put(kBreakMarker);
    } else {
      out.Put(c);
    }
  }
  return out.Take();
}

// The fixed point of "replace every `unit` + `unit` by `unit`, again and
// again". Both units used here ("!~!" and CR LF) reduce to the same text
// whatever the order of the replacements, so one scan that keeps its output
// reduced gives the text the repeated replacement ends with.
std::string CollapseRepeats(std::string_view s, std::string_view unit) {
  const std::string doubled = std::string(unit) + std::string(unit);
  PassText out(s.size());
  for (char c : s) {
    out.Put(c);
    if (c == doubled.back() && out.EndsWith(doubled)) out.DropLast(unit.size());
  }
  return out.Take();
}

// The fixed point of "replace every CR LF + blank by CR LF": every run of
// blanks after a line break goes.
std::string DropBlanksAfterLineBreaks(std::string_view s) {
  PassText out(s.size());
  for (char c : s) {
    if (c == ' ' && out.EndsWith(kCrLf)) continue;
    out.Put(c);
  }
  return out.Take();
}

// One round of "replace every CR LF + blank by CR LF", left to right: a line
// that starts with several blanks keeps all but one.
std::string DropOneBlankAfterLineBreaks(std::string_view s) {
  PassText out(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    out.Put(s[i]);
    if (i + 2 < s.size() && s[i] == '\r' && s[i + 1] == '\n' &&
        s[i + 2] == ' ') {
      out.Put('\n');
      i += 2;
    }
  }
  return out.Take();
}

// Every CR LF as " " CR LF " ".
std::string WidenLineBreaks(std::string_view s) {
  PassText out(2 * s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (IsCrLfAt(s, i)) {
      out.Put(" \r\n ");
      ++i;
    } else {
      out.Put(s[i]);
    }
  }
  return out.Take();
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
  PassText t(2 * s.size());
  char previous = ' ';
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      size_t end = QuotedRunEnd(kind, s, i);
      if (end == std::string_view::npos) throw ClosingQuoteMissing();
      t.Put(s.substr(i, end - i + 1));
      i = end;
    } else if (c == ' ') {
      if (i + 1 < s.size() && s[i + 1] == ' ') ++i;
      t.Put(c);
    } else {
      if (Is_Operator_Char(kind, c) && !Is_Operator_Char(kind, previous)) {
        t.Put(' ');
      }
      t.Put(c);
    }
    previous = c;
  }
  return t.Take();
}

// Legacy forward pass: a blank before an operator character that follows a
// non-operator. A quoted run goes up to the next double quote wherever it is;
// an unclosed one leaves the rest of the text alone. The last character is
// never looked at.
std::string LegacyForwardPass(std::string_view s) {
  const auto kind = GeneratorKind::kLegacy;
  PassText t(2 * s.size());
  char previous = ' ';
  size_t i = 0;
  for (; i + 1 < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      size_t end = QuotedRunEnd(kind, s, i);
      if (end == std::string_view::npos) break;
      t.Put(s.substr(i, end - i + 1));
      i = end;
    } else {
      if (Is_Operator_Char(kind, c) && !Is_Operator_Char(kind, previous)) {
        t.Put(' ');
      }
      t.Put(c);
    }
    previous = c;
  }
  if (i < s.size()) t.Put(s.substr(i));
  return t.Take();
}

// The backward pass of both classes: a blank after an operator character
// whose right-hand neighbour is not an operator. The first character is
// never looked at. Quoted runs are skipped whole; they are found by the same
// rule as in the forward pass, which copied them unchanged, so the pass sees
// exactly the runs the forward pass saw and quoted text is never changed.
std::string BackwardPass(GeneratorKind kind, std::string_view s) {
  PassText t(2 * s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      size_t end = QuotedRunEnd(kind, s, i);
      if (end == std::string_view::npos) {
        if (kind == GeneratorKind::kDataDictionary) throw ClosingQuoteMissing();
        end = s.size() - 1;
      }
      t.Put(s.substr(i, end - i + 1));
      i = end;
      continue;
    }
    t.Put(c);
    char right = i + 1 < s.size() ? s[i + 1] : ' ';
    if (i > 0 && Is_Operator_Char(kind, c) && !Is_Operator_Char(kind, right)) {
      t.Put(' ');
    }
  }
  return t.Take();
}

// Everything before the last line break; the whole text when it has none.
std::string BeforeLastLineBreak(const std::string& s) {
  size_t last = s.rfind(kCrLf);
  return last == std::string::npos ? s : s.substr(0, last);
}

}  // namespace

bool Is_Operator_Char(GeneratorKind kind, char c) {
  const CharTable& operators = kind == GeneratorKind::kDataDictionary
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
  s = WidenLineBreaks(s);
  return BeforeLastLineBreak(EscapeThreeEntities(s));
}

std::string FormatStringLegacy(std::string_view input) {
  std::string s;
  s.reserve(input.size() + 6);
  s.append(" ").append(input).append("\r\n \r\n");
  // Most rules hold none of "|", TAB and "&": one scan spares them the
  // searches of the five replacements below.
  if (HasAnyOf(input, kLegacyPrepared)) {
    ReplaceAll(&s, "|", " | ");
    ReplaceAll(&s, "\t", " \t ");
    // Texts from the repository may arrive escaped already; undo that so
    // that the entities are not escaped twice. "&gt;" is left as it is.
    // Neither the entities nor their characters hold a line break or "!",
    // so this may come before the line breaks are marked.
    ReplaceAll(&s, "&quot;", "\"");
    ReplaceAll(&s, "&amp;", "&");
    ReplaceAll(&s, "&lt;", "<");
  }
  if (s.find('!') == std::string::npos) {
    s = JoinLineBreakRuns(s);
  } else {
    s = MarkLineBreaks(s);
    s = vb::Replace(CollapseRepeats(s, kBreakMarker), kBreakMarker, " \r\n ");
  }
  s = LegacyForwardPass(s);
  s = BackwardPass(GeneratorKind::kLegacy, s);
  s = DropOneBlankAfterLineBreaks(s);
  if (vb::Contains(s, "\r\n\r\n")) s = vb::Trim(CollapseRepeats(s, kCrLf));
  s = WidenLineBreaks(s);
  std::string out = std::move(s);
  out.resize(out.size() >= 3 ? out.size() - 3 : 0);
  if (out.find(". *") != std::string::npos) {
    ReplaceAll(&out, ". *,", ".* ,");
    ReplaceAll(&out, ". *", ".*");
  }
  if (HasAnyOf(out, kXmlSpecial)) {
    out = Escape_XML_Text(out);
    // Joins an entity whose "&" a blank separated from its name. Escaping
    // leaves no bare "&" behind, so as things stand this changes nothing.
    ReplaceAll(&out, "& quot;", "&quot;");
    ReplaceAll(&out, "& amp;", "&amp;");
    ReplaceAll(&out, "& lt;", "&lt;");
    ReplaceAll(&out, "& gt;", "&gt;");
  }
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
