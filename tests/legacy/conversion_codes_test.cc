// The conversion-code document: elements in code order, pairs in input
// order, each pair escaped with its separator, and a failed query reported.
#include "legacy/conversion_codes.h"

#include <gtest/gtest.h>

#include <string>

#include "repository/temp_repository.h"
#include "testing/test_context.h"

namespace mx::legacy {
namespace {

using repository::testing::TempRepository;

class ConversionCodes : public ::testing::Test {
 protected:
  ConversionCodes() : t_(GeneratorKind::kLegacy) {
    t_.object.settings.connection_string = "Data Source=" + repo_.path();
  }

  std::string Built() {
    std::string text = "stale";
    EXPECT_TRUE(Create_Conversion_Code_XML(t_.ctx, &text));
    return text;
  }

  TempRepository repo_;
  testing::TestContext t_;
};

TEST_F(ConversionCodes, CodesAndPairsInOrder) {
  repo_.Exec(
      "insert into qxlgy115 (code, ival, oval) values"
      " ('B', '7', 'z'), ('A', '2', 'y'), ('A', '1', 'x');");
  EXPECT_EQ(Built(),
            "<CONVERSION-CODES><A>1-x~|~2-y</A><B>7-z</B></CONVERSION-CODES>");
}

TEST_F(ConversionCodes, EmptyTableGivesTheBareRoot) {
  EXPECT_EQ(Built(), "<CONVERSION-CODES></CONVERSION-CODES>");
}

TEST_F(ConversionCodes, ValuesAreEscapedAndNullsReadEmpty) {
  repo_.Exec(
      "insert into qxlgy115 (code, ival, oval) values"
      " ('A', '1', 'a&b'), ('A', '2', null), ('A', '3', 'p~|~q');");
  EXPECT_EQ(Built(),
            "<CONVERSION-CODES><A>1-a&amp;b~|~2-~|~3-p~|~q</A>"
            "</CONVERSION-CODES>");
}

TEST_F(ConversionCodes, FailedQueryIsReported) {
  repo_.Exec("drop table qxlgy115;");
  std::string text;
  EXPECT_FALSE(Create_Conversion_Code_XML(t_.ctx, &text));
  EXPECT_EQ(
      t_.log->text().rfind("\t\tERROR in Create_Conversion_Code_XML:- ", 0),
      0u);
  EXPECT_EQ(t_.ctx.error_description(), t_.log->text());
}

}  // namespace
}  // namespace mx::legacy
