// How the two generator classes store their settings: defaults, the range
// bounds, the generation option and its status filter, and the
// ClearXMLDirectory action on a recording file system and on disk.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "interface/cls_xml_generator.h"
#include "interface/cls_xml_legacy.h"
#include "platform/env.h"
#include "raised.h"

namespace mx {
namespace {

namespace fs = std::filesystem;

constexpr char kAllStatuses[] = "'V','G','M','E','X','D'";

TEST(GeneratorSettings, FreshObjectsStartAsDocumented) {
  ClsXMLGenerator g;
  const GeneratorSettings& s = g.context().settings;
  EXPECT_EQ(s.status_filter, "'V','G','E'");
  EXPECT_TRUE(s.traverse_generation);
  EXPECT_FALSE(s.consider_checked_out_versions);
  EXPECT_EQ(s.package_from, "  ");
  EXPECT_EQ(s.package_to, "  ");
  EXPECT_EQ(s.module_from, "   ");
  EXPECT_EQ(s.module_to, "   ");
  EXPECT_EQ(s.table_from, "   ");
  EXPECT_EQ(s.table_to, "   ");
  EXPECT_EQ(g.get_ListOfXMLGenerated(), "");
  EXPECT_EQ(g.get_NoOfXMLGenerated(), 0);
  EXPECT_EQ(g.context().kind(), GeneratorKind::kDataDictionary);

  ClsXMLLegacy l;
  const GeneratorSettings& ls = l.context().settings;
  EXPECT_EQ(ls.status_filter, "");
  EXPECT_FALSE(ls.traverse_generation);
  EXPECT_EQ(ls.package_from, "");
  EXPECT_EQ(ls.table_to, "");
  EXPECT_EQ(ls.migration_profile, 0);
  EXPECT_EQ(l.context().reporter.log(), nullptr);
  EXPECT_EQ(l.context().kind(), GeneratorKind::kLegacy);
}

TEST(GeneratorSettings, RangeBoundsAreFittedOnTheDataDictionaryClass) {
  struct Case {
    std::string in, package, module, table;
  } cases[] = {
      {"TCX", "tc", "tcx", "tcx"}, {"", "  ", "   ", "000"},
      {"A", "a ", "a  ", "00a"},   {"1234", "12", "123", "234"},
      {" 7", " 7", " 7 ", "0 7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("value '" + c.in + "'");
    ClsXMLGenerator g;
    g.put_PackageFrom(c.in);
    g.put_ModuleFrom(c.in);
    g.put_TableFrom(c.in);
    g.put_PackageTo(c.in);
    g.put_ModuleTo(c.in);
    g.put_TableTo(c.in);
    const GeneratorSettings& s = g.context().settings;
    EXPECT_EQ(s.package_from, c.package);
    EXPECT_EQ(s.module_from, c.module);
    EXPECT_EQ(s.table_from, c.table);
    EXPECT_EQ(s.package_to, c.package);
    EXPECT_EQ(s.module_to, c.module);
    EXPECT_EQ(s.table_to, c.table);
  }
  ClsXMLGenerator g;  // a number through dispatch reads as its text
  g.PutProperty("TableFrom", Variant(int32_t{1}));
  EXPECT_EQ(g.context().settings.table_from, "001");
}

TEST(GeneratorSettings, LegacyLowerCasesCodesAtAnyLengthAndKeepsTables) {
  ClsXMLLegacy l;
  l.put_PackageFrom("TCX");
  l.put_ModuleFrom("ABCDE");
  l.put_TableFrom("1");
  l.put_PackageTo("");
  l.put_ModuleTo("M");
  l.put_TableTo("AB12");
  const GeneratorSettings& s = l.context().settings;
  EXPECT_EQ(s.package_from, "tcx");
  EXPECT_EQ(s.module_from, "abcde");
  EXPECT_EQ(s.table_from, "1");
  EXPECT_EQ(s.package_to, "");
  EXPECT_EQ(s.module_to, "m");
  EXPECT_EQ(s.table_to, "AB12");
}

TEST(GeneratorSettings, MigrationProfileIs16BitOnlyOnTheDataDictionaryClass) {
  ClsXMLGenerator g;
  g.PutProperty("MigrationProfile", Variant(int32_t{12}));
  VbError e = Raised(
      [&] { g.PutProperty("MigrationProfile", Variant(int32_t{40000})); });
  EXPECT_EQ(e.number(), errors::kOverflow);
  EXPECT_EQ(g.context().settings.migration_profile, 12);

  ClsXMLLegacy l;
  l.PutProperty("MigrationProfile", Variant(int32_t{40000}));
  EXPECT_EQ(l.context().settings.migration_profile, 40000);
}

TEST(GeneratorSettings, GenerationOptionSetsTheFilterOnlyForKnownValues) {
  ClsXMLGenerator g;
  const GeneratorSettings& s = g.context().settings;
  g.put_XMLGenerationOption(ONLY_DEFAULT_GENERATED);
  EXPECT_EQ(s.status_filter, "'G'");  // not the fresh object's 'V','G','E'
  g.put_XMLGenerationOption(GENERATED_VERIFIED_MAINTAINED);
  EXPECT_EQ(s.status_filter, kAllStatuses);
  EXPECT_EQ(s.xml_generation_option, 4);
  g.put_XMLGenerationOption(GENERATED_AND_VERIFIED);
  EXPECT_EQ(s.status_filter, "'V','G'");

  g.PutProperty("XMLGenerationOption", Variant(int32_t{7}));
  EXPECT_EQ(s.status_filter, "'V','G'");
  EXPECT_EQ(s.xml_generation_option, 7);
  g.PutProperty("XMLGenerationOption", Variant(int32_t{-1}));
  EXPECT_EQ(s.status_filter, "'V','G'");

  g.PutProperty("XMLGenerationOption", Variant(int32_t{5}));
  EXPECT_EQ(s.status_filter, kAllStatuses);
  EXPECT_EQ(s.xml_generation_option, 5);
}

// Records the folder operations; touches nothing.
class RecordingEnv : public Env {
 public:
  bool FolderExists(const std::string& p) override {
    calls.push_back("exists " + p);
    return folder_exists;
  }
  void CreateFolder(const std::string& p) override {
    calls.push_back("create " + p);
  }
  void DeleteFolder(const std::string& p) override {
    calls.push_back("delete " + p);
  }
  bool FileExists(const std::string&) override { return false; }
  void DeleteFile(const std::string& p) override {
    calls.push_back("delete file " + p);
  }
  void WriteFile(const std::string& p, std::string_view) override {
    calls.push_back("write " + p);
  }
  void WriteOwnerOnlyFile(const std::string& p, std::string_view) override {
    calls.push_back("write owner-only " + p);
  }
  std::string ReadFile(const std::string&) override { return ""; }

  bool folder_exists = true;
  std::vector<std::string> calls;
};

TEST(ClearXMLDirectory, BlankOrUnsetPathIsOnlyTrimmed) {
  RecordingEnv env;
  ClsXMLGenerator g;
  g.context().env = &env;
  g.put_ClearXMLDirectory(true);  // before XMLPath: acts on an empty path
  g.put_XMLPath("   ");
  g.put_ClearXMLDirectory(true);
  EXPECT_EQ(g.context().settings.xml_path, "");
  g.put_XMLPath("  out dir  ");
  g.put_ClearXMLDirectory(false);
  EXPECT_EQ(g.context().settings.xml_path, "out dir");

  EXPECT_TRUE(env.calls.empty());
}

TEST(ClearXMLDirectory, RecreatesTheFolderWhetherOrNotItExisted) {
  RecordingEnv env;
  ClsXMLLegacy l;
  l.context().env = &env;
  l.put_XMLPath(" out ");
  l.put_ClearXMLDirectory(true);
  env.folder_exists = false;
  l.put_ClearXMLDirectory(true);
  EXPECT_EQ(env.calls,
            (std::vector<std::string>{"exists out", "delete out", "create out",
                                      "exists out", "create out"}));
}

TEST(ClearXMLDirectory, NeverTouchesTheFilesystemRoot) {
  RecordingEnv env;
  ClsXMLGenerator g;
  g.context().env = &env;
  for (const char* root : {"/", " / ", "//", "/tmp/..", "/./"}) {
    g.put_XMLPath(root);
    g.put_ClearXMLDirectory(true);
  }
  EXPECT_TRUE(env.calls.empty());
}

class ClearXMLDirectoryOnDisk : public testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("mx_interface_test_" + std::to_string(getpid()) + "_" +
             testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override {
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(root_, ec)) {
      fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add,
                      ec);
    }
    fs::remove_all(root_, ec);
  }

  static void ReadOnlyFile(const fs::path& p) {
    std::ofstream(p) << "x";
    fs::permissions(p, fs::perms::owner_read | fs::perms::group_read);
  }

  fs::path root_;
};

TEST_F(ClearXMLDirectoryOnDisk, DeletesReadOnlyContentsAndRecreates) {
  const fs::path out = root_ / "out";
  fs::create_directories(out / "tcx001");
  ReadOnlyFile(out / "a.XML");
  ReadOnlyFile(out / "tcx001" / "xtcx0010.XML");
  fs::permissions(out / "tcx001",
                  fs::perms::owner_read | fs::perms::owner_exec);

  ClsXMLGenerator g;
  g.put_XMLPath(" " + out.string() + " ");
  g.put_ClearXMLDirectory(true);
  EXPECT_TRUE(fs::is_directory(out));
  EXPECT_TRUE(fs::is_empty(out));

  fs::remove(out);
  g.put_ClearXMLDirectory(true);
  EXPECT_TRUE(fs::is_directory(out));
}

TEST_F(ClearXMLDirectoryOnDisk, FailureReachesTheCaller) {
  ClsXMLGenerator g;
  g.put_XMLPath((root_ / "missing" / "out").string());
  EXPECT_EQ(Raised([&] { g.put_ClearXMLDirectory(true); }).number(),
            errors::kPathNotFound);
}

}  // namespace
}  // namespace mx
