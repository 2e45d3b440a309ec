// The split information file: its lines, its owner-only permissions, and
// that it is replaced whole or, after a failure, not there at all.
#include "split/split_info_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "testing/temp_dir.h"
#include "testing/test_context.h"

namespace mx::legacy {
namespace {

using testing::Rows;

const std::vector<std::string> kSplitColumns = {"ttbl", "stbl", "flst"};

// Names the application and table it was asked about.
std::string FakeConnection(BuildContext&, const std::string& application,
                           const std::string& table) {
  return "<constr> " + application + ":" + table + "</constr>";
}

void AnswerTwoObjects(testing::TestContext& t) {
  t.repo->Answer("select * from qxmap100 where mprf=7",
                 Rows({"mprf", "sapp"}, {{7, "LEG"}}));
  t.repo->Answer("select distinct ttbl  from qxmap300",
                 Rows({"ttbl"}, {{"abcde001"}, {"abcde002"}}));
  t.repo->Answer("select * from qxmap300 where ttbl = 'abcde001'",
                 Rows(kSplitColumns, {{"abcde001", "a.txt", "k, m"}}));
  t.repo->Answer("select * from qxmap300 where ttbl = 'abcde002'",
                 Rows(kSplitColumns, {}));
}

TEST(ConstructSplitInfoFile, EveryObjectWithItsSourceTablesAndFields) {
  testing::TestContext t(GeneratorKind::kLegacy);
  testing::TempDir dir;
  const std::string file = dir / "splitinfo.xml";
  Env::Default()->WriteFile(file, "an earlier, longer file's text");
  AnswerTwoObjects(t);

  ASSERT_TRUE(
      ConstructSplitInfoFile(t.ctx, *Env::Default(), FakeConnection, 7, file));
  EXPECT_EQ(Env::Default()->ReadFile(file),
            "<conversionobjects>\r\n"
            "\r\n<conversionobject>\r\n"
            "\t<name>abcde001</name>\r\n"
            "\r\n\t\t<sourcetables>\r\n"
            "\r\n<sourcetable>\r\n"
            "\r\n<name>a.txt</name>\r\n"
            "\r\n<constr> LEG:a.txt</constr>\r\n"
            "\r\n<fields>\r\n"
            "\r\n<field>\r\n\r\n<name>k</name>\r\n\r\n<from></from>\r\n"
            "\r\n<to></to>\r\n\r\n</field>\r\n"
            // the entry as stored, its blank included
            "\r\n<field>\r\n\r\n<name> m</name>\r\n\r\n<from></from>\r\n"
            "\r\n<to></to>\r\n\r\n</field>\r\n"
            "\r\n</fields>\r\n"
            "\r\n</sourcetable>\r\n"
            "\r\n\t\t</sourcetables>\r\n"
            "\r\n</conversionobject>\r\n"
            "\r\n<conversionobject>\r\n"
            "\t<name>abcde002</name>\r\n"
            "\r\n</conversionobject>\r\n"
            "</conversionobjects>\r\n");
  // It carries connection data: its owner's only.
  struct stat status;
  ASSERT_EQ(stat(file.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
  EXPECT_EQ(t.log->text(), "");
}

TEST(ConstructSplitInfoFile, NoSplitRowsGiveAnEmptyFileAndNoProfileNoApp) {
  testing::TestContext t(GeneratorKind::kLegacy);
  testing::TempDir dir;
  const std::string file = dir / "splitinfo.xml";
  t.repo->Answer("select * from qxmap100 where mprf=-3",
                 Rows({"mprf", "sapp"}, {}));
  t.repo->Answer("select distinct ttbl  from qxmap300", Rows({"ttbl"}, {}));
  ASSERT_TRUE(
      ConstructSplitInfoFile(t.ctx, *Env::Default(), FakeConnection, -3, file));
  EXPECT_EQ(Env::Default()->ReadFile(file), "");
}

TEST(ConstructSplitInfoFile, AFailureLeavesNoFileAndNoMessage) {
  testing::TestContext t(GeneratorKind::kLegacy);
  testing::TempDir dir;
  const std::string file = dir / "splitinfo.xml";
  Env::Default()->WriteFile(file, "stale");
  AnswerTwoObjects(t);
  const ConnectionFragment failing = [](BuildContext&, const std::string&,
                                        const std::string&) -> std::string {
    throw VbError(errors::kQueryRefused, "test", "refused");
  };
  EXPECT_FALSE(
      ConstructSplitInfoFile(t.ctx, *Env::Default(), failing, 7, file));
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(t.log->text(), "");
  EXPECT_EQ(t.ctx.error_description(), "");

  // A folder that is not there: False, nothing raised.
  EXPECT_FALSE(ConstructSplitInfoFile(t.ctx, *Env::Default(), FakeConnection, 7,
                                      dir / "missing/splitinfo.xml"));
}

}  // namespace
}  // namespace mx::legacy
