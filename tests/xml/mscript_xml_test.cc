// The M-script builder's refusals: a child without a parent, and a parent
// without members. Complete M-script documents are covered by the golden
// runs dd_mscript and dd_mscript_faults.
#include "xml/mscript_xml.h"

#include "gtest/gtest.h"
#include "testing/temp_dir.h"
#include "testing/test_context.h"

namespace mx::dd {
namespace {

using testing::Rows;

ConversionObject Child() {
  ConversionObject o;
  o.profile = 4;
  o.vers = "V1  ";
  o.rele = "01";
  o.cust = "CUS1";
  o.cpac = "ab";
  o.cmod = "cde";
  o.flno = "010";
  o.sapp = "SAPP";
  o.tapp = "TAPP";
  return o;
}

const char kParentQuery[] =
    "Select bpac,bmod,bflno from qxmap170  where mprf = 4 and vers = 'V1  ' "
    "and rele = '01' and cust = 'CUS1' and cpac = 'ab' and cmod = 'cde' and "
    "cflno = '010'";

struct MScriptFixture : public ::testing::Test {
  void SetUp() override {
    t.object.settings.xml_path = dir.path().string();
    t.repo->set_default_empty(true);
  }
  testing::TempDir dir;
  testing::TestContext t;
};

TEST_F(MScriptFixture, ChildWithoutParentIs991) {
  EXPECT_EQ(Create_MScript_XML(t.ctx, *t.object.env, Child()), std::nullopt);
  EXPECT_EQ(t.ctx.error_description(),
            "\t\tERROR: 991:No Parent M-Script Defined for child M-script "
            "abcde010");
}

// A parent code that does not fit (read back shorter than stored) finds no
// members: the object fails before anything is built or written.
TEST_F(MScriptFixture, ParentWithoutMembersIs1011AndWritesNothing) {
  t.repo->Answer(kParentQuery,
                 Rows({"bpac", "bmod", "bflno"}, {{"tcx", "par", "003"}}));
  EXPECT_EQ(Create_MScript_XML(t.ctx, *t.object.env, Child()), std::nullopt);
  EXPECT_EQ(t.ctx.error_description(),
            "\t\tERROR: 1011:The M-script tcpar003 has no member tables");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  EXPECT_EQ(t.repo->sent().size(), 2u);
}

}  // namespace
}  // namespace mx::dd
