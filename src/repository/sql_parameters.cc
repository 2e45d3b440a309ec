// A small tokenizer over SQLite text: it knows literals, quoted names,
// comments, words, numbers and operators, which is all it needs to tell
// where a value is compared. Everything it does not take out is copied byte
// for byte.
#include "repository/sql_parameters.h"

#include "repository/sql_words.h"

namespace mx::repository {

namespace {

// A statement with more values than this is a long IN list that no later
// query repeats; preparing it as it stands costs the same.
constexpr size_t kMaxValues = 64;
// Whole numbers of up to 18 digits fit a 64-bit integer.
constexpr size_t kMaxDigits = 18;

using sql::IsDigit;
using sql::IsKeyword;
using sql::IsSpace;
using sql::IsWordByte;
using sql::IsWordStart;

// What the token before the current one was, as far as it matters.
enum class Previous {
  kOther,
  kComparison,  // = == <> != < <= > >=
  kBetween,     // BETWEEN
  kBetweenAnd,  // the AND of a BETWEEN
  kOpen,        // (
  kComma,       // ,
  kIn,          // IN
};

bool IsComparison(std::string_view token) {
  return token == "=" || token == "==" || token == "<>" || token == "!=" ||
         token == "<" || token == "<=" || token == ">" || token == ">=";
}

// One level of parentheses.
struct Frame {
  bool in_where = false;         // values here are compared values
  bool in_list = false;          // the parenthesis of "IN ("
  bool between_pending = false;  // a BETWEEN waits for its AND
};

class Parameteriser {
 public:
  explicit Parameteriser(std::string_view sql) : sql_(sql) {
    frames_.push_back(Frame());
  }

  std::optional<ParameterisedSql> Run();

 private:
  Frame& frame() { return frames_.back(); }
  char At(size_t i) const { return i < sql_.size() ? sql_[i] : '\0'; }
  char NextSignificant(size_t from) const;

  bool CopyComment();
  bool TakeLiteral();
  bool CopyQuotedName(char close);
  void TakeWord();
  void TakeNumber();
  bool TakeOperator();
  bool OpensSelect(size_t open) const;
  size_t ClosingParenthesis(size_t open) const;
  bool TakeScalarSubquery();
  bool TakesValue() const;

  std::string_view sql_;
  size_t pos_ = 0;
  std::vector<Frame> frames_;
  Previous previous_ = Previous::kOther;
  ParameterisedSql out_;
};

char Parameteriser::NextSignificant(size_t from) const {
  while (from < sql_.size() && IsSpace(sql_[from])) ++from;
  return At(from);
}

bool Parameteriser::TakesValue() const {
  const Frame& f = frames_.back();
  if (!f.in_where) return false;
  switch (previous_) {
    case Previous::kComparison:
    case Previous::kBetween:
    case Previous::kBetweenAnd:
      return true;
    case Previous::kOpen:
    case Previous::kComma:
      return f.in_list;
    default:
      return false;
  }
}

bool Parameteriser::CopyComment() {
  if (At(pos_) == '-' && At(pos_ + 1) == '-') {
    const size_t end = sql_.find('\n', pos_);
    const size_t stop = end == std::string_view::npos ? sql_.size() : end;
    out_.text.append(sql_.substr(pos_, stop - pos_));
    pos_ = stop;
    return true;
  }
  if (At(pos_) == '/' && At(pos_ + 1) == '*') {
    const size_t end = sql_.find("*/", pos_ + 2);
    const size_t stop = end == std::string_view::npos ? sql_.size() : end + 2;
    out_.text.append(sql_.substr(pos_, stop - pos_));
    pos_ = stop;
    return true;
  }
  return false;
}

// A '...' literal; false when it has no end or holds a NUL byte that a
// bound value would carry differently.
bool Parameteriser::TakeLiteral() {
  const size_t start = pos_;
  std::string value;
  size_t i = pos_ + 1;
  for (;; ++i) {
    if (i >= sql_.size()) return false;
    if (sql_[i] == '\'') {
      if (At(i + 1) != '\'') break;
      ++i;
    } else if (sql_[i] == '\0') {
      return false;
    }
    value += sql_[i];
  }
  pos_ = i + 1;
  // x'..' is a blob: the quote follows the letter directly.
  const bool glued = start > 0 && IsWordByte(sql_[start - 1]);
  const bool ends_member =
      NextSignificant(pos_) == ',' || NextSignificant(pos_) == ')';
  const bool list_member =
      previous_ == Previous::kOpen || previous_ == Previous::kComma;
  if (!glued && TakesValue() && (!list_member || ends_member)) {
    out_.text += '?';
    out_.values.emplace_back(std::move(value));
  } else {
    out_.text.append(sql_.substr(start, pos_ - start));
  }
  previous_ = Previous::kOther;
  return true;
}

bool Parameteriser::CopyQuotedName(char close) {
  const size_t end = sql_.find(close, pos_ + 1);
  if (end == std::string_view::npos) return false;
  out_.text.append(sql_.substr(pos_, end + 1 - pos_));
  pos_ = end + 1;
  previous_ = Previous::kOther;
  return true;
}

void Parameteriser::TakeWord() {
  const size_t start = pos_;
  while (pos_ < sql_.size() && IsWordByte(sql_[pos_])) ++pos_;
  const std::string_view word = sql_.substr(start, pos_ - start);
  out_.text.append(word);
  Frame& f = frame();
  previous_ = Previous::kOther;
  if (IsKeyword(word, "select")) {
    if (frames_.size() == 1) f.in_where = false;
  } else if (IsKeyword(word, "where")) {
    if (frames_.size() == 1) f.in_where = true;
  } else if (IsKeyword(word, "between")) {
    f.between_pending = true;
    previous_ = Previous::kBetween;
  } else if (IsKeyword(word, "and")) {
    if (f.between_pending) {
      f.between_pending = false;
      previous_ = Previous::kBetweenAnd;
    }
  } else if (IsKeyword(word, "in")) {
    previous_ = Previous::kIn;
  }
}

void Parameteriser::TakeNumber() {
  const size_t start = pos_;
  while (pos_ < sql_.size() && IsDigit(sql_[pos_])) ++pos_;
  const bool whole = !IsWordByte(At(pos_)) && At(pos_) != '.';
  const size_t digits = pos_ - start;
  if (whole && digits <= kMaxDigits && previous_ == Previous::kComparison &&
      frame().in_where) {
    out_.text += '?';
    out_.values.emplace_back(static_cast<int64_t>(
        std::stoll(std::string(sql_.substr(start, digits)))));
  } else {
    // The rest of a number such as 1.5e3 or 0x1F is copied as it stands.
    while (pos_ < sql_.size() &&
           (IsWordByte(sql_[pos_]) || sql_[pos_] == '.')) {
      ++pos_;
    }
    out_.text.append(sql_.substr(start, pos_ - start));
  }
  previous_ = Previous::kOther;
}

// After "(": true when the parenthesis holds a SELECT.
bool Parameteriser::OpensSelect(size_t open) const {
  size_t i = open + 1;
  while (i < sql_.size() && IsSpace(sql_[i])) ++i;
  size_t stop = i;
  while (stop < sql_.size() && IsWordByte(sql_[stop])) ++stop;
  return IsKeyword(sql_.substr(i, stop - i), "select");
}

// The position of the ")" that closes the "(" at `open`, stepping over
// literals and quoted names; npos when there is none.
size_t Parameteriser::ClosingParenthesis(size_t open) const {
  int depth = 0;
  for (size_t i = open; i < sql_.size(); ++i) {
    const char c = sql_[i];
    if (c == '\'' || c == '"' || c == '`' || c == '[') {
      const size_t end = sql_.find(c == '[' ? ']' : c, i + 1);
      if (end == std::string_view::npos) return std::string_view::npos;
      i = end;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && --depth == 0) {
      return i;
    }
  }
  return std::string_view::npos;
}

bool Parameteriser::TakeScalarSubquery() {
  const size_t close = ClosingParenthesis(pos_);
  if (close == std::string_view::npos) return false;
  out_.text += '?';
  out_.values.emplace_back(
      ScalarSubquery{std::string(sql_.substr(pos_ + 1, close - pos_ - 1))});
  pos_ = close + 1;
  previous_ = Previous::kOther;
  return true;
}

bool Parameteriser::TakeOperator() {
  const char c = sql_[pos_];
  if (c == '(' && previous_ == Previous::kComparison && frame().in_where &&
      OpensSelect(pos_)) {
    return TakeScalarSubquery();
  }
  static constexpr std::string_view kTwoByte[] = {
      "==", "<>", "!=", "<=", ">=", "||", "<<", ">>"};
  std::string_view token = sql_.substr(pos_, 1);
  for (std::string_view two : kTwoByte) {
    if (sql_.substr(pos_, 2) == two) token = two;
  }
  if (c == '(') {
    Frame inner;
    inner.in_where = frame().in_where;
    inner.in_list = previous_ == Previous::kIn;
    frames_.push_back(inner);
  } else if (c == ')') {
    if (frames_.size() == 1) return false;
    frames_.pop_back();
  }
  out_.text.append(token);
  pos_ += token.size();
  previous_ = IsComparison(token) ? Previous::kComparison
              : c == '('          ? Previous::kOpen
              : c == ','          ? Previous::kComma
                                  : Previous::kOther;
  return true;
}

std::optional<ParameterisedSql> Parameteriser::Run() {
  out_.text.reserve(sql_.size());
  while (pos_ < sql_.size()) {
    const char c = sql_[pos_];
    if (IsSpace(c)) {
      out_.text += c;
      ++pos_;
    } else if (CopyComment()) {
    } else if (c == '\'') {
      if (!TakeLiteral()) return std::nullopt;
    } else if (c == '"' || c == '`') {
      if (!CopyQuotedName(c)) return std::nullopt;
    } else if (c == '[') {
      if (!CopyQuotedName(']')) return std::nullopt;
    } else if (c == '?' || c == ':' || c == '@' || c == '$') {
      return std::nullopt;  // parameters of its own
    } else if (IsWordStart(c)) {
      TakeWord();
    } else if (IsDigit(c)) {
      TakeNumber();
    } else if (!TakeOperator()) {
      return std::nullopt;
    }
    if (out_.values.size() > kMaxValues) return std::nullopt;
  }
  return std::move(out_);
}

}  // namespace

std::optional<ParameterisedSql> Parameterise(std::string_view sql) {
  return Parameteriser(sql).Run();
}

}  // namespace mx::repository
