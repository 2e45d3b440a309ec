// The function library on a temporary SQLite repository: which profile and
// version a function is taken from, and error 1000 in each of its causes.
#include "dictionary/function_repository.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "movx20xmlgen/text_stream.h"
#include "repository/temp_repository.h"
#include "testing/test_context.h"

namespace mx::legacy {
namespace {

using repository::testing::RaisedError;
using repository::testing::TempRepository;

class FunctionRepositoryTest : public ::testing::Test {
 protected:
  FunctionRepositoryTest() : t_(GeneratorKind::kLegacy) {
    // Profile 20 is checked out to version V3; 30 is not in the run's list.
    repository_.Exec(
        "insert into qxmap100 (mprf, vers, rele, cust, scme) values"
        " (10, 'V1', '01', 'BASE', 'N'), (20, 'V2', '01', 'BASE', 'Y'),"
        " (30, 'V1', '01', 'BASE', 'N');"
        "insert into qxmap105 (mprf, dver, drel, dcus) values"
        " (20, 'V3', '01', 'BASE');"
        "insert into qxlib100 (mprf, vers, rele, cust, fnam, fdef) values"
        " (10, 'V1', '01', 'BASE', 'calc', 'from ten'),"
        " (10, 'V1', '01', 'BASE', 'low', 'low'),"
        " (20, 'V2', '01', 'BASE', 'calc',"
        "  'function calc()' || char(13, 10) || 'table ttccom001'"
        "  || char(13, 10) || ' TABLE tdsls040' || char(13, 10) || '{}'),"
        " (20, 'V3', '01', 'BASE', 'calc', 'checked-out calc'),"
        " (20, 'V2', '01', 'BASE', 'own_only', 'own only'),"
        " (20, 'V3', '01', 'BASE', 'co_only', 'co only'),"
        " (20, 'V2', '01', 'BASE', 'badtable', 'table t1,t2'),"
        " (20, 'V2', '01', 'BASE', 'nulldef', null),"
        " (30, 'V1', '01', 'BASE', 'calc', 'thirty');");
    t_.object.settings.connection_string = "Data Source=" + repository_.path();
    t_.object.reporter.set_log(log_);
  }

  std::string Definition(const std::string& name,
                         const std::string& profiles = "10,20") {
    tables_ = "stale";
    return Get_Function_Definition(ctx_, profiles, name, &tables_);
  }

  VbError Failure(const std::string& name,
                  const std::string& profiles = "10,20") {
    return RaisedError([&] { Definition(name, profiles); });
  }

  TempRepository repository_;
  testing::TestContext t_;
  BuildContext& ctx_ = t_.ctx;
  std::shared_ptr<StringTextStream> log_ = std::make_shared<StringTextStream>();
  std::string tables_;
};

TEST_F(FunctionRepositoryTest, HighestListedProfileInItsOwnVersion) {
  EXPECT_EQ(Definition("CALC"), "function calc()\r\n\r\n \r\n{}");
  EXPECT_EQ(tables_, "ttccom001 , tdsls040");
  EXPECT_EQ(Definition("calc", "10"), "from ten");
  EXPECT_EQ(tables_, "");
  EXPECT_EQ(Definition("low"), "low");
  EXPECT_EQ(Definition("nulldef"), "");
  EXPECT_EQ(Definition(""), "");
  EXPECT_EQ(tables_, "");
}

TEST_F(FunctionRepositoryTest, CheckedOutVersionFirstWhenAskedFor) {
  t_.object.settings.consider_checked_out_versions = true;
  EXPECT_EQ(Definition("calc"), "checked-out calc");
  EXPECT_EQ(Definition("co_only"), "co only");
  // Missing under the checked-out version: the profile's own version.
  EXPECT_EQ(Definition("own_only"), "own only");

  t_.object.settings.consider_checked_out_versions = false;
  EXPECT_EQ(Failure("co_only").number(), 1000);
}

TEST_F(FunctionRepositoryTest, EveryFailureIsTheFunctionMissingError) {
  const char kMissing[] = "Function does not exist in the function repository.";
  for (const std::string name : {"nothing", "badtable", "it's"}) {
    VbError e = Failure(name);
    EXPECT_EQ(e.number(), 1000);
    EXPECT_EQ(e.description(), name + kMissing);
    EXPECT_EQ(tables_, "");
  }
  // No fallback to a lower profile once the highest one is chosen.
  t_.object.settings.consider_checked_out_versions = false;
  EXPECT_EQ(Failure("co_only", "10,20").description(),
            std::string("co_only") + kMissing);
  // A query the repository refuses.
  EXPECT_EQ(Failure("calc", "10 20").description(),
            std::string("calc") + kMissing);
  // The errors behind it are not reported.
  EXPECT_EQ(ctx_.error_description(), "");
  EXPECT_EQ(log_->text(), "");
}

}  // namespace
}  // namespace mx::legacy
