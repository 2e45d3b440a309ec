// The steps of rule rewriting that both classes share.
//
// Both kinds of pass go through the text once from left to right: after a
// rewrite the search goes on behind the text just written, so a value that
// itself holds the keyword is never rewritten again, and a text with many
// occurrences costs one scan, not one copy per occurrence.
#include "rules/rule_passes.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "platform/vb_text.h"
#include "rules/rule_rewriting.h"

namespace mx::rules {

namespace {

constexpr size_t kNpos = std::string::npos;
constexpr std::string_view kTargetWord = "target";

VbError NotDeclared(const std::string& variable) {
  return VbError(999, "Get_EmptyValuesForVariables",
                 " Variable " + variable +
                     " Not declared. Please declare the variable in "
                     "Variable/include section of VEXA. ");
}

// The next position of one character at or after a position. The last answer
// is kept, so a series of searches from increasing positions reads the text
// once.
class NextChar {
 public:
  NextChar(std::string_view s, char c) : s_(s), c_(c) {}

  size_t From(size_t pos) {
    if (!searched_ || pos < from_ || (found_ != kNpos && found_ < pos)) {
      from_ = pos;
      found_ = s_.find(c_, pos);
      searched_ = true;
    }
    return found_;
  }

 private:
  std::string_view s_;
  char c_;
  bool searched_ = false;
  size_t from_ = 0;
  size_t found_ = kNpos;
};

// What a line says once comments and white space are gone.
struct WorkingLine {
  std::string stripped;       // no CR, LF, tab or blank
  bool assigns_call = false;  // holds the call form and an "="
};

// The empty/default pass over one text (keyword "empty" or "default").
//
// The text being rewritten is the rewritten part `done_` followed by the part
// of the input from `rest_` on, which no rewrite has touched yet; keyword
// searches always run in the untouched part. Positions named "text
// positions" are indexes into that whole.
class AssignmentPass {
 public:
  AssignmentPass(const std::string& input, bool empty_keyword,
                 const EmptyValueLookup& lookup)
      : lookup_(lookup),
        in_(input),
        lower_(vb::LCase(input)),
        keyword_(empty_keyword ? "empty" : "default"),
        call_form_(empty_keyword ? "empty()" : "default()"),
        next_line_feed_(in_, '\n'),
        next_bar_(in_, '|') {}

  std::string Run() {
    for (size_t p = lower_.find(keyword_); p != kNpos;) {
      p = Visit(p);
    }
    return WorkingText();
  }

  // The text as it now stands: the rewritten part and the untouched rest.
  std::string WorkingText() const {
    return done_ + std::string(in_.substr(rest_));
  }

 private:
  // Handles the keyword at input index `p`; returns where the next one is.
  size_t Visit(size_t p) {
    size_t start = LineStart(p);
    if (start != cached_start_ || generation_ != cached_generation_) {
      cached_line_ = ReadWorkingLine(start);
      cached_start_ = start;
      cached_generation_ = generation_;
    }
    if (cached_line_.assigns_call) {
      const std::string& line = cached_line_.stripped;
      std::string name = line.substr(0, line.find('='));
      std::string value;
      if (lookup_(name, &value)) {
        size_t line_end = Rewrite(start, p, name + " = " + value);
        return lower_.find(keyword_, line_end);
      }
    }
    return lower_.find(keyword_, p + 1);
  }

  size_t TextPosition(size_t input_index) const {
    return done_.size() + (input_index - rest_);
  }

  char At(size_t text_position) const {
    return text_position < done_.size()
               ? done_[text_position]
               : in_[rest_ + (text_position - done_.size())];
  }

  size_t TextLength() const { return done_.size() + (in_.size() - rest_); }

  // Text position of the last line feed at or before input index `p`, or 0
  // (the start of the text) when there is none.
  size_t LineStart(size_t p) {
    for (; scanned_ <= p; ++scanned_) {
      if (in_[scanned_] == '\n') last_line_feed_ = scanned_;
    }
    if (last_line_feed_ != kNpos && last_line_feed_ >= rest_) {
      return TextPosition(last_line_feed_);
    }
    // Every rewrite ends the rewritten part with " " CR LF " ".
    return done_.empty() ? 0 : done_.size() - 2;
  }

  // The line from `start` up to its comment bar or its end, stripped.
  WorkingLine ReadWorkingLine(size_t start) const {
    WorkingLine line;
    for (size_t i = start; i < TextLength(); ++i) {
      char c = At(i);
      if (c == '|' || (c == '\n' && i != start)) break;
      if (c != '\r' && c != '\n' && c != '\t' && c != ' ') {
        line.stripped.push_back(c);
      }
    }
    line.assigns_call = vb::ContainsText(line.stripped, call_form_) &&
                        line.stripped.find('=') != std::string::npos;
    return line;
  }

  // Replaces the line from text position `start` (its line feed included)
  // up to the next line feed or comment bar after input index `p` by
  // " " CR LF " " + new line + " " CR LF " ". A comment that stood before the
  // keyword moves along behind the new line; one that follows the keyword
  // stays where it was, after the new line. Returns the input index where
  // the untouched text now starts.
  size_t Rewrite(size_t start, size_t p, std::string new_line) {
    size_t end = std::min(next_line_feed_.From(p), next_bar_.From(p));
    if (end == kNpos) end = in_.size();
    std::string segment;
    if (start < done_.size()) {
      segment = done_.substr(start);
      segment.append(in_.substr(rest_, end - rest_));
      done_.resize(start);
    } else {
      size_t first = rest_ + (start - done_.size());
      segment = std::string(in_.substr(first, end - first));
      done_.append(in_.substr(rest_, first - rest_));
    }
    size_t bar = segment.find('|');
    if (bar != std::string::npos) new_line.append(segment.substr(bar));
    done_.append(" \r\n ");
    done_.append(new_line);
    done_.append(" \r\n ");
    rest_ = end;
    ++generation_;
    return end;
  }

  const EmptyValueLookup& lookup_;
  const std::string_view in_;
  const std::string lower_;
  const std::string keyword_;
  const std::string call_form_;
  NextChar next_line_feed_;
  NextChar next_bar_;

  std::string done_;
  size_t rest_ = 0;
  size_t scanned_ = 0;
  size_t last_line_feed_ = kNpos;
  // Each rewrite changes the text, so a working line read before it is stale.
  uint64_t generation_ = 0;
  uint64_t cached_generation_ = 0;
  size_t cached_start_ = kNpos;
  WorkingLine cached_line_;
};

}  // namespace

// An occurrence is rewritten when only blanks and tabs stand between the
// word and the next "(", there is a ")" after it, and the lookup gives a value
// that is not blank; "target" and the parenthesised reference then make way
// for the value.
std::string ReplaceTargets(BuildContext& ctx, const std::string& trg_appl,
                           const std::string& text) {
  const std::string_view in(text);
  NextChar next_open(in, '(');
  NextChar next_close(in, ')');
  std::string out;  // the rewritten text up to `rest`
  size_t rest = 0;  // where the part of `in` not yet copied starts
  size_t found = vb::InStrText(in, kTargetWord);
  size_t p = found == 0 ? kNpos : found - 1;
  while (p != kNpos) {
    size_t open = next_open.From(p);
    if (open == kNpos) break;
    size_t word_end = p + kTargetWord.size();
    bool replaced = false;
    std::string value;
    if (in.substr(word_end, open - word_end).find_first_not_of(" \t") ==
        std::string_view::npos) {
      size_t close = next_close.From(p);
      if (close != kNpos) {
        value = Get_Enum_Constant_Value(
            ctx, trg_appl, std::string(in.substr(open, close - open + 1)));
        if (!vb::IsBlank(value)) {
          out.append(in.substr(rest, p - rest));
          out.append(value);
          rest = close + 1;
          replaced = true;
        }
      }
    }
    // The occurrence's position in the text as it now stands, and whether a
    // further "target" can still fit behind it.
    size_t current_length = out.size() + (in.size() - rest);
    size_t position =
        replaced ? out.size() - value.size() : out.size() + (p - rest);
    if (position + kTargetWord.size() >= current_length) break;
    p = in.find(kTargetWord, replaced ? rest : p + 1);
  }
  out.append(in.substr(rest));
  return out;
}

std::vector<std::string> DeclarationWords(const std::string& declared,
                                          const std::string& variable) {
  if (vb::IsBlank(declared)) throw NotDeclared(variable);
  for (const std::string& line : vb::Split(declared, "\n")) {
    if (line.find(variable) == std::string::npos) continue;
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
      size_t begin = line.find_first_not_of(" \t\r\n", i);
      if (begin == std::string::npos) break;
      size_t end = line.find_first_of(" \t\r\n", begin);
      if (end == std::string::npos) end = line.size();
      words.push_back(line.substr(begin, end - begin));
      i = end;
    }
    return words;
  }
  throw NotDeclared(variable);
}

std::string ReplaceAssignments(const std::string& text, bool empty_keyword,
                               const EmptyValueLookup& lookup,
                               std::string* text_at_error) {
  AssignmentPass pass(text, empty_keyword, lookup);
  try {
    return pass.Run();
  } catch (const VbError&) {
    if (text_at_error != nullptr) *text_at_error = pass.WorkingText();
    throw;
  }
}

std::string RewriteError(const std::string& operation, const VbError& e) {
  return "\t\tERROR:in " + operation + "()  ErrNo." + vb::ErrNo(e.number()) +
         ":" + e.description();
}

}  // namespace mx::rules
