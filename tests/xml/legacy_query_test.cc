// The legacy query translators on a temporary repository with a few qxlgy150
// rows. Expected texts keep every blank: the formatter sets words and
// operators apart, each translated word is followed by one blank, a line
// break word becomes a blank, and the formatted text ends in a blank line.
#include "xml/legacy_query.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "movx20xmlgen/text_stream.h"
#include "repository/temp_repository.h"
#include "testing/test_context.h"

namespace mx::legacy {
namespace {

using repository::testing::RaisedError;
using repository::testing::TempRepository;

// Fields of the application LEG: a table cust, the text file cust.txt, a
// table ORD and the file ord.csv whose rows are stored out of their seqn
// order; and a field of another application that must never show up.
constexpr char kFields[] =
    "INSERT INTO qxlgy150 (appl, cpac, cmod, flno, flna, seqn, dtyp) VALUES"
    " ('LEG', 'lg', 'cus', 'cust', 'CODE', 1, 'N'),"
    " ('LEG', 'lg', 'cus', 'cust', 'NAME$', 2, 'T'),"
    " ('LEG', 'lg', 'cus', 'cust.txt', 'CODE', 1, 'N'),"
    " ('LEG', 'lg', 'cus', 'cust.txt', 'NAME$', 2, 'u'),"
    " ('LEG', 'lg', 'ord', 'ORD', 'NR', 1, 'N'),"
    " ('LEG', 'lg', 'ord', 'ord.csv', 'QTY', 2, 'N'),"
    " ('LEG', 'lg', 'ord', 'ord.csv', 'NR', 1, 'N'),"
    " ('OTH', 'lg', 'cus', 'cust', 'OTHER', 1, 'T')";

class LegacyQueryTest : public ::testing::Test {
 protected:
  LegacyQueryTest() : t(GeneratorKind::kLegacy) {
    repo.Exec(kFields);
    t.object.settings.connection_string = "Data Source=" + repo.path();
    log = std::make_shared<StringTextStream>();
    t.object.reporter.set_log(log);
  }

  // The translation; "FAILED" when the translator returns false.
  std::string Query(const std::string& statement) {
    return Outcome(Convert_Legacy_Query(ctx, statement, "LEG", &out));
  }
  std::string Section(const std::string& text) {
    return Outcome(Convert_Select_Section(ctx, text, "LEG", &out));
  }

  std::string Outcome(bool ok) {
    if (!ok) {
      EXPECT_EQ(out, "");
      return "FAILED";
    }
    EXPECT_EQ(log->text(), "");
    return out;
  }

  TempRepository repo;
  testing::TestContext t;
  BuildContext& ctx = t.ctx;
  std::shared_ptr<StringTextStream> log;
  std::string out = "stale";
};

TEST_F(LegacyQueryTest, TableQueryStarBecomesQualifiedFieldsWithAliases) {
  // The rows come as '  as ' builds them; the select list keeps the blanks
  // on either side of it and the from part its eight trailing blanks.
  EXPECT_EQ(Query("select * from cust"),
            "select  cust.CODE  as cust_CODE,cust.NAME$  as cust_NAME   "
            "from cust        ");
  // A qualifier is matched whatever its case; the alias keeps it as written.
  EXPECT_EQ(Query("select Ord.* from ord"),
            "select Ord.NR  as Ord_NR   from ord        ");
}

TEST_F(LegacyQueryTest, FileQueryListsUnderscoreNamesAndBracketsTheFile) {
  EXPECT_EQ(Query("select * from cust.txt"),
            " select  cust_CODE,cust_NAME  from [cust#txt]        ");
  // "qualifier.*" of a file query lists the fields in seqn order.
  EXPECT_EQ(Query("select ord.* from ord.csv"),
            " select ord_NR,ord_QTY  from [ord#csv]        ");
  // References become underscore names; their "$" stays.
  EXPECT_EQ(Query("select cust.CODE from cust.txt where cust.NAME$=1"),
            " select cust_CODE from [cust#txt] where cust_NAME$ = 1        ");
}

TEST_F(LegacyQueryTest, PlainSelectItemsOfATableQueryGetAliases) {
  // cust.NAME keeps its own alias. A var. word is already var_total when
  // the list is aliased, so it gets an alias like any plain item.
  EXPECT_EQ(Query("select cust.CODE,cust.NAME as n,var.total from cust"),
            "select cust.CODE  as cust_CODE , cust.NAME as n , "
            "var_total as  var_total  from cust        ");
}

TEST_F(LegacyQueryTest, LiteralsNumbersAndReferencesOfTheWhereClause) {
  // In a table query a reference qualified by a from-clause name stays
  // qualified; any other is looked up and becomes an underscore name. The
  // period in the literal stays and its quotes come out as "@@@"; the number
  // 1.5 is not a field reference.
  EXPECT_EQ(
      Query("select cust.CODE from cust where cust.NAME$=\"a.b c\" and "
            "x.y=1.5"),
      "select cust.CODE as cust_CODE  from cust where cust.NAME$ = @@@a.b "
      "c@@@ and x_y = 1.5        ");
  // A pattern in a literal is no select item to expand.
  EXPECT_EQ(Query("select cust.CODE from cust where cust.NAME$ like \"A*\""),
            "select cust.CODE as cust_CODE  from cust where cust.NAME$ like "
            "@@@A*@@@        ");
}

TEST_F(LegacyQueryTest, ItemsThatExpandToNothingFailTheStatement) {
  EXPECT_EQ(Query("select x.* from cust"), "FAILED");
  const std::string expected =
      "\t\tERROR:-  125 - Nothing to put in place of x.*: qxlgy150 has no "
      "fields of 'x' for the application LEG\r\n";
  EXPECT_EQ(ctx.error_description(), expected);
  EXPECT_EQ(log->text(), expected);

  // Fields of another application do not count. The message names the
  // from clause's tables without the list's final comma, and the
  // application without the blanks of its fixed width.
  EXPECT_FALSE(
      Convert_Legacy_Query(ctx, "select * from ord", "OTH            ", &out));
  EXPECT_EQ(ctx.error_description(),
            "\t\tERROR:-  125 - Nothing to put in place of *: qxlgy150 has "
            "no fields of 'ord' for the application OTH\r\n");
}

TEST_F(LegacyQueryTest, SectionWordsBecomeUnderscoreNames) {
  // var. and get.code words keep their "$".
  EXPECT_EQ(Section("x=var.count+get.code.x+var.s$"),
            " x = var_count + get_code_x + var_s$  \r\n     ");
  EXPECT_EQ(Section("y=cust.NAME$+1.5"), " y = cust_NAME + 1.5  \r\n     ");
}

TEST_F(LegacyQueryTest, SectionLiteralsPassUnchanged) {
  // A literal over several words; one word holding both quotes.
  EXPECT_EQ(Section("x=\"a.b c.d\"+e.f+\"g.h\""),
            " x = &quot;a.b c.d&quot; + e_f + &quot;g.h&quot;  \r\n     ");
  // An unclosed literal runs to the end of the text.
  EXPECT_EQ(Section("x=\"a.b c.d"), " x = &quot;a.b c.d  \r\n     ");
}

TEST_F(LegacyQueryTest, SelectCaseAndEndSelectAreNoStatements) {
  EXPECT_EQ(Section("select case x.a\ncase 1\nend select"),
            " select case x_a  \r\n case 1  \r\n end select  \r\n     ");
}

TEST_F(LegacyQueryTest, EmbeddedSelectIsTranslatedUpToItsKeyword) {
  // The statement is formatted again on its own, which adds blanks before
  // the keyword; the keyword is followed by the words after it.
  EXPECT_EQ(Section("select cust.CODE from cust selectdo\ny=cust.CODE"),
            " select cust.CODE as cust_CODE  from cust          selectdo "
            "\r\n y = cust_CODE  \r\n     ");
  // A word on the keyword's line is not joined to it.
  EXPECT_EQ(Section("select * from cust.txt selectdo x=1"),
            "  select   cust_CODE,cust_NAME   from [cust#txt]          "
            "selectdo x = 1  \r\n     ");
}

TEST_F(LegacyQueryTest, EmbeddedSelectFailures) {
  // No keyword ends the statement.
  EXPECT_EQ(Section("select * from cust where a=1"), "FAILED");
  EXPECT_EQ(ctx.error_description(),
            "\t\tERROR:-  9 - Subscript out of range\r\n");

  // The statement fails: its own error line, then the section's.
  log = std::make_shared<StringTextStream>();
  t.object.reporter.set_log(log);
  EXPECT_EQ(Section("select x.* from cust selectdo"), "FAILED");
  const std::string section_error =
      "\t\tERROR:-  125 - Application-defined or object-defined error\r\n";
  EXPECT_EQ(ctx.error_description(), section_error);
  EXPECT_EQ(log->text(),
            "\t\tERROR:-  125 - Nothing to put in place of x.*: qxlgy150 has "
            "no fields of 'x' for the application LEG\r\n" +
                section_error);
}

TEST_F(LegacyQueryTest, TextOrDatetimeFieldReadsTheDataType) {
  EXPECT_TRUE(Is_Text_Or_Datetime_Field(ctx, "LEG", "cust\t.\r\nNAME$"));
  EXPECT_FALSE(Is_Text_Or_Datetime_Field(ctx, "LEG", "cust.CODE"));
  EXPECT_FALSE(Is_Text_Or_Datetime_Field(ctx, "OTH", "cust.NAME$"));
  // A quote in the reference is part of the value, not of the query.
  EXPECT_FALSE(Is_Text_Or_Datetime_Field(ctx, "LEG", "o'x.y"));
}

TEST(LegacyLookupFailureTest, AFailingLookupFailsTheTranslation) {
  // The fake repository refuses every query.
  testing::TestContext t(GeneratorKind::kLegacy);
  const VbError raised =
      RaisedError([&] { Is_Text_Or_Datetime_Field(t.ctx, "LEG", "x.y"); });
  EXPECT_EQ(raised.number(), errors::kQueryRefused);

  std::string out = "stale";
  EXPECT_FALSE(Convert_Legacy_Query(t.ctx, "select x.y from t", "LEG", &out));
  EXPECT_EQ(out, "");
  EXPECT_EQ(t.ctx.error_description(),
            "\t\tERROR:- -2147217900 - unexpected query: select dtyp from "
            "qxlgy150 where appl ='LEG' and flno + flna ='xy'\r\n");
  EXPECT_EQ(t.log->text(), t.ctx.error_description());
}

}  // namespace
}  // namespace mx::legacy
