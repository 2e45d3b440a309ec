// The data-dictionary run against a fake repository: which queries it sends
// in which order, and that it leaves the caller's settings as they were.
#include <algorithm>

#include "gtest/gtest.h"
#include "run/dd_generation_run.h"
#include "run/selection.h"
#include "testing/test_context.h"

namespace mx {
namespace {

using testing::Rows;

const std::vector<std::string> kProfileColumns = {
    "mprf", "sapp", "tapp", "vers", "rele", "cust",
    "verf", "relf", "cusf", "deph", "scme"};

repository::ResultSet Profile(int64_t number, const char* vers,
                              const char* verf, int64_t depth,
                              const char* scme = "N") {
  return Rows(kProfileColumns, {{number, "SAPP", "TAPP", vers, "01", "CUS1",
                                 verf, "01", "CUS1", depth, scme}});
}

const char kProfile7[] = " select qxmap100.* from qxmap100 where mprf = 7";
const char kParentOf7[] =
    " select qxmap100.* from qxmap100  where qxmap100.vers ='V0' and "
    "qxmap100.rele = '01' and qxmap100.cust = 'CUS1'";

std::string MappingQuery(int profile, const std::string& vers,
                         const std::string& filter) {
  return "select qxmap120.*  from qxmap120   where qxmap120.mprf = " +
         std::to_string(profile) + "  and qxmap120.vers ='" + vers +
         "' and qxmap120.rele ='01' and qxmap120.cust ='CUS1' and "
         "qxmap120.tcpac='ab' and qxmap120.tcmod ='cde' and "
         "qxmap120.tflno='001' and stat in (" +
         filter + " )";
}

struct RunFixture : public ::testing::Test {
  void SetUp() override {
    t.object.settings.migration_profile = 7;
    t.object.settings.status_filter = "'V','G','E'";
    t.object.settings.list_of_mapping_objects_selected = "abcde001";
    t.repo->set_default_empty(true);
    t.repo->Answer(
        " select qxddi140.cpac,qxddi140.cmod,qxddi140.flno  from qxddi140 "
        "where  qxddi140.appl ='TAPP' and  qxddi140.cpac + qxddi140.cmod + "
        "qxddi140.flno in ('abcde001')",
        Rows({"cpac", "cmod", "flno"}, {{"ab", "cde", "001"}}));
  }
  // The queries after the selection.
  std::vector<std::string> Lookups() const {
    const auto& sent = t.repo->sent();
    auto selection = std::find_if(sent.begin(), sent.end(), [](const auto& q) {
      return q.find("from qxddi140") != std::string::npos;
    });
    return std::vector<std::string>(selection + 1, sent.end());
  }
  testing::TestContext t;
};

TEST_F(RunFixture, DepthZeroMakesNoLookupAtAll) {
  t.repo->Answer(kProfile7, Profile(7, "V1", "V0", 0));
  ASSERT_TRUE(dd::GenerateXMLFile(t.object));
  EXPECT_TRUE(Lookups().empty());
  EXPECT_NE(t.log->text().find("WARNING:- No Mappings maintained for the "
                               "table :abcde001\r\n\r\n\r\n"),
            std::string::npos);
}

// The deeper levels of a profile with nothing to climb to would repeat the
// same lookup: the search ends after the first.
TEST_F(RunFixture, WithoutTraversalTheLookupIsNotRepeated) {
  t.repo->Answer(kProfile7, Profile(7, "V1", "V0", 3));
  t.object.settings.traverse_generation = false;
  ASSERT_TRUE(dd::GenerateXMLFile(t.object));
  const std::string q = MappingQuery(7, "V1  ", "'V','G','E'");
  EXPECT_EQ(Lookups(), (std::vector<std::string>{q}));
}

TEST_F(RunFixture, TraversalClimbsToTheParentWithItsOwnDepth) {
  t.repo->Answer(kProfile7, Profile(7, "V1", "V0", 1));
  t.repo->Answer(kParentOf7, Profile(3, "V0", "", 2));
  t.object.settings.traverse_generation = true;
  ASSERT_TRUE(dd::GenerateXMLFile(t.object));
  const std::string parent_of_3 =
      " select qxmap100.* from qxmap100  where qxmap100.vers ='' and "
      "qxmap100.rele = '01' and qxmap100.cust = 'CUS1'";
  EXPECT_EQ(Lookups(),
            (std::vector<std::string>{
                MappingQuery(7, "V1  ", "'V','G','E'"), kParentOf7,
                MappingQuery(3, "V0  ", "'V','G','E'"), parent_of_3}));
}

TEST_F(RunFixture, CheckedOutVersionFallsBackOnceAndAddsStatusC) {
  t.repo->Answer(kProfile7, Profile(7, "V1", "V0", 1, "Y"));
  t.repo->Answer("select dver, drel, dcus  from qxmap105 where mprf = 7",
                 Rows({"dver", "drel", "dcus"}, {{"V9", "01", "CUS1"}}));
  t.object.settings.consider_checked_out_versions = true;
  t.object.settings.traverse_generation = false;
  ASSERT_TRUE(dd::GenerateXMLFile(t.object));
  const std::string filter = "'V','G','E','C'";
  EXPECT_EQ(Lookups(),
            (std::vector<std::string>{MappingQuery(7, "V9  ", filter),
                                      MappingQuery(7, "V1  ", filter)}));
  // The run uses its own filter; the caller's settings stay as set.
  EXPECT_EQ(t.object.settings.status_filter, "'V','G','E'");
  EXPECT_EQ(t.object.settings.list_of_mapping_objects_selected, "abcde001");
}

// Each level of the chain gets its own fall-back from its checked-out
// version to its own: the parent's own version is searched too.
TEST_F(RunFixture, CheckedOutFallBackStartsAgainAtTheParent) {
  t.repo->Answer(kProfile7, Profile(7, "V1", "V0", 1, "Y"));
  t.repo->Answer(kParentOf7, Profile(3, "V0", "", 1, "Y"));
  t.repo->Answer("select dver, drel, dcus  from qxmap105 where mprf = 7",
                 Rows({"dver", "drel", "dcus"}, {{"V9", "01", "CUS1"}}));
  t.repo->Answer("select dver, drel, dcus  from qxmap105 where mprf = 3",
                 Rows({"dver", "drel", "dcus"}, {{"V8", "01", "CUS1"}}));
  t.object.settings.consider_checked_out_versions = true;
  t.object.settings.traverse_generation = true;
  ASSERT_TRUE(dd::GenerateXMLFile(t.object));
  const std::string filter = "'V','G','E','C'";
  const std::vector<std::string> lookups = Lookups();
  ASSERT_GE(lookups.size(), 6u);
  EXPECT_EQ(
      std::vector<std::string>(lookups.begin(), lookups.begin() + 6),
      (std::vector<std::string>{
          MappingQuery(7, "V9  ", filter), MappingQuery(7, "V1  ", filter),
          kParentOf7, "select dver, drel, dcus  from qxmap105 where mprf = 3",
          MappingQuery(3, "V8  ", filter), MappingQuery(3, "V0  ", filter)}));
}

// The whole run reads inside one read scope of the repository (one
// snapshot, and the run's read cache), ended when the run ends.
TEST_F(RunFixture, TheRunReadsInsideOneReadScope) {
  t.repo->Answer(kProfile7, Profile(7, "V1", "V0", 2));
  ASSERT_TRUE(dd::GenerateXMLFile(t.object));
  EXPECT_EQ(t.repo->read_scopes(), 1);
  EXPECT_EQ(t.repo->sent_outside_read_scope(), 0);
  EXPECT_FALSE(t.repo->in_read_scope());
}

// A clock whose steady count moves a millisecond at every reading.
class SteppingClock : public FixedClock {
 public:
  SteppingClock() : FixedClock("2026-01-02 03:04:05") {}
  int64_t SteadyMicroseconds() override { return now_ += 1000; }

 private:
  int64_t now_ = 0;
};

// What the run tells its recorder: each table with its outcome and what it
// added to the summary counts, timed by the object's clock.
TEST_F(RunFixture, ResultsFollowTheTablesOfTheRun) {
  SteppingClock clock;
  t.object.clock = &clock;
  t.repo->Answer(kProfile7, Profile(7, "V1", "V0", 0));
  ASSERT_TRUE(dd::GenerateXMLFile(t.object));
  const RunResults& r = t.object.recorder.results();
  EXPECT_TRUE(r.result);
  EXPECT_EQ(r.started_at, "2026-01-02 03:04:05");
  EXPECT_FALSE(r.run_error.has_value());
  ASSERT_EQ(r.tables.size(), 1u);
  EXPECT_EQ(r.tables[0].code, "abcde001");
  EXPECT_EQ(r.tables[0].status, TableStatus::kNoMapping);
  EXPECT_EQ(r.tables[0].counted.no_mapping, 1);
  EXPECT_EQ(r.tables[0].counted.total, 1);
  EXPECT_EQ(r.tables[0].microseconds, 1000);
  EXPECT_EQ(r.microseconds, 3000);
  EXPECT_EQ(r.counts.total, 1);
}

// A query refused in the middle of a table ends the run: the table in hand
// failed with that error, and the run with it.
TEST_F(RunFixture, AnErrorThatEndsTheRunFailsTheTableInHand) {
  t.repo->Answer(kProfile7, Profile(7, "V1", "V0", 1));
  t.repo->set_default_empty(false);
  ASSERT_FALSE(dd::GenerateXMLFile(t.object));
  const RunResults& r = t.object.recorder.results();
  ASSERT_TRUE(r.run_error.has_value());
  EXPECT_EQ(r.run_error->number, errors::kQueryRefused);
  EXPECT_FALSE(r.interrupted);
  ASSERT_EQ(r.tables.size(), 1u);
  EXPECT_EQ(r.tables[0].status, TableStatus::kError);
  EXPECT_EQ(r.tables[0].error_number, errors::kQueryRefused);
  EXPECT_EQ(r.tables[0].counted.total, 1);
}

TEST_F(RunFixture, AStoppedRunKeepsTheTablesDone) {
  t.repo->Answer(kProfile7, Profile(7, "V1", "V0", 0));
  t.object.stop_requested = [] { return true; };
  ASSERT_FALSE(dd::GenerateXMLFile(t.object));
  const RunResults& r = t.object.recorder.results();
  EXPECT_TRUE(r.interrupted);
  ASSERT_EQ(r.tables.size(), 1u);
  EXPECT_EQ(r.tables[0].status, TableStatus::kNoMapping);
  EXPECT_EQ(r.counts.no_mapping, 1);
}

TEST(Selection, ListItemsKeepTheirQuotesAsCharacters) {
  EXPECT_EQ(QuotedSelectedList("abcde001,o'neil01"), "'abcde001','o''neil01'");
  EXPECT_EQ(QuotedSelectedList("   "), std::nullopt);
}

TEST(Selection, RangeBoundsAreComparedOneByOne) {
  GeneratorSettings s;
  s.package_from = "ab";
  s.module_from = "cde";
  s.table_from = "000";
  s.package_to = "ab";
  s.module_to = "cde";
  s.table_to = "999";
  EXPECT_EQ(SelectionQuery("qxddi140", "TAPP", s, std::nullopt),
            " select qxddi140.cpac,qxddi140.cmod,qxddi140.flno  from qxddi140 "
            "where  qxddi140.appl ='TAPP' and  qxddi140.cpac between 'ab' and "
            "'ab' and  qxddi140.cmod between 'cde' and 'cde' and  "
            "qxddi140.flno between '000' and '999'");
}

}  // namespace
}  // namespace mx
