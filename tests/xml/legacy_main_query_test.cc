// The PRE-CONDITIONS element and the main query of a legacy document on a
// temporary repository. Translated texts keep every blank the legacy
// formatter and the translators leave: a one-line section text comes out as
// " " + its words + "  \r\n     ".
#include "xml/legacy_main_query.h"

#include <gtest/gtest.h>

#include <string>

#include "repository/temp_repository.h"
#include "testing/test_context.h"
#include "xml/legacy_preconditions.h"

namespace mx::legacy {
namespace {

using repository::testing::TempRepository;

// The legacy table cust and the legacy file cust.txt of the application LEG.
constexpr char kFields[] =
    "INSERT INTO qxlgy150 (appl, cpac, cmod, flno, flna, seqn, dtyp) VALUES"
    " ('LEG', 'lg', 'tbl', 'cust', 'CODE', 1, 'N'),"
    " ('LEG', 'lg', 'tbl', 'cust', 'NAME$', 2, 'T'),"
    " ('LEG', 'lg', 'fil', 'cust.txt', 'CODE', 1, 'N'),"
    " ('LEG', 'lg', 'fil', 'cust.txt', 'NAME$', 2, 'T')";

constexpr char kRewriteFailed[] =
    "\t\tERROR:-  125 - Application-defined or object-defined error\r\n";

class LegacyBodyTest : public ::testing::Test {
 protected:
  LegacyBodyTest() : t(GeneratorKind::kLegacy) {
    repo.Exec(kFields);
    t.object.settings.connection_string = "Data Source=" + repo.path();
    t.ctx.doc.declared_variables = "Dim n As Long = 0\r\n";
  }

  // A qxmap130 row of the object below: source table, code, text.
  void Row(const char* scpac, const char* scmod, const char* sflno,
           const char* icod, const std::string& qury) {
    repo.Exec(
        "INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, "
        "scpac, scmod, sflno, icod, qury) VALUES (7, 'V1', '01', 'CUS1', "
        "'ab', 'cde', '001', '" +
        std::string(scpac) + "', '" + scmod + "', '" + sflno + "', '" + icod +
        "', '" + qury + "')");
  }

  // The builders' texts; "FAILED" when they return false.
  std::string MainQuery() {
    std::string text = "stale";
    if (!Construct_MainQuery_Tag(t.ctx, facts, object, "cust.txt", &text)) {
      EXPECT_EQ(text, "");
      return "FAILED";
    }
    return text;
  }
  std::string PreConditions(const std::string& precondition) {
    std::string text = "stale";
    if (!Construct_PreConditions_Tag(t.ctx, facts, precondition, "LEG", "TAP",
                                     "cust.txt", &text)) {
      EXPECT_EQ(text, "");
      return "FAILED";
    }
    return text;
  }

  TempRepository repo;
  testing::TestContext t;
  LegacyRunFacts facts{true, "7"};
  ConversionObject object{7,     "V1  ", "01",  "CUS1", "ab", "cde",
                          "LEG", "TAP",  "001", "",     ""};
};

TEST_F(LegacyBodyTest, PreConditionsAreRewrittenAndTranslatedNotEscapedAgain) {
  t.ctx.doc.migrate_count = 4;
  // The rewriting puts the assignment on a line of its own, and the
  // formatter sets its "=", blank-separated already, apart once more.
  EXPECT_EQ(
      PreConditions("n = empty()\nmigrate cust.txt\nx=cust.NAME$<\"a.b\""),
      "<PRE-CONDITIONS>\r\n"
      "    \r\n  n  =  0   \r\n    \r\n migrate cust_txt  \r\n"
      " x = cust_NAME &lt; &quot;a.b&quot;  \r\n     \r\n"
      "</PRE-CONDITIONS>\r\n");
  // The legacy main query is not bounded by migrate statements.
  EXPECT_EQ(t.ctx.doc.migrate_count, 4);
  EXPECT_EQ(t.log->text(), "");
}

TEST_F(LegacyBodyTest, PreConditionsFailWithTheirOwnErrorForm) {
  const std::string own_form =
      "\t\tERROR: 125 - Application-defined or object-defined error\r\n";
  // The embedded statement fails: its line, the section translation's, then
  // the element's.
  EXPECT_EQ(PreConditions("select x.* from cust selectdo"), "FAILED");
  EXPECT_EQ(t.ctx.error_description(), own_form);
  EXPECT_EQ(t.log->text(),
            "\t\tERROR:-  125 - Nothing to put in place of x.*: qxlgy150 has "
            "no fields of 'x' for the application LEG\r\n" +
                std::string(kRewriteFailed) + own_form);

  // The rewriting fails (q is not declared): the element is not written
  // without its pre-conditions.
  t.NewDocument();
  EXPECT_EQ(PreConditions("q = empty()"), "FAILED");
  EXPECT_EQ(t.ctx.error_description(), own_form);
  EXPECT_NE(t.log->text().find("Variable q Not declared"), std::string::npos);
}

TEST_F(LegacyBodyTest, NoRowsGiveAnEmptyMainQuery) {
  EXPECT_EQ(MainQuery(), "");
  EXPECT_EQ(t.log->text(), "");
}

TEST_F(LegacyBodyTest, RowsAreWrittenAsReadTranslatedForTablesAndFiles) {
  // A legacy file: X before S before D, whatever order they were stored in.
  Row("lg", "fil", "cust.txt", "D", "x=cust.NAME$");
  Row("lg", "fil", "cust.txt", "S", "select * from cust.txt");
  Row("lg", "fil", "cust.txt", "X", "n = empty()");
  // A legacy table, its module in capitals (which sorts it first here); a
  // code read in lower case.
  Row("lg", "TBL", "cust", "s", "select cust.CODE from cust where a<1");
  // A data-dictionary source: escaped only. Unknown codes are written too.
  Row("qx", "abc", "x01", "S", "select * from t where a<b.c & \"d\"");
  Row("qx", "abc", "x01", "Q", "z.y");
  EXPECT_EQ(
      MainQuery(),
      "<CUST>\r\n"
      "<S>select cust.CODE as cust_CODE  from cust where a &amp;lt; 1        "
      "</S>"
      "</CUST>\r\n"
      "<CUST_TXT>\r\n"
      "<X>    \r\n  n  =  0   \r\n    \r\n     </X>"
      "<S> select  cust_CODE,cust_NAME  from [cust#txt]        </S>"
      "<D> x = cust_NAME  \r\n     </D>"
      "</CUST_TXT>\r\n"
      "<X01>\r\n"
      "<S>select * from t where a&lt;b.c &amp; &quot;d&quot;</S>"
      "<Q>z.y</Q>"
      "</X01>\r\n");
  EXPECT_EQ(t.log->text(), "");
}

TEST_F(LegacyBodyTest, SplitConditionJoinsTheWhereClauseOfItsFile) {
  Row("lg", "fil", "cust.txt", "S", "select * from cust.txt where a=1");
  Row("lg", "tbl", "cust", "S", "select cust.CODE from cust");
  // Stored under the name as the migrate statement gives it, upper-cased;
  // the element name has its period replaced, the key has not.
  t.ctx.doc.split_conditions.Add("CUST.TXT", "cust.CODE>5");
  t.ctx.doc.split_conditions.Add("CUST_TXT", "never");
  // The formatted text is cut one blank short after its last line break, so
  // the parenthesis closes after the blanks of that line; the statement is
  // formatted once more by the translation.
  EXPECT_EQ(
      MainQuery(),
      "<CUST_TXT>\r\n"
      "<S>  select   cust_CODE,cust_NAME   from [cust#txt] where  ( a  =  "
      "1          )  and cust_CODE &amp;gt; 5        </S>"
      "</CUST_TXT>\r\n"
      "<CUST>\r\n"
      "<S>select cust.CODE as cust_CODE  from cust        </S>"
      "</CUST>\r\n");
}

// The select text is formatted once more for the split condition; its own
// comparisons must still come out escaped as in a run without the split.
TEST_F(LegacyBodyTest, SplitSelectIsEscapedAsOftenAsWithoutTheSplit) {
  Row("lg", "tbl", "cust", "S",
      "select cust.CODE from cust where cust.a>1 and cust.b<\"&\"");
  const std::string plain = MainQuery();
  EXPECT_NE(plain.find("&amp;gt;"), std::string::npos) << plain;
  t.NewDocument();
  t.ctx.doc.split_conditions.Add("CUST", "cust.k>0");
  const std::string split = MainQuery();
  EXPECT_EQ(split.find("&amp;amp;gt;"), std::string::npos) << split;
  for (const char* entity : {"&amp;lt;", "@@@&amp;amp;@@@"}) {
    EXPECT_NE(split.find(entity), std::string::npos) << entity << split;
  }
  size_t greater = 0;
  for (size_t at = 0; (at = split.find("&amp;gt;", at)) != std::string::npos;
       ++at) {
    ++greater;
  }
  EXPECT_EQ(greater, 2u) << split;  // the select's and the condition's
}

TEST_F(LegacyBodyTest, FailedTranslationOrRewritingIsError125) {
  Row("lg", "tbl", "cust", "S", "select x.* from cust");
  EXPECT_EQ(MainQuery(), "FAILED");
  EXPECT_EQ(t.ctx.error_description(), kRewriteFailed);
  EXPECT_EQ(t.log->text(),
            "\t\tERROR:-  125 - Nothing to put in place of x.*: qxlgy150 has "
            "no fields of 'x' for the application LEG\r\n" +
                std::string(kRewriteFailed));

  // A section of a legacy file whose rewriting fails.
  repo.Exec("DELETE FROM qxmap130");
  Row("lg", "fil", "cust.txt", "D", "q = empty()");
  t.NewDocument();
  t.ctx.doc.declared_variables = "Dim n As Long = 0\r\n";
  EXPECT_EQ(MainQuery(), "FAILED");
  EXPECT_EQ(t.ctx.error_description(), kRewriteFailed);
  EXPECT_NE(t.log->text().find("Variable q Not declared"), std::string::npos);
}

}  // namespace
}  // namespace mx::legacy
