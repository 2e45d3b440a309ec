// The SRC_INFO element and the connection data and file details behind it,
// on a temporary SQLite repository (so every query runs as written), and the
// legacy wording of their errors.
#include "dictionary/legacy_source_info_tag.h"

#include <gtest/gtest.h>

#include <string>

#include "dictionary/legacy_connections.h"
#include "dictionary/legacy_files.h"
#include "repository/temp_repository.h"
#include "testing/test_context.h"

namespace mx::legacy {
namespace {

using repository::testing::TempRepository;

class LegacySources : public ::testing::Test {
 protected:
  LegacySources() : t_(GeneratorKind::kLegacy) {
    repository_.Exec(
        "insert into qxlgy141 (appl, cpac, cmod, flno, nskp) values"
        " ('SAPP', 'qx', 'fil', 'a.txt', 2);"
        "insert into qxlgy150 (appl, cpac, cmod, flno, flna, seqn) values"
        " ('SAPP', 'qx', 'fil', 'a.txt', 'no', 1),"
        " ('SAPP', 'qx', 'fil', 'a.txt', 'name', 2),"
        " ('SAPP', 'qx', 'tbl', 'tbl1', 'id', 1);"
        "insert into qxlgy140 (appl, cpac, cmod, flno, sour, logn, pswd) values"
        " ('SAPP', 'qx', 'tbl', 'TBL1', 'dsn&1', 'u<1', 'p\"w'),"
        " ('SAPP', 'qx', 'tbl', 'bare', 'dsn', null, null);");
    t_.object.settings.connection_string = "Data Source=" + repository_.path();
  }

  TempRepository repository_;
  testing::TestContext t_;
  std::string text_ = "stale";
};

TEST_F(LegacySources, FilesAndTablesOfTheSourceList) {
  ASSERT_TRUE(
      Construct_Source_Info_Tag(t_.ctx, "SAPP", " a.txt ,tbl1, c.csv", &text_));
  EXPECT_EQ(text_,
            "<SRC_INFO>"
            "<A_TXT><NSKP>2</NSKP><SFLD>a_no|a_name|</SFLD></A_TXT>\r\n"
            "<TBL1><DSN>dsn&amp;1</DSN>\r\n<LOGN>u&lt;1</LOGN>\r\n"
            "<PSWD>p&quot;w</PSWD>\r\n<SFLD>tbl1_id|</SFLD></TBL1>\r\n"
            "<C_CSV></C_CSV>\r\n"  // a file without a row: nothing to say
            "</SRC_INFO>");
  EXPECT_EQ(t_.log->text(), "");

  ASSERT_TRUE(Construct_Source_Info_Tag(t_.ctx, "SAPP", "", &text_));
  EXPECT_EQ(text_, "<SRC_INFO></SRC_INFO>");
}

TEST_F(LegacySources, ATableWithoutConnectionDataIsError124) {
  EXPECT_FALSE(Construct_Source_Info_Tag(t_.ctx, "SAPP", "tbl1,gone", &text_));
  EXPECT_EQ(text_, "");
  EXPECT_EQ(t_.log->text(),
            "\t\tERROR:-  124 - Table details for the  Legacy table qxtblgone "
            "not present.\r\n");
}

TEST_F(LegacySources, ConnectionFragments) {
  // Only the data source is escaped; the table name is compared as stored.
  EXPECT_EQ(GetConnStr(t_.ctx, "SAPP", "TBL1"),
            "<constr> <dsn> dsn&amp;1</dsn> <logn>u<1</logn> <pswd>p\"w</pswd>"
            "</constr>");
  EXPECT_EQ(GetConnStr(t_.ctx, "SAPP", "tbl1"), "");
  EXPECT_EQ(GetConnStr(t_.ctx, "SAPP", "bare"),
            "<constr> <dsn> dsn</dsn> <logn></logn> <pswd></pswd></constr>");

  ASSERT_TRUE(
      Get_Legacy_Table_Connection(t_.ctx, "SAPP", "qx", "tbl", "Bare", &text_));
  EXPECT_EQ(text_, "<DSN>dsn</DSN>\r\n<LOGN></LOGN>\r\n<PSWD></PSWD>\r\n");
  EXPECT_FALSE(
      Get_Legacy_Table_Connection(t_.ctx, "SAPP", "qx", "fil", "bare", &text_));
  EXPECT_EQ(text_, "");
  EXPECT_EQ(t_.log->text(), "");
}

TEST(LegacyFileDetails, AFailedReadNamesTheFile) {
  testing::TestContext t(GeneratorKind::kLegacy);
  const std::string query =
      " select * from qxlgy141  where appl='SAPP' and cpac='qx'  and "
      "cmod='fil'  and flno='a.txt'";
  std::string text = "stale";
  EXPECT_FALSE(Construct_Source_Info_Tag(t.ctx, "SAPP", "a.txt", &text));
  EXPECT_EQ(t.log->text(),
            "\t\tERROR in Get_Legacy_File_details :- -2147217900 - unexpected "
            "query: " +
                query +
                "\r\nHint : for File : qxfila.txt\r\n"
                "\t\tERROR:-  124 - File Details for qxfila.txt not "
                "present.\r\n");
}

}  // namespace
}  // namespace mx::legacy
