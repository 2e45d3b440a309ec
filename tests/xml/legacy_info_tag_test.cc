// The INFO section of a legacy conversion object and the INCLUDE, VAR and
// FUNCTION elements behind it, on a temporary SQLite repository: an include
// line pulls a function from the library, the table it declares joins the
// source list and so the SRC_INFO element. Translated texts keep the
// formatter's blanks: each word is followed by one, and the text ends in a
// line break word and a blank line.
#include "xml/legacy_info_tag.h"

#include <gtest/gtest.h>

#include <string>

#include "repository/temp_repository.h"
#include "testing/test_context.h"
#include "xml/legacy_variable_tag.h"

namespace mx::legacy {
namespace {

using repository::testing::TempRepository;

constexpr char kObjectKey[] = "7, 'V1', '01', 'BASE', 'ab', 'cde', '001'";

class LegacyInfo : public ::testing::Test {
 protected:
  LegacyInfo() : t_(GeneratorKind::kLegacy) {
    // The target is itself a legacy table (described in qxlgy150); calc
    // declares the table tbl2, which the object does not list itself.
    repository_.Exec(
        std::string("insert into qxlgy150 (appl, cpac, cmod, flno, flna,"
                    " seqn, dtyp, spos, epos) values"
                    " ('TAPP', 'ab', 'cde', '001', 'code', 1, 'U', 1, 6),"
                    " ('SAPP', 'qx', 'fil', 'a.txt', 'no', 1, 'L', 1, 3),"
                    " ('SAPP', 'qx', 'tbl', 'tbl2', 'id', 1, 'L', 1, 3);"
                    "insert into qxlgy141 (appl, cpac, cmod, flno, nskp)"
                    " values ('SAPP', 'qx', 'fil', 'a.txt', 1);"
                    "insert into qxlgy140 (appl, cpac, cmod, flno, sour,"
                    " logn, pswd) values"
                    " ('SAPP', 'qx', 'tbl', 'tbl2', 'dsn', 'me', 'pw');"
                    "insert into qxmap100 (mprf, vers, rele, cust, scme)"
                    " values (7, 'V1', '01', 'BASE', 'N');"
                    "insert into qxlib100 (mprf, vers, rele, cust, fnam,"
                    " fdef) values (7, 'V1', '01', 'BASE', 'calc',"
                    " 'function calc()' || char(13, 10) || 'table tbl2'"
                    " || char(13, 10) || 'end function');"
                    "insert into qxmap120 (mprf, vers, rele, cust, tcpac,"
                    " tcmod, tflno, vari) values (") +
        kObjectKey +
        ", '#define LIMIT <5>~^~dim total as long~^~"
        "#include <calc>');"
        "insert into qxmap160 (mprf, vers, rele, cust, tcpac,"
        " tcmod, tflno, func) values (" +
        kObjectKey + ", 'x=\"a&b\"');");
    t_.object.settings.connection_string = "Data Source=" + repository_.path();
    facts_.target_source = true;
    facts_.profile_list = "7";
    object_.profile = 7;
    object_.vers = "V1";
    object_.rele = "01";
    object_.cust = "BASE";
    object_.cpac = "ab";
    object_.cmod = "cde";
    object_.flno = "001";
    object_.sapp = "SAPP";
    object_.tapp = "TAPP";
  }

  void SetVariables(const std::string& text) {
    repository_.Exec("update qxmap120 set vari = '" + text + "'");
  }

  TempRepository repository_;
  testing::TestContext t_;
  LegacyRunFacts facts_;
  ConversionObject object_;
  std::string stbl_ = "a.txt";
  std::string text_ = "stale";
};

TEST_F(LegacyInfo, WholeSectionWithAnIncludedFunction) {
  ASSERT_TRUE(Construct_Info_Tag(t_.ctx, facts_, object_, &stbl_, &text_));
  EXPECT_EQ(stbl_, "a.txt , tbl2");
  EXPECT_EQ(text_,
            " <INFO>\r\n <ABCDE001>\r\n"
            "<TFLD> <CODE DOMA = \"\" COMB = \"\" CHLD = \"\"  TYPE = \"U\" "
            "LENG = \"5\" BDEC = \"\" ADEC  = \"\"  >  </CODE> \r\n</TFLD>"
            "<IND></IND> </ABCDE001>"
            "<INCLUDE>#define LIMIT &lt;5&gt;\r\n</INCLUDE>"
            "<VAR> dim total as long  \r\n      </VAR>"
            "<SRC_INFO>"
            "<A_TXT><NSKP>1</NSKP><SFLD>a_no|</SFLD></A_TXT>\r\n"
            "<TBL2><DSN>dsn</DSN>\r\n<LOGN>me</LOGN>\r\n<PSWD>pw</PSWD>\r\n"
            "<SFLD>tbl2_id|</SFLD></TBL2>\r\n"
            "</SRC_INFO> </INFO>\r\n");
  // The declarations as rewriting and translation read them; the include
  // line left its line break behind, so the last line ends in CR CR LF.
  EXPECT_EQ(t_.ctx.doc.declared_variables, "dim total as long\r\r\n");
  EXPECT_EQ(t_.ctx.doc.declared_variables_for_translation,
            "  total as long\r ");
  EXPECT_EQ(t_.ctx.doc.collected_functions,
            "\r\nfunction calc()\r\n\r\nend function");
  EXPECT_EQ(t_.log->text(), "");

  // The function element: the library's function first, then the object's
  // own; escaped once by the formatter and once more for the element.
  std::string functions = "before ";
  ASSERT_TRUE(
      Construct_Function_Tag(t_.ctx, facts_, object_, stbl_, &functions));
  const std::string body =
      "   \r\n function calc ()   \r\n end function  \r\n x = "
      "&amp;quot;a&amp;amp;b&amp;quot;  \r\n     ";
  EXPECT_EQ(functions, "before <FUNCTION>\r\n" + body + "\r\n</FUNCTION>\r\n");
  EXPECT_EQ(t_.ctx.doc.collected_functions, body);
}

TEST_F(LegacyInfo, MarkedLineBreaksSurviveAnInclude) {
  // The include comes first: what follows it must not be cut away.
  SetVariables("#include <calc>~^~dim n as long");
  ASSERT_TRUE(Construct_Info_Tag(t_.ctx, facts_, object_, &stbl_, &text_));
  EXPECT_EQ(t_.ctx.doc.declared_variables, "\r\r\ndim n as long\r\n");
}

TEST_F(LegacyInfo, NoVariableTextGivesEmptyElements) {
  repository_.Exec("update qxmap120 set vari = null");
  t_.ctx.doc.declared_variables = "from an earlier call";
  std::string text;
  ASSERT_TRUE(Construct_Variable_Tag(t_.ctx, facts_, object_, &stbl_, &text));
  EXPECT_EQ(text, "<INCLUDE></INCLUDE><VAR> </VAR>");
  EXPECT_EQ(stbl_, "a.txt");
  EXPECT_EQ(t_.ctx.doc.declared_variables, "");
}

TEST_F(LegacyInfo, AMissingFunctionFailsTheSectionAndKeepsTheSourceList) {
  SetVariables("#include <nope>");
  EXPECT_FALSE(Construct_Info_Tag(t_.ctx, facts_, object_, &stbl_, &text_));
  EXPECT_EQ(text_, "");
  EXPECT_EQ(stbl_, "a.txt");
  EXPECT_EQ(t_.log->text(),
            "\t\tERROR:-  1000 - nopeFunction does not exist in the function "
            "repository.\r\n");
}

TEST_F(LegacyInfo, DeclarationsThatDoNotTranslateFailTheSection) {
  SetVariables("dim n as long~^~select a from b");
  std::string text;
  EXPECT_FALSE(Construct_Variable_Tag(t_.ctx, facts_, object_, &stbl_, &text));
  EXPECT_EQ(text, "");
  // Only the translation's own line.
  EXPECT_EQ(t_.log->text(), "\t\tERROR:-  9 - Subscript out of range\r\n");
}

TEST_F(LegacyInfo, FunctionFailuresAreError125InTheirOwnWords) {
  repository_.Exec("update qxmap160 set func = 'select a from b'");
  std::string functions;
  EXPECT_FALSE(
      Construct_Function_Tag(t_.ctx, facts_, object_, stbl_, &functions));
  EXPECT_EQ(functions, "");
  const std::string translation = "\t\tERROR:-  9 - Subscript out of range\r\n";
  EXPECT_EQ(t_.log->text(),
            translation + "\t\tERROR in Construct_Function_Tag :-  125 - " +
                translation + "\r\n");
}

}  // namespace
}  // namespace mx::legacy
