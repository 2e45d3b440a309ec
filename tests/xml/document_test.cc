// The document frame: the migrate count, the PRE-CONDITIONS element, and
// that a failing section leaves no file behind (and an earlier one intact).
#include <filesystem>
#include <fstream>
#include <sstream>

#include "gtest/gtest.h"
#include "testing/temp_dir.h"
#include "testing/test_context.h"
#include "xml/create_xml.h"

namespace mx::dd {
namespace {

using testing::Rows;

TEST(MigrateCount, CountsWordsThatContainMigrateInAnyCase) {
  EXPECT_EQ(CountMigrates(""), -1);
  EXPECT_EQ(CountMigrates("migrate x\r\nMIGRATE"), 1);
  EXPECT_EQ(CountMigrates("remigrated\tmigrate.all"), 1);
  EXPECT_EQ(CountMigrates("migrate  migrate"), 1);  // the empty word between
  EXPECT_EQ(CountMigrates("none here"), -1);
}

TEST(PreConditions, EmptyTextGivesThreeLinesAndEscapesOnlyThreeCharacters) {
  testing::TestContext t;
  std::string text;
  ASSERT_TRUE(Construct_PreConditions_Tag(t.ctx, "S", "T", "", &text));
  EXPECT_EQ(text, "<PRE-CONDITIONS>\r\n\r\n</PRE-CONDITIONS>\r\n");
  EXPECT_EQ(t.ctx.doc.migrate_count, -1);

  ASSERT_TRUE(Construct_PreConditions_Tag(
      t.ctx, "S", "T", "a < b & \"c\" > &lt; migrate", &text));
  EXPECT_EQ(text,
            "<PRE-CONDITIONS>\r\na &lt; b &amp; \"c\" &gt; &amp;lt; "
            "migrate\r\n</PRE-CONDITIONS>\r\n");
  EXPECT_EQ(t.ctx.doc.migrate_count, 0);
}

class DocumentOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    t.object.settings.xml_path = dir.path().string();
    // Indexes, variables, source lists, rules: none.
    t.repo->set_default_empty(true);
    t.repo->AnswerContaining("from qxmap140",
                             Rows({"fdnm", "mrul", "type", "dnum"},
                                  {{"item", "1", int64_t{0}, int64_t{1}}}));
    t.repo->Answer(
        " select fdnm , cdom , iniv , dept , mand , comb from    qxddi150  "
        "where appl = 'TAPP' AND cpac = 'ab' AND cmod = 'cde' AND flno = "
        "'001' order by fdno",
        Rows({"fdnm", "cdom", "iniv", "dept", "mand", "comb"},
             {{"item", "", Variant::MakeNull(), int64_t{0}, "N", "N"}}));
  }
  ConversionObject Object(const std::string& stbl) {
    return {7,      "V1  ", "01",  "CUS1", "ab", "cde",
            "SAPP", "TAPP", "001", "",     stbl};
  }
  std::string File() const {
    std::ifstream in(dir.path() / "abcde" / "xabcde0010.XML", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  testing::TempDir dir;
  testing::TestContext t;
};

TEST_F(DocumentOnDisk, WrittenWholeWithoutLineBreakAtTheEnd) {
  ASSERT_TRUE(Create_XML(t.ctx, *t.object.env, Object("s1,s2")));
  const std::string doc = File();
  EXPECT_EQ(doc.substr(0, 48),
            "<ABCDE001 TYPE =\"F\" TARGETTABLES = \"abcde001\">\r\n");
  EXPECT_EQ(doc.substr(doc.size() - 13), "\r\n</ABCDE001>");
}

TEST_F(DocumentOnDisk, IllFormedSectionIsReportedAndKeepsTheEarlierFile) {
  ASSERT_TRUE(Create_XML(t.ctx, *t.object.env, Object("s1")));
  const std::string earlier = File();
  t.NewDocument();
  EXPECT_FALSE(Create_XML(t.ctx, *t.object.env, Object("s1 & s2")));
  EXPECT_EQ(File(), earlier);
  EXPECT_EQ(t.log->text(),
            "\t\tERROR: 1010:Section INFO of abcde001 is not well-formed XML: "
            "not well-formed (invalid token) at line 7\r\n");
}

TEST_F(DocumentOnDisk, MissingOutputFolderIsPathNotFound) {
  t.object.settings.xml_path = (dir.path() / "gone").string();
  EXPECT_FALSE(Create_XML(t.ctx, *t.object.env, Object("s1")));
  EXPECT_EQ(t.ctx.error_description(), "\t\tERROR: 76:Path not found");
  t.object.settings.xml_path = "";
  t.NewDocument();
  EXPECT_FALSE(Create_XML(t.ctx, *t.object.env, Object("s1")));
  EXPECT_EQ(t.ctx.error_description(), "\t\tERROR: 76:Path not found");
}

}  // namespace
}  // namespace mx::dd
