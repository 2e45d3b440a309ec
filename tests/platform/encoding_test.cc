// Conversion between UTF-8 and Windows-1252: the characters the code page
// holds outside Latin-1, characters it lacks, invalid input and round trips.
#include "platform/encoding.h"

#include <gtest/gtest.h>

namespace mx {
namespace {

TEST(EncodingTest, CodePageCharactersOutsideLatin1) {
  // € “ ” ‘ ’ – — … Š œ Ÿ ™
  EXPECT_EQ(Utf8ToWin1252("\u20AC\u201C\u201D\u2018\u2019\u2013\u2014\u2026"
                          "\u0160\u0153\u0178\u2122"),
            "\x80\x93\x94\x91\x92\x96\x97\x85\x8A\x9C\x9F\x99");
  EXPECT_EQ(Utf8ToWin1252("caf\u00E9 \u00FF"), "caf\xE9 \xFF");
}

TEST(EncodingTest, CharactersWithoutLikenessBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToWin1252("a\u65E5\u672Cb"), "a??b");
  EXPECT_EQ(Utf8ToWin1252("\U0001F600"), "?");
  // A letter with a likeness is transliterated, not dropped.
  const auto a_macron = Utf8ToWin1252("x\u0101x");
  ASSERT_TRUE(a_macron.has_value());
  EXPECT_EQ(a_macron->size(), 3u);
  EXPECT_EQ(a_macron->front(), 'x');
  EXPECT_EQ(a_macron->back(), 'x');
}

TEST(EncodingTest, InvalidUtf8IsRefused) {
  for (const char* bad : {"\xE9", "a\xC3", "\xC0\xAF", "\xED\xA0\x80",
                          "\xF4\x90\x80\x80", "\x80", "\xE2\x82"}) {
    EXPECT_FALSE(Utf8ToWin1252(bad).has_value()) << bad;
  }
  EXPECT_EQ(Utf8ToWin1252(""), "");
}

TEST(EncodingTest, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  const std::string utf8 = Win1252ToUtf8(all);
  EXPECT_EQ(Utf8ToWin1252(utf8), all);
  // Bytes the code page leaves undefined stand for the C1 controls.
  EXPECT_EQ(Win1252ToUtf8("\x81\x9D"), "\u0081\u009D");
  EXPECT_EQ(Win1252ToUtf8("\x80\x93"), "\u20AC\u201C");
}

// Long runs of characters outside the code page take several passes
// through iconv's output buffer.
TEST(EncodingTest, LongRunsWithoutLikenessConvert) {
  std::string utf8;
  for (int i = 0; i < 3000; ++i) utf8 += "\u4E2D";
  EXPECT_EQ(Utf8ToWin1252("<" + utf8 + "\u00E9>"),
            "<" + std::string(3000, '?') + "\xE9>");
}

}  // namespace
}  // namespace mx
