// Rule rewriting of the data-dictionary class against a fake repository:
// which target(...) forms are replaced, the exact bytes around a rewritten
// empty()/default() line, the values of each declaration, the error lines,
// and texts on which a rewrite could feed itself.
#include "rules/rule_rewriting.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "movx20xmlgen/text_stream.h"
#include "testing/fake_connection.h"
#include "testing/test_context.h"

namespace mx::dd {
namespace {

using repository::ResultSet;

std::string EnumQuery(const std::string& appl, const std::string& ref) {
  return "select cnst from qxddi230 where appl= '" + appl +
         "' and cpac + cdom + '.' + ctnm  ='" + ref + "'";
}

std::string DomainQuery(const std::string& domain) {
  return " select type , leng , diga , adju , conv , digb from qxddi220 "
         "where appl = 'sap' AND cpac+cdom = '" +
         domain + "'";
}

ResultSet Rows(std::vector<std::string> columns,
               std::vector<std::vector<Variant>> rows) {
  ResultSet r;
  r.columns = std::move(columns);
  r.rows = std::move(rows);
  return r;
}

class RuleRewritingTest : public ::testing::Test {
 protected:
  RuleRewritingTest() {
    auto fake = std::make_unique<testing::FakeConnection>();
    fake_ = fake.get();
    t_.object.connections.Adopt(t_.object.settings.connection_string,
                                std::move(fake));
    t_.object.reporter.set_log(log_);
    AnswerEnum("pkcolor.red", Variant("7"));
    fake_->AnswerEmpty(EnumQuery("tap", "pk.none"), {"cnst"});
    ctx_.doc.declared_variables =
        "long x\r\nlong y\r\nextern double d\r\nstring s(30)\r\n"
        "static string txt\r\n";
  }

  void AnswerEnum(const std::string& ref, Variant value) {
    fake_->Answer(EnumQuery("tap", ref), Rows({"cnst"}, {{std::move(value)}}));
  }

  void AnswerDomain(const std::string& domain, const std::string& type,
                    const std::string& length) {
    fake_->Answer(DomainQuery(domain),
                  Rows({"type", "leng", "diga", "adju", "conv", "digb"},
                       {{Variant(type), Variant(length), Variant(""),
                         Variant(""), Variant(""), Variant("")}}));
  }

  // The rewritten text; "FAILED" when the operation returns false.
  std::string Rewrite(const std::string& text) {
    std::string out = "stale";
    if (!Replace_Empty_Default_Target(ctx_, "sap", "tap", text, &out)) {
      EXPECT_EQ(out, "");
      return "FAILED";
    }
    return out;
  }

  testing::TestContext t_;
  BuildContext& ctx_ = t_.ctx;
  testing::FakeConnection* fake_ = nullptr;
  std::shared_ptr<StringTextStream> log_ = std::make_shared<StringTextStream>();
};

TEST_F(RuleRewritingTest, TargetIsReplacedWhenOnlyBlanksPrecedeTheParenthesis) {
  EXPECT_EQ(Rewrite("x = target \t (pkcolor.red) + 1"), "x = 7 + 1");
  EXPECT_EQ(Rewrite("x = target( pkcolor . red )"), "x = 7");
  EXPECT_EQ(fake_->sent().size(), 2u);
  EXPECT_EQ(fake_->sent()[1], EnumQuery("tap", "pkcolor.red"));

  EXPECT_EQ(Rewrite("targets(pkcolor.red)"), "targets(pkcolor.red)");
  EXPECT_EQ(Rewrite("target x(pkcolor.red)"), "target x(pkcolor.red)");
  EXPECT_EQ(Rewrite("target(pkcolor.red"), "target(pkcolor.red");
  EXPECT_EQ(fake_->sent().size(), 2u);
}

TEST_F(RuleRewritingTest, TargetCaseUnresolvedAndFailedLookups) {
  EXPECT_EQ(Rewrite("Target(pkcolor.red) and target(pkcolor.red)"), "7 and 7");
  EXPECT_EQ(Rewrite("target(pkcolor.red) and TARGET(pkcolor.red)"),
            "7 and TARGET(pkcolor.red)");
  EXPECT_EQ(Rewrite("x = target(pk . none) + 1"),
            "x = (pk . none)| ENUM Constant pk.none NOT FOUND in the DATA "
            "DICTIONARY + 1");
  // A constant that cannot be read leaves the form as written and is no
  // error.
  AnswerEnum("pk.null", Variant::MakeNull());
  EXPECT_EQ(Rewrite("x = target(pk.null)"), "x = target(pk.null)");
  EXPECT_EQ(Rewrite("a = b | c\r\n\tif x > 1"), "a = b | c\r\n\tif x > 1");
  EXPECT_EQ(ctx_.error_description() + log_->text(), "");
}

// A repository that does not answer the lookup of a constant or of a
// variable's domain fails the rewrite, in its own words: handing the rule
// back as written would put it into the document as if it had been
// rewritten. A domain that is not described still leaves the line (see
// EmptyValueOfDomainVariables).
TEST_F(RuleRewritingTest, UnansweredLookupsFailTheRewriting) {
  const std::string kRefused =
      "\t\tERROR:in Replace_Empty_Default_Target()  ErrNo.-2147217900:"
      "unexpected query: " +
      EnumQuery("tap", "pk.broken");
  EXPECT_EQ(Rewrite("x = target(pk.broken)"), "FAILED");
  EXPECT_EQ(ctx_.error_description(), kRefused);

  ctx_.doc.declared_variables = "domain pkgone gn\r\n";
  EXPECT_EQ(Rewrite("gn = empty()"), "FAILED");
  EXPECT_EQ(ctx_.error_description(),
            "\t\tERROR:in Replace_Empty_Default()  ErrNo.-2147217900:"
            "unexpected query: " +
                DomainQuery("pkgone"));
}

TEST_F(RuleRewritingTest, EnumLookupEdges) {
  EXPECT_EQ(Get_Enum_Constant_Value(ctx_, "tap", "(pkcolor.red"), "0");
  EXPECT_EQ(Get_Enum_Constant_Value(ctx_, "tap", "pkcolor.red)"), "7");
  EXPECT_EQ(Get_Enum_Constant_Value(ctx_, "tap", ")pkcolor.red("), "");
  // Quotes in values are doubled in the query.
  fake_->Answer(EnumQuery("O''Neil", "pk.it''s"), Rows({"cnst"}, {{"q"}}));
  EXPECT_EQ(Get_Enum_Constant_Value(ctx_, "O'Neil", "(pk.it's)"), "q");
}

TEST_F(RuleRewritingTest, AssignmentLineIsReplacedWithLineBreaksAround) {
  EXPECT_EQ(Rewrite("x = empty()"), " \r\n x = 0 \r\n ");
  // The line feed before the line goes, the one after it stays.
  EXPECT_EQ(Rewrite("a = 1\r\nx = empty()\r\nb = 2"),
            "a = 1\r \r\n x = 0 \r\n \nb = 2");
  EXPECT_EQ(Rewrite("a\r\nx = empty()\r\ny = default()\r\n"),
            "a\r \r\n x = 0 \r\n  \r\n y = 0 \r\n \n");
  EXPECT_EQ(Rewrite("x = target(pkcolor.red)\r\ny = empty()"),
            "x = 7\r \r\n y = 0 \r\n ");
}

TEST_F(RuleRewritingTest, CommentsAroundAssignments) {
  // A comment after the call stays in the text behind the new line.
  EXPECT_EQ(Rewrite("y = empty() | note"), " \r\n y = 0 \r\n | note");
  // A keyword inside a comment is not an assignment.
  EXPECT_EQ(Rewrite("q = 1 | q = empty()"), "q = 1 | q = empty()");
  // Only the lower-case gate opens the pass; the call itself is matched in
  // any case.
  EXPECT_EQ(Rewrite("x=EMPTY()"), "x=EMPTY()");
  EXPECT_EQ(Rewrite("x=EMPTY() | empty"), " \r\n x = 0 \r\n | empty");
  EXPECT_EQ(Rewrite("x = empty"), "x = empty");
}

TEST_F(RuleRewritingTest, EmptyValueOfEachDeclaration) {
  EXPECT_EQ(Rewrite("d = empty()"), " \r\n d = 0.0 \r\n ");
  EXPECT_EQ(Rewrite("s = empty()"), " \r\n s = String.Set$(\" \",30) \r\n ");
  EXPECT_EQ(Rewrite("txt = empty()"), " \r\n txt = String.Set$(\" \",1) \r\n ");
  // The first declaration line that merely holds the name wins.
  ctx_.doc.declared_variables = "string abc(5)\r\nlong b\r\n";
  EXPECT_EQ(Rewrite("b = empty()"), " \r\n b = String.Set$(\" \",5) \r\n ");
  // A type without an empty value leaves the line as it is.
  ctx_.doc.declared_variables = "integer n\r\n";
  EXPECT_EQ(Rewrite("n = empty()"), "n = empty()");
}

TEST_F(RuleRewritingTest, EmptyValueOfDomainVariables) {
  ctx_.doc.declared_variables =
      "domain pkname nm\r\ndomain pkdate dt\r\ndomain pkodd od\r\n"
      "domain pkgone gn\r\n";
  AnswerDomain("pkname", "s", "12");
  AnswerDomain("pkdate", "K", "");
  AnswerDomain("pkodd", "Z", "");
  fake_->AnswerEmpty(DomainQuery("pkgone"),
                     {"type", "leng", "diga", "adju", "conv", "digb"});
  EXPECT_EQ(Rewrite("nm = empty()"), " \r\n nm = String.Set$(\" \",12) \r\n ");
  EXPECT_EQ(Rewrite("dt = empty()"), " \r\n dt = utc(0,0) \r\n ");
  EXPECT_EQ(Rewrite("od = empty()"), "od = empty()");
  EXPECT_EQ(log_->text(), "");
  // A domain that is not there is logged by the lookup; the line stays.
  EXPECT_EQ(Rewrite("gn = empty()"), "gn = empty()");
  EXPECT_EQ(log_->text(),
            "\t\tERROR: 114: No Domain information for the domain pkgone in "
            "the Application sap\r\n");
}

TEST_F(RuleRewritingTest, UndeclaredVariableFailsTheRewriting) {
  const std::string kError =
      "\t\tERROR:in Replace_Empty_Default()  ErrNo. 999: Variable q Not "
      "declared. Please declare the variable in Variable/include section of "
      "VEXA. ";
  EXPECT_EQ(Rewrite("x = empty()\r\nq = default()"), "FAILED");
  EXPECT_EQ(ctx_.error_description(), kError);
  EXPECT_EQ(log_->text(), kError + "\r\n");

  ctx_.doc.declared_variables = "  ";
  EXPECT_EQ(Rewrite("x = empty()"), "FAILED");

  // A declaration without a name word.
  ctx_.doc.declared_variables = "extern long\r\n";
  EXPECT_EQ(Rewrite("long = empty()"), "FAILED");
  EXPECT_EQ(ctx_.error_description(),
            "\t\tERROR:in Replace_Empty_Default()  ErrNo. 9:Subscript out of "
            "range");
}

// Texts on which rewriting step by step from the position of the last match
// would rewrite its own output forever, or skip the next line.
TEST_F(RuleRewritingTest, SearchGoesOnBehindEachRewrite) {
  AnswerEnum("pk.self", Variant("xtarget(pk.self)"));
  EXPECT_EQ(Rewrite("a target(pk.self) b target(pkcolor.red)"),
            "a xtarget(pk.self) b 7");
  EXPECT_EQ(Rewrite("x" + std::string(30, ' ') + "= empty()\r\ny = empty()"),
            " \r\n x = 0 \r\n  \r\n y = 0 \r\n ");
  // A name, or a declared length, that holds the call form itself.
  ctx_.doc.declared_variables = "long empty()x\r\nstring s(empty()\r\n";
  EXPECT_EQ(Rewrite("empty()x = empty()"), " \r\n empty()x = 0 \r\n ");
  EXPECT_EQ(Rewrite("s = empty()"),
            " \r\n s = String.Set$(\" \",empty() \r\n ");
}

}  // namespace
}  // namespace mx::dd
