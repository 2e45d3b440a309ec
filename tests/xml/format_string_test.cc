// The query formatters of both classes, byte for byte: operator spacing,
// line breaks, quoted text, entities, and the blanks each formatter leaves at
// the end. Large and pathological texts must format in linear time.
#include "xml/format_string.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "movx20xmlgen/text_stream.h"
#include "testing/test_context.h"

namespace mx {
namespace {

constexpr auto kDictionary = GeneratorKind::kDataDictionary;
constexpr auto kLegacy = GeneratorKind::kLegacy;

TEST(OperatorCharTest, SetsDifferInAmpersandAndComma) {
  EXPECT_TRUE(Is_Operator_Char(kDictionary, '&'));
  EXPECT_FALSE(Is_Operator_Char(kLegacy, '&'));
  EXPECT_FALSE(Is_Operator_Char(kDictionary, ','));
  EXPECT_TRUE(Is_Operator_Char(kLegacy, ','));
  for (char c : std::string(" .\"'|~;_\t\r\n")) {
    EXPECT_FALSE(Is_Operator_Char(kDictionary, c) ||
                 Is_Operator_Char(kLegacy, c));
  }
}

TEST(DictionaryFormatTest, OperatorsGetBlanksOnBothSides) {
  // Adjacent operators stay together; the output ends in the blank of the
  // text and the one placed before the dropped last line break.
  EXPECT_EQ(FormatStringDictionary("x>=1"), "x &gt;= 1  ");
  EXPECT_EQ(FormatStringDictionary("where x!=1 and y<>2"),
            "where x != 1 and y &lt;&gt; 2  ");
  // Blanks already there are kept, so each side gets a second one.
  EXPECT_EQ(FormatStringDictionary("x = 1"), "x  =  1  ");
  EXPECT_EQ(FormatStringDictionary("a<b&c"), "a &lt; b &amp; c  ");
  // The entity in the input is escaped again, and its "&" is an operator.
  EXPECT_EQ(FormatStringDictionary("a&amp;b"), "a &amp; amp;b  ");
  EXPECT_EQ(FormatStringDictionary("select t.* from t"),
            "select t.*  from t  ");
  EXPECT_EQ(FormatStringDictionary(""), " ");
}

TEST(DictionaryFormatTest, LineBreaksAndBlanks) {
  const std::string two_lines = "a = 1  \r\n b = 2  ";
  EXPECT_EQ(FormatStringDictionary("a=1\r\nb=2"), two_lines);
  EXPECT_EQ(FormatStringDictionary("a=1\nb=2"), two_lines);
  EXPECT_EQ(FormatStringDictionary("a=1!~!b=2"), two_lines);
  // Empty lines and the blanks that start a line go.
  EXPECT_EQ(FormatStringDictionary("a\r\n\r\n\r\n   b"), "a  \r\n b  ");
  // Runs of blanks shrink by one look-ahead: four become two.
  EXPECT_EQ(FormatStringDictionary("  a   b    c"), "a  b  c  ");
  EXPECT_EQ(FormatStringDictionary("a\tb"), "a \t b  ");
}

TEST(DictionaryFormatTest, QuotedTextIsNotSpaced) {
  EXPECT_EQ(FormatStringDictionary("x=\"a=b,c<d\""), "x = \"a=b,c&lt;d\"  ");
  EXPECT_EQ(FormatStringDictionary("\"a\"=\"b\""), "\"a\" = \"b\"  ");
  // An unclosed quote runs to the end of its line, without error 124.
  EXPECT_EQ(FormatStringDictionary("x=\"a=b"), "x = \"a=b   ");
  EXPECT_EQ(FormatStringDictionary("x=\"a=b\r\ny=1"),
            "x = \"a=b  \r\n y = 1  ");
  EXPECT_EQ(FormatStringDictionary("a=1\r\nx=\"b=c"),
            "a = 1  \r\n x = \"b=c   ");
}

TEST(LegacyFormatTest, LayoutCommasAndLineBreaks) {
  // The leading blank stays and a blank last line follows the text.
  EXPECT_EQ(FormatStringLegacy("a,b"), " a , b  \r\n    ");
  EXPECT_EQ(FormatStringLegacy("a|b&c"), " a | b&amp;c  \r\n    ");
  EXPECT_EQ(FormatStringLegacy("select t.*,u from t"),
            " select t.* , u from t  \r\n    ");
  EXPECT_EQ(FormatStringLegacy(""), "   \r\n    ");
  EXPECT_EQ(FormatStringLegacy("a\r\n\r\n\r\nb"), " a  \r\n b  \r\n    ");
  // Only one blank is taken from the start of a line.
  EXPECT_EQ(FormatStringLegacy("a\r\n   b"), " a  \r\n    b  \r\n    ");
}

TEST(LegacyFormatTest, EveryRunOfLineBreaksIsOne) {
  // CR and LF in any order and number make one line break, also where the
  // text holds the marker the breaks are counted with ("!~!"), which reads
  // as a line break itself; pieces of it stay as they are.
  const std::string one_break = " a  \r\n b  \r\n    ";
  EXPECT_EQ(FormatStringLegacy("a\nb"), one_break);
  EXPECT_EQ(FormatStringLegacy("a\r\rb"), one_break);
  EXPECT_EQ(FormatStringLegacy("a\n\r\n\rb\r"), one_break);
  EXPECT_EQ(FormatStringLegacy("a!~!\nb"), one_break);
  EXPECT_EQ(FormatStringLegacy("a!~!b"), one_break);
  EXPECT_EQ(FormatStringLegacy("x!=y\r\nz\n\n"), " x != y  \r\n z  \r\n    ");
  EXPECT_EQ(FormatStringLegacy("\n!~\n~!\n"), "   \r\n ~  \r\n    ");
}

TEST(LegacyFormatTest, EscapedInputIsNotEscapedTwice) {
  // &quot; &amp; &lt; are undone before formatting and redone after it;
  // &gt; is not undone, so it comes out escaped twice.
  EXPECT_EQ(FormatStringLegacy("x=&quot;a&amp;b&quot; and y&lt;1 and z&gt;2"),
            " x = &quot;a&amp;b&quot; and y &lt; 1 and z&amp;gt;2  \r\n    ");
}

TEST(LegacyFormatTest, QuotedTextIsNotSpaced) {
  // A quoted run may span lines.
  EXPECT_EQ(FormatStringLegacy("x=\"a,\r\nb=c\"+d"),
            " x = &quot;a,  \r\n b=c&quot; + d  \r\n    ");
  // An unclosed quote leaves the rest of the text alone.
  EXPECT_EQ(FormatStringLegacy("x=\"a=b\r\ny=1"),
            " x = &quot;a=b  \r\n y=1  \r\n    ");
}

TEST(FormatStringTest, EachClassUsesItsFormatter) {
  std::string out;
  testing::TestContext dictionary(kDictionary);
  ASSERT_TRUE(Format_String(dictionary.ctx, "a,\"b", &out));
  EXPECT_EQ(out, "a,\"b   ");
  EXPECT_EQ(dictionary.ctx.error_description(), "");
  testing::TestContext legacy(kLegacy);
  ASSERT_TRUE(Format_String(legacy.ctx, "a,b", &out));
  EXPECT_EQ(out, " a , b  \r\n    ");
}

}  // namespace
}  // namespace mx
