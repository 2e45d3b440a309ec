// Schema.ini on a temporary SQLite repository: delimited and fixed-length
// sections, the names derived from flno, and a folder that cannot take the
// file.
#include "legacy/schema_ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "repository/temp_repository.h"
#include "testing/temp_dir.h"
#include "testing/test_context.h"

namespace mx::legacy {
namespace {

using repository::testing::TempRepository;

class SchemaIni : public ::testing::Test {
 protected:
  SchemaIni() : t_(GeneratorKind::kLegacy) {
    t_.object.settings.connection_string = "Data Source=" + repo_.path();
    t_.object.settings.schema_ini_path = dir_.path().string();
  }

  // The application code as the run passes it: padded to 15 characters.
  bool Build() {
    return Build_Schema_ini(t_.ctx, *Env::Default(), "SAPP           ");
  }
  std::string Written() {
    return Env::Default()->ReadFile(dir_ / "Schema.ini");
  }

  TempRepository repo_;
  testing::TempDir dir_;
  testing::TestContext t_;
};

TEST_F(SchemaIni, DelimitedAndFixedLengthSections) {
  repo_.Exec(
      "insert into qxlgy141 (appl, cpac, cmod, flno, sepr, tcol, nskp) values"
      " ('SAPP', 'qx', 'fil', 'D:\\in\\cust.txt', ',', 1, 1),"
      " ('SAPP', 'qx', 'fil', 'D:\\fix\\cust.dat', null, null, 0);"
      "insert into qxlgy150 (appl, cpac, cmod, flno, flna, seqn, dtyp, spos,"
      " epos) values"
      " ('SAPP           ', 'qx', 'fil', 'D:\\in\\cust.txt', 'AMT', 2, 'D',"
      " null, null),"
      " ('SAPP           ', 'qx', 'fil', 'D:\\in\\cust.txt', 'NAME$', 1, 'u',"
      " null, null),"
      " ('SAPP           ', 'qx', 'fil', 'D:\\fix\\cust.dat', 'CODE', 1, 'L',"
      " 1, 6),"
      " ('SAPP           ', 'qx', 'fil', 'D:\\fix\\cust.dat', 'X', 2, 'Q',"
      " 7, null);");
  ASSERT_TRUE(Build());
  EXPECT_EQ(Written(),
            "[cust.txt]\r\n"
            "Format=CSVDelimited\r\n"
            "ColNameHeader=True\r\n"
            "CharacterSet=ANSI\r\n"
            "Col1 = cust_NAME Text width  255\r\n"
            "Col2 = cust_AMT Double width  255\r\n"
            "\r\n"
            "[cust.dat]\r\n"
            "Format=FixedLength\r\n"
            "ColNameHeader=False\r\n"
            "CharacterSet=ANSI\r\n"
            "Col1 = cust_CODE Long width 5\r\n"
            "Col2 = cust_X Text width \r\n"
            "\r\n");
}

TEST_F(SchemaIni, SeparatorWordsAndPlainFileNames) {
  repo_.Exec(
      "insert into qxlgy141 (appl, cpac, cmod, flno, sepr, tcol) values"
      " ('SAPP', 'qx', 'fil', 'a', 'tab', 0),"
      " ('SAPP', 'qx', 'fil', 'b', ';', 0),"
      " ('SAPP', 'qx', 'fil', 'c', '', 0),"
      " ('SAPP', 'qx', 'tbl', 'd', ',', 0);");
  ASSERT_TRUE(Build());
  EXPECT_EQ(Written(),
            "[a]\r\nFormat=TabDelimited\r\nColNameHeader=False\r\n"
            "CharacterSet=ANSI\r\n\r\n"
            "[b]\r\nFormat=Delimited(;)\r\nColNameHeader=False\r\n"
            "CharacterSet=ANSI\r\n\r\n"
            "[c]\r\nFormat=Delimited()\r\nColNameHeader=False\r\n"
            "CharacterSet=ANSI\r\n\r\n");
}

TEST_F(SchemaIni, ApplicationWithoutFilesLeavesAnEarlierFileAlone) {
  Env::Default()->WriteFile(dir_ / "Schema.ini", "earlier");
  ASSERT_TRUE(Build());
  EXPECT_EQ(Written(), "earlier");
}

TEST_F(SchemaIni, EmptyFolderIsPathNotFound) {
  repo_.Exec(
      "insert into qxlgy141 (appl, cpac, cmod, flno) values"
      " ('SAPP', 'qx', 'fil', 'a');");
  t_.object.settings.schema_ini_path.clear();
  EXPECT_FALSE(Build());
  EXPECT_EQ(t_.log->text(),
            "\t\tERROR in Build_Schema_ini :-  76 - Path not found\r\n");
  EXPECT_EQ(t_.ctx.error_description(), t_.log->text());
}

}  // namespace
}  // namespace mx::legacy
