// The well-formedness test: expat's messages and line numbers, and text in
// Windows-1252.
#include "platform/xml_check.h"

#include <gtest/gtest.h>

namespace mx {
namespace {

TEST(XmlCheckTest, CodePageTextIsWellFormedWhateverEncodingItDeclares) {
  const XmlCheck check = CheckWellFormed(
      "<INFO>\r\n <A x=\"\x80\">caf\xE9 \x93q\x94</A>\r\n</INFO>");
  EXPECT_TRUE(check.well_formed);
  EXPECT_EQ(check.message, "");
  EXPECT_TRUE(
      CheckWellFormed("<?xml version=\"1.0\" encoding=\"windows-1252\"?>"
                      "<A>\xE9</A>")
          .well_formed);
}

TEST(XmlCheckTest, ErrorsCarryExpatsMessageAndLine) {
  const XmlCheck mismatched = CheckWellFormed("<A>\r\n<B>\r\n</A>");
  EXPECT_FALSE(mismatched.well_formed);
  EXPECT_EQ(mismatched.message, "mismatched tag");
  EXPECT_EQ(mismatched.line, 3);

  const XmlCheck ampersand = CheckWellFormed("<A>\r\nx & y\r\n</A>");
  EXPECT_EQ(ampersand.message, "not well-formed (invalid token)");
  EXPECT_EQ(ampersand.line, 2);
}

TEST(XmlCheckTest, SeveralTopLevelElementsOrNoneAreNotWellFormed) {
  const XmlCheck two = CheckWellFormed("<A/>\r\n<B/>");
  EXPECT_FALSE(two.well_formed);
  EXPECT_EQ(two.message, "junk after document element");
  EXPECT_EQ(two.line, 2);

  const XmlCheck empty = CheckWellFormed("");
  EXPECT_FALSE(empty.well_formed);
  EXPECT_EQ(empty.message, "no element found");
}

}  // namespace
}  // namespace mx
