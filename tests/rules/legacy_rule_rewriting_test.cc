// Rule rewriting of the legacy class against a fake repository: the
// target-source flag, the empty value of each kind of declaration, and the
// "Hint : " lines that show the text being rewritten when a pass fails.
#include "rules/legacy_rule_rewriting.h"

#include <gtest/gtest.h>

#include <string>

#include "testing/test_context.h"

namespace mx::legacy {
namespace {

using testing::Rows;

const char kEnumQuery[] =
    "select cnst from qxddi230 where appl= 'tap' and cpac + cdom + '.' + "
    "ctnm  ='pkcolor.red'";

class LegacyRuleRewritingTest : public ::testing::Test {
 protected:
  LegacyRuleRewritingTest() {
    t_.repo->Answer(kEnumQuery, Rows({"cnst"}, {{"7"}}));
    t_.ctx.doc.declared_variables =
        "Dim n As Long = 0\r\nDim txt As String = \"abc\"\r\n"
        "Dim u As String\r\n";
  }

  // The rewritten text; "FAILED" when the operation returns false.
  std::string Rewrite(const std::string& text, bool target_source = false) {
    std::string out = "stale";
    if (!Replace_Empty_Default_Target(t_.ctx, target_source, "sap", "tap", text,
                                      &out)) {
      EXPECT_EQ(out, "");
      return "FAILED";
    }
    return out;
  }

  testing::TestContext t_{GeneratorKind::kLegacy};
};

TEST_F(LegacyRuleRewritingTest, TargetSourceFlagTurnsOnlyTheTargetPassOff) {
  std::string out;
  ASSERT_TRUE(Replace_Target(t_.ctx, true, "sap", "tap",
                             "x = target(pkcolor.red)", &out));
  EXPECT_EQ(out, "x = target(pkcolor.red)");
  EXPECT_TRUE(t_.repo->sent().empty());

  ASSERT_TRUE(Replace_Target(t_.ctx, false, "sap", "tap",
                             "x = Target (pkcolor.red) + 1", &out));
  EXPECT_EQ(out, "x = 7 + 1");

  // The assignment passes run whatever the flag says.
  EXPECT_EQ(Rewrite("x = target(pkcolor.red)\r\nn = empty()", true),
            "x = target(pkcolor.red)\r \r\n n = 0 \r\n ");
  EXPECT_EQ(Rewrite("x = target(pkcolor.red)\r\nn = empty()", false),
            "x = 7\r \r\n n = 0 \r\n ");
  EXPECT_EQ(t_.log->text(), "");
}

TEST_F(LegacyRuleRewritingTest, EmptyValueComesFromTheSixthWord) {
  EXPECT_EQ(Rewrite("n = empty()"), " \r\n n = 0 \r\n ");
  EXPECT_EQ(Rewrite("txt = default() | keep"), " \r\n txt = \" \" \r\n | keep");
  // The first line that merely holds the name decides: "As" holds an "s".
  EXPECT_EQ(Rewrite("s = empty()"), " \r\n s = 0 \r\n ");
  // Fewer than six words: a string.
  EXPECT_EQ(Rewrite("u = empty()"), " \r\n u = \" \" \r\n ");
  // Every declared variable has a value, whatever its type.
  t_.ctx.doc.declared_variables = "Dim d As Date = #1/1/2000#\r\nx\r\n";
  EXPECT_EQ(Rewrite("d = default()"), " \r\n d = 0 \r\n ");
  EXPECT_EQ(Rewrite("x = empty()"), " \r\n x = \" \" \r\n ");
  // The gates are case-sensitive, the passes are not.
  EXPECT_EQ(Rewrite("d = EMPTY()"), "d = EMPTY()");
  EXPECT_EQ(Rewrite("d = EMPTY() | empty"), " \r\n d = 0 \r\n | empty");
}

TEST_F(LegacyRuleRewritingTest, UndeclaredVariableShowsTheTextAsItStood) {
  // The first line is already rewritten when the second one fails.
  EXPECT_EQ(Rewrite("n = empty()\r\nq = empty()"), "FAILED");
  const std::string message =
      "\t\tERROR:in Replace_Empty_Default()  ErrNo. 999: Variable q Not "
      "declared. Please declare the variable in Variable/include section of "
      "VEXA. \r\nHint : for rules \r\n n = 0 \r\n \nq = empty()";
  EXPECT_EQ(t_.ctx.error_description(), message);
  EXPECT_EQ(t_.log->text(), message + "\r\n");

  // Only the pass reports: the operation around it adds no line.
  const size_t logged = t_.log->text().size();
  t_.ctx.doc.declared_variables = " ";
  EXPECT_EQ(Rewrite("a = 1\r\nn = default()\r\n"), "FAILED");
  const std::string ends_in_line_break =
      "\t\tERROR:in Replace_Empty_Default()  ErrNo. 999: Variable n Not "
      "declared. Please declare the variable in Variable/include section of "
      "VEXA. \r\nHint : for rulesa = 1\r\nn = default()\r\n";
  EXPECT_EQ(t_.ctx.error_description(), ends_in_line_break);
  // A message that already ends in a line break is logged as it stands.
  EXPECT_EQ(t_.log->text().substr(logged), ends_in_line_break);
}

}  // namespace
}  // namespace mx::legacy
