// The main-query builder against a fake repository: the exact element text
// for every section code (escaped twice), empty and EndSelect-less sources,
// several sources, the migrate-count bound, the error lines, and a split
// condition carried into the select text.
#include "xml/main_query.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/test_context.h"

namespace mx::dd {
namespace {

using testing::Rows;

const char kQuery[] =
    " select * from qxmap130 where mprf = 7 AND vers = 'V1  ' AND rele = '01'"
    " AND cust = 'CUS1' AND tcpac = 'ab' AND tcmod = 'cde' AND tflno = '001'"
    " order by scpac, scmod , sflno ";

struct Section {
  const char* source;  // scpac + scmod + sflno, split 2 + 3 + rest
  const char* code;
  Variant text;
};

class MainQueryTest : public ::testing::Test {
 protected:
  MainQueryTest() { t.ctx.doc.migrate_count = 5; }

  void Answer(const std::vector<Section>& sections) {
    std::vector<std::vector<Variant>> rows;
    for (const Section& s : sections) {
      const std::string key = s.source;
      rows.push_back(
          {key.substr(0, 2), key.substr(2, 3), key.substr(5), s.code, s.text});
    }
    t.repo->Answer(kQuery, Rows({"scpac", "scmod", "sflno", "icod", "qury"},
                                std::move(rows)));
  }

  // The element text; "FAILED" when the builder returns false.
  std::string Build() {
    std::string text = "stale";
    ConversionObject object{7,      "V1  ", "01",  "CUS1", "ab", "cde",
                            "SAPP", "TAPP", "001", "",     ""};
    if (!Construct_MainQuery_Tag(t.ctx, object, &text)) {
      EXPECT_EQ(text, "");
      return "FAILED";
    }
    return text;
  }

  testing::TestContext t;
};

TEST_F(MainQueryTest, EverySectionUnderItsKeywordEscapedTwice) {
  // Codes in any case and order; an unknown code is ignored; a repeated code
  // keeps the last text.
  Answer({{"tdsls400", "x", "endsel & done"},
          {"tdsls400", "D", "do a < b"},
          {"tdsls400", "Z", "ignored"},
          {"tdsls400", "s", "select * from tdsls400 where a > 1 & b"},
          {"tdsls400", "f", "eos"},
          {"tdsls400", "O", "err first"},
          {"tdsls400", "o", "err <last>"},
          {"tdsls400", "E", "empty & none"}});
  EXPECT_EQ(Build(),
            "<tdsls400>\r\n"
            "\r\n"
            "select * from tdsls400 where a &amp;gt; 1 &amp;amp; b"
            "\r\nSelectDo\r\ndo a &amp;lt; b"
            "\r\nSelectEmpty\r\nempty &amp;amp; none"
            "\r\nSelectError\r\nerr &amp;lt;last&amp;gt;"
            "\r\nSelectEos\r\neos"
            "\r\nEndSelect\r\nendsel &amp;amp; done"
            "\r\n"
            "</tdsls400>\r\n");
  EXPECT_EQ(t.log->text(), "");
}

TEST_F(MainQueryTest, SourcesInQueryOrderEmptyWithoutSelectEndSelectAdded) {
  // A source without a select text gets an empty element whatever else it
  // has; blank sections are left out; EndSelect closes every select.
  Answer({{"aaabbb001", "D", "do"},
          {"aaabbb001", "X", "never written"},
          {"ccdddeee", "S", "select 1"},
          {"ccdddeee", "D", "   "},
          {"ccdddeee", "X", " "},
          {"ffggg9", "S", "select 2"},
          {"ffggg9", "F", "eos"}});
  EXPECT_EQ(Build(),
            "<aaabbb001>\r\n</aaabbb001>\r\n"
            "<ccdddeee>\r\n\r\nselect 1\r\nEndSelect\r\n\r\n</ccdddeee>\r\n"
            "<ffggg9>\r\n\r\nselect 2\r\nSelectEos\r\neos"
            "\r\nEndSelect\r\n\r\n</ffggg9>\r\n");
}

TEST_F(MainQueryTest, NoMigrateStatementGivesNothingAndReadsNothing) {
  t.ctx.doc.migrate_count = -1;
  EXPECT_EQ(Build(), "");
  EXPECT_TRUE(t.repo->sent().empty());
}

// Each failure: False, an empty text, and one line in the class's form.
TEST_F(MainQueryTest, FailuresAreReportedAsOneErrorLine) {
  const auto failure_line = [&]() {
    const size_t logged = t.log->text().size();
    EXPECT_EQ(Build(), "FAILED");
    EXPECT_EQ(t.log->text().substr(logged), t.ctx.error_description() + "\r\n");
    return t.ctx.error_description();
  };
  t.repo->AnswerEmpty(kQuery, {"scpac", "scmod", "sflno", "icod", "qury"});
  EXPECT_EQ(failure_line(),
            "\t\tERROR: 120:No Mainquery for the Table abcde001");

  // Named from the row itself, at any index.
  Answer({{"aaabbb001", "S", "s1"},
          {"aaabbb002", "S", "s2"},
          {"aaabbb003", "D", "d3"},
          {"aaabbb003", "S", ""}});
  EXPECT_EQ(failure_line(),
            "\t\tERROR: 121:No Proper Main query defined for the Source "
            "aaabbb003 Target abcde001 combination.");

  // Three sources where the pre-conditions migrate two.
  Answer({{"aaabbb001", "S", "s1"},
          {"aaabbb002", "S", "s2"},
          {"aaabbb003", "D", "d3"}});
  t.ctx.doc.migrate_count = 1;
  EXPECT_EQ(failure_line(), "\t\tERROR: 9:Subscript out of range");
  t.ctx.doc.migrate_count = 2;
  EXPECT_NE(Build(), "FAILED");

  Answer({{"aaabbb001", "S", Variant::MakeNull()}});
  EXPECT_EQ(failure_line(), "\t\tERROR: 94:Invalid use of Null");
}

TEST_F(MainQueryTest, SplitConditionGoesIntoTheFormattedSelect) {
  Answer({{"aaabbb001", "S", "select * from t where a<b order by a"},
          {"aaabbb002", "S", "select x from u"}});
  // Keys are looked up upper-cased; an empty condition means no split.
  t.ctx.doc.split_conditions.Add("AAABBB001", "(t.k > :f)");
  t.ctx.doc.split_conditions.Add("AAABBB002", "");
  // The comparison is escaped twice like any other select text, the
  // condition once; the formatter's trailing blank is gone.
  EXPECT_EQ(Build(),
            "<aaabbb001>\r\n\r\n"
            "select  *  from t where (a &amp;lt; b) and (t.k &gt; :f) "
            "order by a "
            "\r\nEndSelect\r\n\r\n</aaabbb001>\r\n"
            "<aaabbb002>\r\n\r\nselect x from u"
            "\r\nEndSelect\r\n\r\n</aaabbb002>\r\n");
}

}  // namespace
}  // namespace mx::dd
