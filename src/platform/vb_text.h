// The original language's text helpers, with its semantics: one character is
// one byte (Windows-1252), positions are 1-based and 0 means "not found",
// "trim" removes blanks only, "text-wise" comparisons ignore case. Every
// algorithm of the component is written in these terms.
#ifndef MX_PLATFORM_VB_TEXT_H_
#define MX_PLATFORM_VB_TEXT_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mx::vb {

inline constexpr char kCrLf[] = "\r\n";

std::string Trim(std::string_view s);
// The part of `s` that Trim keeps, without a copy.
std::string_view TrimmedView(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
bool IsBlank(std::string_view s);  // empty after Trim

std::string UCase(std::string_view s);  // Windows-1252 letters included
std::string LCase(std::string_view s);

namespace internal {
extern const std::array<char, 256>& kLowerCase;  // the byte LCase makes
}  // namespace internal

// LCase(a) == LCase(b), without building either. Inline: recordsets look
// their columns up by name with it.
inline bool EqualText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (internal::kLowerCase[static_cast<unsigned char>(a[i])] !=
        internal::kLowerCase[static_cast<unsigned char>(b[i])]) {
      return false;
    }
  }
  return true;
}

// Position (1-based) of `find` in `s` at or after `start`; 0 when absent.
// An empty `find` is found at `start` (when start <= len + 1).
size_t InStr(size_t start, std::string_view s, std::string_view find);
size_t InStr(std::string_view s, std::string_view find);
size_t InStrText(size_t start, std::string_view s, std::string_view find);
size_t InStrText(std::string_view s, std::string_view find);
// Last position of `find` at or before `start` (npos = from the end).
size_t InStrRev(std::string_view s, std::string_view find,
                size_t start = std::string_view::npos);
bool Contains(std::string_view s, std::string_view find);
bool ContainsText(std::string_view s, std::string_view find);

// Every occurrence, left to right, not rescanning replaced text.
std::string Replace(std::string_view s, std::string_view find,
                    std::string_view with);
std::string ReplaceText(std::string_view s, std::string_view find,
                        std::string_view with);  // case-insensitive match
// Only the first occurrence, case-insensitive match.
std::string ReplaceFirstText(std::string_view s, std::string_view find,
                             std::string_view with);

std::string Mid(std::string_view s, size_t start);  // 1-based
std::string Mid(std::string_view s, size_t start, size_t length);
std::string Left(std::string_view s, size_t n);
std::string Right(std::string_view s, size_t n);
std::string Space(size_t n);
std::string String(size_t n, char c);

// Splitting an empty text gives no pieces; otherwise n separators give
// n + 1 pieces.
std::vector<std::string> Split(std::string_view s, std::string_view sep);
std::string Join(const std::vector<std::string>& parts, std::string_view sep);

// What IsNumeric accepted: blanks around, a sign, digits with one decimal
// point, an exponent, "," grouping.
bool IsNumeric(std::string_view s);
// The number the text starts with, as Val read it; 0 for none.
double Val(std::string_view s);

// Shortest text of a number: 15, 1.5, -0.25; never 15.0.
std::string NumberToText(double d);
std::string NumberToText(int64_t n);
// An error number as Str() printed it: one blank before a non-negative
// number, the minus sign in its place otherwise.
std::string ErrNo(int32_t n);
// Whole number with "," every three digits: 1,234.
std::string FormatGrouped(int64_t n);

// Fits a text to exactly n characters: cut, or blank-padded on the right.
std::string Fit(std::string_view s, size_t n);

}  // namespace mx::vb

#endif  // MX_PLATFORM_VB_TEXT_H_
