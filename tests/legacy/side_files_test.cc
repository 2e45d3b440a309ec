// The side files of a legacy run in their order: the conversion codes
// (enciphered and plain), Schema.ini and the lookup-application file, with
// the owner-only mode of the file that carries a password and the error of a
// side file that cannot be written.
#include "legacy/side_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "repository/temp_repository.h"
#include "testing/temp_dir.h"
#include "testing/test_context.h"
#include "xml/cipher.h"

namespace mx::legacy {
namespace {

namespace fs = std::filesystem;
using repository::testing::RaisedError;
using repository::testing::TempRepository;

constexpr char kCodes[] = "<CONVERSION-CODES><A>1-x</A></CONVERSION-CODES>";

class SideFiles : public ::testing::Test {
 protected:
  SideFiles() : t_(GeneratorKind::kLegacy) {
    repo_.Exec(
        "insert into qxlgy115 (code, ival, oval) values ('A', '1', 'x');"
        "insert into qxlgy141 (appl, cpac, cmod, flno, sepr, tcol) values"
        " ('SAPP', 'qx', 'fil', 'a.txt', ',', 1);"
        "insert into qxddi101 (appl, sour, logn, pswd) values"
        " ('LOOK', 'dsn&1', 'me', null);");
    t_.object.settings.connection_string = "Data Source=" + repo_.path();
    t_.object.settings.xml_path = xml_.path().string();
    t_.object.settings.schema_ini_path = ini_.path().string();
  }

  bool Write(const std::string& lookup, int32_t profile = 0) {
    return WriteSideFiles(t_.ctx, *Env::Default(),
                          {"SAPP           ", lookup, {}, profile});
  }
  static std::string Read(const std::string& path) {
    return Env::Default()->ReadFile(path);
  }
  static int EntryCount(const fs::path& folder) {
    return static_cast<int>(std::distance(fs::directory_iterator(folder),
                                          fs::directory_iterator()));
  }

  TempRepository repo_;
  testing::TempDir xml_, ini_;
  testing::TestContext t_;
};

TEST_F(SideFiles, WritesEveryFileAndLogsInOrder) {
  ASSERT_TRUE(Write("LOOK"));
  EXPECT_EQ(t_.log->text(),
            "\t\tConversion Code XML Createad Successfully.\r\n"
            "\t\tSchema.ini File Built Successfully.\r\n"
            "\t\tLookupApplication  File Built Successfully.\r\n");
  const std::string enciphered = Read(xml_ / "xConversionCodes");
  EXPECT_EQ(enciphered.size(), std::string(kCodes).size() + kCipherSaltLength);
  EXPECT_EQ(DecipherText(enciphered), kCodes);
  EXPECT_EQ(Read(xml_ / "xConversionCodes.XML"), kCodes);
  EXPECT_EQ(Read(ini_ / "Schema.ini").rfind("[a.txt]\r\n", 0), 0u);
  EXPECT_EQ(Read(xml_ / "LookupApplication.txt"), "dsn&1\r\nme\r\n\r\n");
}

TEST_F(SideFiles, LookupFileIsOwnerOnlyWhateverTheUmask) {
  const mode_t saved = umask(0);
  const bool written = Write("LOOK");
  umask(saved);
  ASSERT_TRUE(written);
  struct stat st;
  ASSERT_EQ(stat((xml_ / "LookupApplication.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  ASSERT_EQ(stat((ini_ / "Schema.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0666u);
}

TEST_F(SideFiles, NoLookupApplicationWritesNoLookupFile) {
  ASSERT_TRUE(Write(""));
  EXPECT_FALSE(fs::exists(xml_ / "LookupApplication.txt"));
}

TEST_F(SideFiles, UnknownLookupApplicationLeavesAnEmptyFileAndFails) {
  const VbError e = RaisedError([&] { (void)Write("NONE"); });
  EXPECT_EQ(e.number(), 124);
  EXPECT_EQ(e.description(),
            "Error encountered while Creating LookupApplication file");
  EXPECT_EQ(Read(xml_ / "LookupApplication.txt"), "");
}

TEST_F(SideFiles, FailedConversionCodesEndTheRunQuietly) {
  repo_.Exec("drop table qxlgy115;");
  EXPECT_FALSE(Write("LOOK"));
  EXPECT_EQ(EntryCount(xml_.path()), 0);
  EXPECT_EQ(EntryCount(ini_.path()), 0);
}

// A read-only Schema.ini is refused even to the superuser; it stays as it
// was, no temporary file is left beside it, and the run gets error 124.
TEST_F(SideFiles, SchemaIniThatCannotBeReplacedIsKept) {
  Env::Default()->WriteFile(ini_ / "Schema.ini", "earlier");
  fs::permissions(ini_ / "Schema.ini", fs::perms::owner_read);
  const VbError e = RaisedError([&] { (void)Write("LOOK"); });
  EXPECT_EQ(e.number(), 124);
  EXPECT_EQ(e.source(), "XML Generation");
  EXPECT_EQ(e.description(),
            "Error encountered while building schema.ini file");
  EXPECT_EQ(t_.log->text(),
            "\t\tConversion Code XML Createad Successfully.\r\n"
            "\t\tERROR in Build_Schema_ini :-  70 - Permission denied\r\n");
  EXPECT_EQ(Read(ini_ / "Schema.ini"), "earlier");
  EXPECT_EQ(EntryCount(ini_.path()), 1);
  EXPECT_FALSE(fs::exists(xml_ / "LookupApplication.txt"));
}

TEST_F(SideFiles, ReadOnlyFolderLeavesNoPartialSchemaIni) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser writes any folder";
  fs::permissions(ini_.path(), fs::perms::owner_read | fs::perms::owner_exec);
  const VbError e = RaisedError([&] { (void)Write(""); });
  fs::permissions(ini_.path(), fs::perms::owner_all);
  EXPECT_EQ(e.number(), 124);
  EXPECT_NE(t_.log->text().find("\t\tERROR in Build_Schema_ini :-  75 - "),
            std::string::npos);
  EXPECT_EQ(EntryCount(ini_.path()), 0);
}

// Split runs end with the split information of the run's profile: the
// source tables' connection data come from the profile's source application.
TEST_F(SideFiles, SplitRunsWriteTheSplitInformationLast) {
  repo_.Exec(
      "insert into qxmap100 (mprf, sapp) values (3, 'SAPP');"
      "insert into qxlgy140 (appl, cpac, cmod, flno, sour, logn, pswd) values"
      " ('SAPP', 'qx', 'fil', 'a.txt', 'dsn1', 'me', 'pw');"
      "insert into qxmap300 (ttbl, stbl, flst) values ('abcdex', 'a.txt', "
      "'k');");
  ASSERT_TRUE(Write("", 3));
  EXPECT_FALSE(fs::exists(xml_ / "splitinfo.xml"));

  const std::string log_without_split = t_.log->text();
  t_.object.settings.split_vshells = true;
  ASSERT_TRUE(Write("", 3));
  EXPECT_EQ(t_.log->text(), log_without_split + log_without_split);
  const std::string info = Read(xml_ / "splitinfo.xml");
  EXPECT_NE(info.find("\r\n<name>a.txt</name>\r\n\r\n<constr> <dsn> dsn1</dsn>"
                      " <logn>me</logn> <pswd>pw</pswd></constr>\r\n"),
            std::string::npos)
      << info;
}

// The run does not look at the result of the split information: a failure
// leaves no file (not even an earlier one) and the run goes on.
TEST_F(SideFiles, FailedSplitInformationLetsTheRunSucceed) {
  t_.object.settings.split_vshells = true;
  Env::Default()->WriteFile(xml_ / "splitinfo.xml", "earlier");
  repo_.Exec("drop table qxmap300;");
  EXPECT_TRUE(Write("LOOK", 3));
  EXPECT_FALSE(fs::exists(xml_ / "splitinfo.xml"));
  EXPECT_EQ(t_.log->text().find("ERROR"), std::string::npos) << t_.log->text();
}

// The split information takes the profile as a 16-bit number: a larger one
// ends the run with error 6 after the other side files, rather than write
// the information of another profile.
TEST_F(SideFiles, ProfileBeyondSixteenBitsIsAnOverflow) {
  t_.object.settings.split_vshells = true;
  const VbError e = RaisedError([&] { (void)Write("", 40000); });
  EXPECT_EQ(e.number(), errors::kOverflow);
  EXPECT_TRUE(fs::exists(ini_ / "Schema.ini"));
  EXPECT_FALSE(fs::exists(xml_ / "splitinfo.xml"));
}

}  // namespace
}  // namespace mx::legacy
