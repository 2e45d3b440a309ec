// The demo as a newcomer runs it: one command that builds the repository,
// runs both classes (with and without a split over worker shells) and leaves
// every file where it says, the legacy class's enciphered files beside
// their plain text.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/xml_check.h"
#include "testing/golden_scenario.h"
#include "testing/temp_dir.h"
#include "xml/cipher.h"

namespace mx {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// One demo for every test of the suite: it takes a few seconds.
class DemoTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tmp_ = new testing::TempDir;
    status_ = testing::RunProgram(MX_BINARY, {"demo", Dir().string()},
                                  *tmp_ / "stdout", *tmp_ / "stderr");
    out_ = ReadAll(*tmp_ / "stdout");
  }
  static void TearDownTestSuite() { delete tmp_; }

  static fs::path Dir() { return tmp_->path() / "demo"; }

  // The plain text of an enciphered file of the demo, from the file itself.
  static std::string Plain(const std::string& path) {
    return DecipherText(ReadAll(Dir() / path));
  }

  static testing::TempDir* tmp_;
  static int status_;
  static std::string out_;
};

testing::TempDir* DemoTest::tmp_ = nullptr;
int DemoTest::status_ = -1;
std::string DemoTest::out_;

TEST_F(DemoTest, SaysWhereEveryRunWroteWhat) {
  EXPECT_EQ(status_, 0) << ReadAll(*tmp_ / "stderr");
  for (const char* log : {"demo.log", "demo-split.log", "demo-legacy.log",
                          "demo-legacy-split.log"}) {
    EXPECT_TRUE(Contains(out_, (Dir() / log).string())) << log;
    EXPECT_FALSE(ReadAll(Dir() / log).empty()) << log;
  }
  for (const char* file :
       {"xml/tcitm/xtcitm0010.XML", "xml-split/tcspl/xtcspl0010.XML",
        "legacy/tccus/xtccus0010", "legacy/Schema.ini",
        "legacy-split/splitinfo.xml", "deciphered/legacy/tccus/xtccus0010"}) {
    EXPECT_TRUE(fs::is_regular_file(Dir() / file)) << file;
    EXPECT_TRUE(Contains(out_, (Dir() / file).string())) << file;
  }
}

TEST_F(DemoTest, LegacyRunWritesEverySideFile) {
  const std::string schema = ReadAll(Dir() / "legacy/Schema.ini");
  EXPECT_TRUE(Contains(schema,
                       "[cust.txt]\r\nFormat=CSVDelimited\r\n"
                       "ColNameHeader=True\r\nCharacterSet=ANSI\r\n"
                       "Col1 = cust_CODE Long width  255\r\n"))
      << schema;
  EXPECT_TRUE(Contains(schema, "Col2 = cust_NAME Text width  255\r\n"));
  EXPECT_TRUE(Contains(schema,
                       "[prices.txt]\r\nFormat=FixedLength\r\n"
                       "ColNameHeader=False\r\nCharacterSet=ANSI\r\n"
                       "Col1 = prices_SUPNO Long width 6\r\n"
                       "Col2 = prices_PRICE Double width 10\r\n"))
      << schema;

  EXPECT_EQ(ReadAll(Dir() / "legacy/LookupApplication.txt"),
            "lookup_dsn\r\nreader\r\ndemo-only\r\n");

  const std::string codes =
      "<CONVERSION-CODES><PAY>1-cash &amp; card~|~2-invoice</PAY>"
      "<STATE>CA-California~|~NY-New York</STATE></CONVERSION-CODES>";
  EXPECT_EQ(ReadAll(Dir() / "legacy/xConversionCodes.XML"), codes);
  EXPECT_EQ(Plain("legacy/xConversionCodes"), codes);

  const std::string log = ReadAll(Dir() / "demo-legacy.log");
  for (const char* line : {"Conversion Code XML Createad Successfully.",
                           "Schema.ini File Built Successfully.",
                           "LookupApplication  File Built Successfully."}) {
    EXPECT_TRUE(Contains(log, line)) << line;
  }
}

TEST_F(DemoTest, LegacyDocumentsDecipherToTheirSections) {
  const std::vector<std::string> documents = {"legacy/tccus/xtccus0010",
                                              "legacy/tccus/xtccus0020",
                                              "legacy/tcgrp/xtcgrp0010"};
  for (const std::string& path : documents) {
    const std::string plain = Plain(path);
    EXPECT_EQ(ReadAll(Dir() / "deciphered" / path), plain) << path;
    const XmlCheck check = CheckWellFormed(plain);
    EXPECT_TRUE(check.well_formed)
        << path << ": " << check.message << " at line " << check.line;
    for (const char* section : {"<INFO>", "</INFO>", "<SRC_INFO>",
                                "<PRE-CONDITIONS>", "<DUMP-1 TARGET="}) {
      EXPECT_TRUE(Contains(plain, section)) << path << " lacks " << section;
    }
  }

  // Customers: the included function and its declared table, the include
  // lines in a comment and in a string left as they stand, the flat file's
  // fields in place of the asterisk.
  const std::string customers = Plain("legacy/tccus/xtccus0010");
  EXPECT_TRUE(Contains(customers, "function fmt_phone ( strPhone )"));
  EXPECT_TRUE(Contains(customers, "function state_name ( strCode )"));
  EXPECT_TRUE(Contains(customers, "<SUPP>"));
  EXPECT_TRUE(Contains(customers, "&lt;old_phone&gt;"));
  EXPECT_TRUE(Contains(customers, "&lt;not_a_function&gt;"));
  EXPECT_FALSE(Contains(customers, "&lt;fmt_phone&gt;"));
  EXPECT_TRUE(Contains(customers, "cust_CODE,cust_NAME,cust_STATE"));
  EXPECT_TRUE(Contains(customers, "[cust#txt]"));
  EXPECT_TRUE(Contains(customers, "<NSKP>1</NSKP>"));

  // Suppliers: a foreign table with its connection and aliased select
  // items, and a fixed-length file whose qualifier's asterisk is expanded.
  const std::string suppliers = Plain("legacy/tccus/xtccus0020");
  EXPECT_TRUE(Contains(suppliers, "<DSN>legacy_dsn</DSN>"));
  EXPECT_TRUE(Contains(suppliers, "supp.SUPNO  as supp_SUPNO"));
  EXPECT_TRUE(Contains(suppliers, "supp.NAME$ as supp_NAME "));
  EXPECT_TRUE(Contains(suppliers, "prices_SUPNO,prices_PRICE"));
}

TEST_F(DemoTest, SplitRunsWriteTheirRangeCode) {
  const std::string split = ReadAll(Dir() / "xml-split/tcspl/xtcspl0010.XML");
  EXPECT_TRUE(Contains(split, "tiitm001.item &gt; :from.tiitm001.item"))
      << split;
  EXPECT_TRUE(Contains(split, "tiitm010._INDEX1"));
  EXPECT_TRUE(Contains(split, "qxgct872"));

  // The legacy class reads the worker shell's range with a script of its
  // own; the split information file lists the split fields of every split
  // object, of both classes.
  const std::string legacy = Plain("legacy-split/tcspl/xtcspl0020");
  EXPECT_TRUE(Contains(legacy, "sub GetFromToRange(StrSrcTable,StrFrom,StrTo)"))
      << legacy;
  EXPECT_TRUE(Contains(legacy, "varint_from_cust_txt_CODE  =  arrfld ( 0 )"));
  EXPECT_TRUE(
      Contains(legacy, "cust_CODE  &amp;lt;=  varint_to_cust_txt_CODE"));
  EXPECT_EQ(ReadAll(Dir() / "deciphered/legacy-split/tcspl/xtcspl0020"),
            legacy);
  const std::string info = ReadAll(Dir() / "legacy-split/splitinfo.xml");
  for (const char* name :
       {"tcspl001", "INDEX1", "tcspl002", "cust.txt", "CODE"}) {
    EXPECT_TRUE(Contains(info, std::string("<name>") + name + "</name>"))
        << name << "\n"
        << info;
  }
}

TEST_F(DemoTest, AnotherDemoReplacesOnlyWhatTheDemoMade) {
  const fs::path again = tmp_->path() / "again";
  ASSERT_EQ(testing::RunProgram(MX_BINARY, {"demo", again.string()},
                                *tmp_ / "out2", *tmp_ / "err2"),
            0);
  const auto files = testing::FilesBelow(again / "deciphered");
  EXPECT_FALSE(files.empty());
  ASSERT_EQ(testing::RunProgram(MX_BINARY, {"demo", again.string()},
                                *tmp_ / "out2", *tmp_ / "err2"),
            0)
      << ReadAll(*tmp_ / "err2");
  EXPECT_EQ(testing::FilesBelow(again / "deciphered"), files);

  std::ofstream(again / "legacy/notes.txt") << "mine";
  EXPECT_EQ(testing::RunProgram(MX_BINARY, {"demo", again.string()},
                                *tmp_ / "out2", *tmp_ / "err2"),
            2);
  EXPECT_EQ(ReadAll(again / "legacy/notes.txt"), "mine");
  EXPECT_TRUE(fs::exists(again / "deciphered/legacy/tccus/xtccus0010"));
}

}  // namespace
}  // namespace mx
