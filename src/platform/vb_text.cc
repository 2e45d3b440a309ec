// The original language's text helpers on Windows-1252 bytes: trimming,
// case mapping, 1-based searching, replacing, splitting, and reading and
// printing numbers the way its runtime did.
#include "platform/vb_text.h"

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "movx20xmlgen/error.h"

namespace mx::vb {
namespace {

// ---------------------------------------------------------------------------
// Case mapping

struct CaseTables {
  std::array<char, 256> upper;
  std::array<char, 256> lower;
};

constexpr void PairCase(CaseTables& t, int up, int low) {
  t.upper[low] = static_cast<char>(up);
  t.lower[up] = static_cast<char>(low);
}

constexpr CaseTables MakeCaseTables() {
  CaseTables t{};
  for (int i = 0; i < 256; ++i) {
    t.upper[i] = static_cast<char>(i);
    t.lower[i] = static_cast<char>(i);
  }
  for (int c = 'A'; c <= 'Z'; ++c) PairCase(t, c, c + 32);
  // Latin-1 letters: À..Þ and à..þ, leaving × (0xD7) and ÷ (0xF7) alone.
  for (int c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7) PairCase(t, c, c + 0x20);
  }
  PairCase(t, 0x8A, 0x9A);  // Š š
  PairCase(t, 0x8C, 0x9C);  // Œ œ
  PairCase(t, 0x8E, 0x9E);  // Ž ž
  PairCase(t, 0x9F, 0xFF);  // Ÿ ÿ
  return t;
}

constexpr CaseTables kCaseTables = MakeCaseTables();

const CaseTables& Cases() { return kCaseTables; }

std::string MapBytes(std::string_view s, const std::array<char, 256>& table) {
  std::string out(s);
  for (char& c : out) c = table[static_cast<unsigned char>(c)];
  return out;
}

// ---------------------------------------------------------------------------
// Searching

constexpr size_t kNotFound = 0;

bool IsBlankChar(char c) { return c == ' '; }

// 1-based start, where 0 is read as 1.
size_t StartIndex(size_t start) { return start == 0 ? 0 : start - 1; }

size_t FindFrom(std::string_view s, std::string_view find, size_t start) {
  const size_t from = StartIndex(start);
  if (from > s.size()) return kNotFound;
  if (find.empty()) return from + 1;
  const size_t at = s.find(find, from);
  return at == std::string_view::npos ? kNotFound : at + 1;
}

// FindFrom on the upper-case forms of `s` and `find`, without making them.
size_t FindTextFrom(std::string_view s, std::string_view find, size_t start) {
  const size_t from = StartIndex(start);
  if (from > s.size()) return kNotFound;
  if (find.empty()) return from + 1;
  if (find.size() > s.size()) return kNotFound;
  const auto& upper = Cases().upper;
  const auto up = [&](char c) { return upper[static_cast<unsigned char>(c)]; };
  const char first = up(find[0]);
  const size_t last = s.size() - find.size();
  for (size_t i = from; i <= last; ++i) {
    if (up(s[i]) != first) continue;
    size_t k = 1;
    while (k < find.size() && up(s[i + k]) == up(find[k])) ++k;
    if (k == find.size()) return i + 1;
  }
  return kNotFound;
}

// Calls `on_match(pos)` for every 0-based position of `find` in `s`, left to
// right without overlaps; `s` and `find` are already in the wanted case.
template <typename OnMatch>
void ForEachMatch(std::string_view s, std::string_view find, size_t limit,
                  OnMatch on_match) {
  if (find.empty()) return;
  size_t from = 0;
  for (size_t n = 0; n < limit; ++n) {
    const size_t at = s.find(find, from);
    if (at == std::string_view::npos) return;
    on_match(at);
    from = at + find.size();
  }
}

// Replaces up to `limit` matches found in `folded_s` (a case-folded copy of
// `s`, or `s` itself) by `with`.
std::string ReplaceMatches(std::string_view s, std::string_view folded_s,
                           std::string_view folded_find, std::string_view with,
                           size_t limit) {
  std::string out;
  out.reserve(s.size());
  size_t copied = 0;
  ForEachMatch(folded_s, folded_find, limit, [&](size_t at) {
    out.append(s.substr(copied, at - copied));
    out.append(with);
    copied = at + folded_find.size();
  });
  out.append(s.substr(copied));
  return out;
}

// ---------------------------------------------------------------------------
// Reading numbers

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// What Val skips, anywhere in a number; IsNumeric allows the same around
// one, so that a text it accepts reads in full.
bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsExponentMark(char c) {
  return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

// Reads a run of digits (and "," when `grouping`) at `i`; returns how many
// digits it saw.
size_t SkipDigits(std::string_view s, size_t& i, bool grouping) {
  size_t digits = 0;
  while (i < s.size()) {
    if (IsDigit(s[i])) {
      ++digits;
    } else if (!(grouping && s[i] == ',' && digits > 0)) {
      break;
    }
    ++i;
  }
  return digits;
}

bool ParsesAsNumber(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsWhite(s[i])) ++i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = SkipDigits(s, i, /*grouping=*/true);
  if (i < s.size() && s[i] == '.') {
    ++i;
    digits += SkipDigits(s, i, /*grouping=*/false);
  }
  if (digits == 0) return false;
  if (i < s.size() && IsExponentMark(s[i])) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (SkipDigits(s, i, /*grouping=*/false) == 0) return false;
  }
  while (i < s.size() && IsWhite(s[i])) ++i;
  return i == s.size();
}

// The decimal point is "." whatever locale the process has chosen.
locale_t CLocale() {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", locale_t{});
  return c_locale;
}

// Collects the leading number of `s` as Val saw it, blanks skipped anywhere,
// into a plain text that strtod reads ("-12.5E3"); "" when there is none.
std::string LeadingNumber(std::string_view s) {
  enum class State { kSign, kInteger, kFraction, kExpSign, kExponent };
  std::string number;
  size_t mantissa_digits = 0;
  size_t before_exponent = 0;  // length of `number` without a bare exponent
  State state = State::kSign;
  for (char c : s) {
    if (IsWhite(c)) continue;
    if (state == State::kSign && (c == '+' || c == '-')) {
      number += c;
      state = State::kInteger;
    } else if (IsDigit(c) && state <= State::kFraction) {
      number += c;
      ++mantissa_digits;
      if (state == State::kSign) state = State::kInteger;
    } else if (c == '.' && state <= State::kInteger) {
      number += c;
      state = State::kFraction;
    } else if (IsExponentMark(c) && state <= State::kFraction &&
               mantissa_digits > 0) {
      before_exponent = number.size();
      number += 'E';
      state = State::kExpSign;
    } else if (state == State::kExpSign && (c == '+' || c == '-')) {
      number += c;
      state = State::kExponent;
    } else if (IsDigit(c) && state >= State::kExpSign) {
      number += c;
      before_exponent = 0;
      state = State::kExponent;
    } else {
      break;
    }
  }
  if (mantissa_digits == 0) return "";
  if (before_exponent > 0) number.resize(before_exponent);
  return number;
}

// ---------------------------------------------------------------------------
// Printing numbers

std::string GroupDigits(std::string_view digits) {
  std::string out;
  out.reserve(digits.size() + digits.size() / 3);
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

uint64_t Magnitude(int64_t n) {
  return n < 0 ? uint64_t{0} - static_cast<uint64_t>(n)
               : static_cast<uint64_t>(n);
}

}  // namespace

// ---------------------------------------------------------------------------
// Trimming and case

std::string LTrim(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlankChar(s[i])) ++i;
  return std::string(s.substr(i));
}

std::string RTrim(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && IsBlankChar(s[n - 1])) --n;
  return std::string(s.substr(0, n));
}

std::string_view TrimmedView(std::string_view s) {
  size_t first = 0;
  while (first < s.size() && IsBlankChar(s[first])) ++first;
  size_t end = s.size();
  while (end > first && IsBlankChar(s[end - 1])) --end;
  return s.substr(first, end - first);
}

std::string Trim(std::string_view s) { return std::string(TrimmedView(s)); }

bool IsBlank(std::string_view s) {
  for (char c : s) {
    if (!IsBlankChar(c)) return false;
  }
  return true;
}

std::string UCase(std::string_view s) { return MapBytes(s, Cases().upper); }
std::string LCase(std::string_view s) { return MapBytes(s, Cases().lower); }

namespace internal {
const std::array<char, 256>& kLowerCase = kCaseTables.lower;
}  // namespace internal

// ---------------------------------------------------------------------------
// Searching

size_t InStr(size_t start, std::string_view s, std::string_view find) {
  return FindFrom(s, find, start);
}

size_t InStr(std::string_view s, std::string_view find) {
  return FindFrom(s, find, 1);
}

size_t InStrText(size_t start, std::string_view s, std::string_view find) {
  return FindTextFrom(s, find, start);
}

size_t InStrText(std::string_view s, std::string_view find) {
  return InStrText(1, s, find);
}

// As the original did: the match must lie within the first `start`
// characters, and a `start` past the end finds nothing.
size_t InStrRev(std::string_view s, std::string_view find, size_t start) {
  if (start == std::string_view::npos) start = s.size();
  if (start == 0 || start > s.size()) return kNotFound;
  if (find.empty()) return start;
  if (find.size() > start) return kNotFound;
  const size_t at = s.substr(0, start).rfind(find);
  return at == std::string_view::npos ? kNotFound : at + 1;
}

bool Contains(std::string_view s, std::string_view find) {
  return InStr(s, find) != kNotFound;
}

bool ContainsText(std::string_view s, std::string_view find) {
  return InStrText(s, find) != kNotFound;
}

// ---------------------------------------------------------------------------
// Replacing

std::string Replace(std::string_view s, std::string_view find,
                    std::string_view with) {
  return ReplaceMatches(s, s, find, with, std::string_view::npos);
}

std::string ReplaceText(std::string_view s, std::string_view find,
                        std::string_view with) {
  return ReplaceMatches(s, UCase(s), UCase(find), with, std::string_view::npos);
}

std::string ReplaceFirstText(std::string_view s, std::string_view find,
                             std::string_view with) {
  return ReplaceMatches(s, UCase(s), UCase(find), with, 1);
}

// ---------------------------------------------------------------------------
// Pieces of a text

std::string Mid(std::string_view s, size_t start) {
  const size_t from = StartIndex(start);
  return from >= s.size() ? std::string() : std::string(s.substr(from));
}

std::string Mid(std::string_view s, size_t start, size_t length) {
  const size_t from = StartIndex(start);
  return from >= s.size() ? std::string() : std::string(s.substr(from, length));
}

std::string Left(std::string_view s, size_t n) {
  return std::string(s.substr(0, n));
}

std::string Right(std::string_view s, size_t n) {
  return n >= s.size() ? std::string(s) : std::string(s.substr(s.size() - n));
}

std::string Space(size_t n) { return std::string(n, ' '); }
std::string String(size_t n, char c) { return std::string(n, c); }

std::vector<std::string> Split(std::string_view s, std::string_view sep) {
  std::vector<std::string> parts;
  if (s.empty()) return parts;
  if (sep.empty()) {
    parts.emplace_back(s);
    return parts;
  }
  if (sep.size() == 1) {
    // Growing the list part by part moves every part made so far each time.
    parts.reserve(static_cast<size_t>(std::count(s.begin(), s.end(), sep[0])) +
                  1);
  }
  size_t from = 0;
  ForEachMatch(s, sep, std::string_view::npos, [&](size_t at) {
    parts.emplace_back(s.substr(from, at - from));
    from = at + sep.size();
  });
  parts.emplace_back(s.substr(from));
  return parts;
}

std::string Join(const std::vector<std::string>& parts, std::string_view sep) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out.append(sep);
    out.append(parts[i]);
  }
  return out;
}

// ---------------------------------------------------------------------------
// Numbers

bool IsNumeric(std::string_view s) { return ParsesAsNumber(s); }

double Val(std::string_view s) {
  const std::string number = LeadingNumber(s);
  if (number.empty()) return 0;
  errno = 0;
  const double value = strtod_l(number.c_str(), nullptr, CLocale());
  if (errno == ERANGE && std::isinf(value)) throw errors::Overflow();
  return value;
}

// The runtime printed a Double with 15 significant digits, without trailing
// zeros, and in E notation (two exponent digits at least) from 1E+15 up and
// below 1E-4 in magnitude: the form of "%.15G".
std::string NumberToText(double d) {
  if (d == 0) return "0";  // negative zero included
  char buf[40];
  // A whole number of at most 15 digits prints as that integer; most
  // numbers written are lengths and positions, and integers print faster.
  if (std::fabs(d) < 1e15 && d == std::trunc(d)) {
    const auto whole =
        std::to_chars(buf, buf + sizeof buf, static_cast<int64_t>(d));
    return std::string(buf, whole.ptr);
  }
  const auto result =
      std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, 15);
  std::string text(buf, result.ptr);
  for (char& c : text) {
    if (c == 'e') c = 'E';
  }
  return text;
}

std::string NumberToText(int64_t n) { return std::to_string(n); }

std::string ErrNo(int32_t n) {
  return n < 0 ? std::to_string(n) : " " + std::to_string(n);
}

std::string FormatGrouped(int64_t n) {
  const std::string grouped = GroupDigits(std::to_string(Magnitude(n)));
  return n < 0 ? "-" + grouped : grouped;
}

std::string Fit(std::string_view s, size_t n) {
  std::string out(s.substr(0, n));
  out.resize(n, ' ');
  return out;
}

}  // namespace mx::vb
