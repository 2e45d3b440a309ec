// The original language's text helpers at the edges where a naive port goes
// wrong: 1-based positions, blanks versus tabs, accented letters, and numbers
// read and printed the way its runtime did.
#include "platform/vb_text.h"

#include <gtest/gtest.h>

#include <limits>

#include "movx20xmlgen/error.h"

namespace mx::vb {
namespace {

TEST(VbTextTest, TrimRemovesBlanksButNotTabs) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim("\ta \t"), "\ta \t");
  EXPECT_EQ(LTrim("  x "), "x ");
  EXPECT_TRUE(IsBlank("   "));
  EXPECT_FALSE(IsBlank(" \t "));
}

TEST(VbTextTest, CaseMappingCoversWindows1252Letters) {
  // à é ö þ š œ ž ÿ  and their capitals; ß, × and ÷ have none.
  EXPECT_EQ(UCase("ab\xE0\xE9\xF6\xFE\x9A\x9C\x9E\xFF"),
            "AB\xC0\xC9\xD6\xDE\x8A\x8C\x8E\x9F");
  EXPECT_EQ(LCase("AB\xC0\xC9\xD6\xDE\x8A\x8C\x8E\x9F"),
            "ab\xE0\xE9\xF6\xFE\x9A\x9C\x9E\xFF");
  EXPECT_EQ(UCase("\xDF\xD7\xF7"), "\xDF\xD7\xF7");
  EXPECT_EQ(LCase("\xDF\xD7\xF7"), "\xDF\xD7\xF7");
  EXPECT_EQ(UCase("a1_[z]{"), "A1_[Z]{");
  EXPECT_TRUE(EqualText("Fdnm\xC0", "fDNM\xE0"));
  EXPECT_FALSE(EqualText("fdnm", "fdnm "));
  EXPECT_FALSE(EqualText("[", "{"));  // no case of their own
}

TEST(VbTextTest, InStrPositionsAreOneBased) {
  EXPECT_EQ(InStr("abcabc", "a"), 1u);
  EXPECT_EQ(InStr(2, "abcabc", "a"), 4u);
  EXPECT_EQ(InStr(6, "abcabc", "c"), 6u);
  EXPECT_EQ(InStr(7, "abcabc", "c"), 0u);
  EXPECT_EQ(InStr("abc", "abcd"), 0u);
  EXPECT_EQ(InStr("", "a"), 0u);
  // An empty find is found where the search starts, up to one past the end.
  EXPECT_EQ(InStr("abc", ""), 1u);
  EXPECT_EQ(InStr(4, "abc", ""), 4u);
  EXPECT_EQ(InStr(5, "abc", ""), 0u);
}

TEST(VbTextTest, InStrTextIgnoresCaseOfAccentedLetters) {
  EXPECT_EQ(InStrText("Select FROM", "from"), 8u);
  EXPECT_EQ(InStrText(2, "aXbx", "X"), 2u);
  EXPECT_EQ(InStrText(3, "aXbx", "X"), 4u);
  EXPECT_EQ(InStrText("caf\xC9", "\xE9"), 4u);
  EXPECT_TRUE(ContainsText("\x9F", "\xFF"));
  EXPECT_FALSE(Contains("From", "from"));
  // A partial match does not hide the match that overlaps it.
  EXPECT_EQ(InStrText("xAAAB", "aab"), 3u);
  EXPECT_EQ(InStrText(3, "abcAB", "ab"), 4u);
  EXPECT_EQ(InStrText(5, "abcAB", "ab"), 0u);
  EXPECT_EQ(InStrText("ab", "abc"), 0u);
  EXPECT_EQ(InStrText(3, "ab", ""), 3u);
  EXPECT_EQ(InStrText(4, "ab", ""), 0u);
}

TEST(VbTextTest, InStrRevFindsMatchesWithinTheFirstStartCharacters) {
  EXPECT_EQ(InStrRev("abcabc", "bc"), 5u);
  EXPECT_EQ(InStrRev("abcabc", "bc", 5), 2u);
  EXPECT_EQ(InStrRev("abcabc", "bc", 6), 5u);
  EXPECT_EQ(InStrRev("abcabc", "a", 1), 1u);
  EXPECT_EQ(InStrRev("abcabc", "x"), 0u);
  EXPECT_EQ(InStrRev("abc", "c", 4), 0u);
  EXPECT_EQ(InStrRev("abc", ""), 3u);
}

TEST(VbTextTest, ReplaceDoesNotRescanReplacedText) {
  EXPECT_EQ(Replace("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(Replace("aaaa", "aa", "a"), "aa");
  EXPECT_EQ(Replace("abc", "", "x"), "abc");
  EXPECT_EQ(Replace("\r\n \r\n ", "\r\n ", "\r\n"), "\r\n\r\n");
  EXPECT_EQ(ReplaceText("Empty() EMPTY()", "empty()", "''"), "'' ''");
  EXPECT_EQ(ReplaceFirstText("xAx", "a", "b"), "xbx");
  EXPECT_EQ(ReplaceFirstText("aXa", "x", "yy"), "ayya");
}

TEST(VbTextTest, PiecesClampAtTheEnds) {
  EXPECT_EQ(Mid("abcdef", 3, 2), "cd");
  EXPECT_EQ(Mid("abcdef", 6, 5), "f");
  EXPECT_EQ(Mid("abcdef", 7), "");
  EXPECT_EQ(Right("abc", 9), "abc");
  EXPECT_EQ(Fit("abcdef", 3), "abc");
  EXPECT_EQ(Fit("ab", 4), "ab  ");
}

TEST(VbTextTest, SplitOfEmptyTextGivesNoPieces) {
  EXPECT_TRUE(Split("", ",").empty());
  EXPECT_EQ(Split("a", ","), (std::vector<std::string>{"a"}));
  EXPECT_EQ(Split(",a,,", ","), (std::vector<std::string>{"", "a", "", ""}));
  EXPECT_EQ(Split("a~|~b~|~", "~|~"), (std::vector<std::string>{"a", "b", ""}));
  EXPECT_EQ(Join(Split("x,y,,z", ","), ","), "x,y,,z");
  EXPECT_EQ(Join({}, ","), "");
}

TEST(VbTextTest, IsNumericAcceptsWhatTheRuntimeAccepted) {
  for (const char* yes : {"0", "12", " -3e2 ", "+1.5", "1,000", "1,000.25",
                          ".5", "5.", "1E+05", "2d3", "\t7\n"}) {
    EXPECT_TRUE(IsNumeric(yes)) << '"' << yes << '"';
  }
  for (const char* no : {"", " ", ".", "-", "+.", "1e", "1e+", "1.2.3", "12a",
                         ",1", "1 2", "--1", "1,0.5,"}) {
    EXPECT_FALSE(IsNumeric(no)) << '"' << no << '"';
  }
}

TEST(VbTextTest, ValReadsTheLeadingNumber) {
  EXPECT_EQ(Val("  12abc"), 12);
  EXPECT_EQ(Val("1.5.3"), 1.5);
  EXPECT_EQ(Val("1 2 3"), 123);
  EXPECT_EQ(Val("\t- 4.5x"), -4.5);
  EXPECT_EQ(Val("2e3"), 2000);
  EXPECT_EQ(Val("2D-1"), 0.2);
  EXPECT_EQ(Val("7e"), 7);
  EXPECT_EQ(Val("7e+x"), 7);
  EXPECT_EQ(Val(".5"), 0.5);
  EXPECT_EQ(Val(""), 0);
  EXPECT_EQ(Val("abc"), 0);
  EXPECT_EQ(Val("-"), 0);
  EXPECT_EQ(Val("1,000"), 1);
}

TEST(VbTextTest, ValOfATooLargeNumberOverflows) {
  try {
    Val("1e999");
    FAIL() << "no error";
  } catch (const VbError& e) {
    EXPECT_EQ(e.number(), errors::kOverflow);
  }
}

TEST(VbTextTest, NumberToTextUsesFifteenSignificantDigits) {
  EXPECT_EQ(NumberToText(15.0), "15");
  EXPECT_EQ(NumberToText(1.5), "1.5");
  EXPECT_EQ(NumberToText(-0.5), "-0.5");
  EXPECT_EQ(NumberToText(0.1 + 0.2), "0.3");
  EXPECT_EQ(NumberToText(-0.0), "0");
  EXPECT_EQ(NumberToText(1e20), "1E+20");
  EXPECT_EQ(NumberToText(123456789012345.0), "123456789012345");
  EXPECT_EQ(NumberToText(1e15), "1E+15");
  EXPECT_EQ(NumberToText(-123456789012345.0), "-123456789012345");
  EXPECT_EQ(NumberToText(-1e15), "-1E+15");
  EXPECT_EQ(NumberToText(2.5e-7), "2.5E-07");
  EXPECT_EQ(NumberToText(0.0001), "0.0001");
  EXPECT_EQ(NumberToText(0.00001), "1E-05");
  EXPECT_EQ(NumberToText(int64_t{-42}), "-42");
}

TEST(VbTextTest, ErrorNumbersAndGroupedNumbers) {
  EXPECT_EQ(ErrNo(0), " 0");
  EXPECT_EQ(ErrNo(-2147217900), "-2147217900");
  EXPECT_EQ(FormatGrouped(999), "999");
  EXPECT_EQ(FormatGrouped(-1234), "-1,234");
  EXPECT_EQ(FormatGrouped(123456789), "123,456,789");
  EXPECT_EQ(FormatGrouped(std::numeric_limits<int64_t>::min()),
            "-9,223,372,036,854,775,808");
}

}  // namespace
}  // namespace mx::vb
