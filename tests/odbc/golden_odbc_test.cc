// The golden scenarios once more, with the repository on the PostgreSQL test
// server: each scenario's repository is built in SQLite as the golden test
// builds it, copied to a database of its own with the copier, and the program
// runs with an ODBC connection string in place of "Data Source={repo}". Every
// byte must equal the same expected files as the embedded run.
//
// Left out, each for its reason (see kEmbeddedOnly): scenarios that read no
// repository file, and scenarios about what only the embedded backend can
// hold or says in its own words.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "odbc/test_server.h"
#include "testing/golden_scenario.h"
#include "testing/temp_dir.h"

namespace mx {
namespace {

namespace fs = std::filesystem;

const fs::path kScenarios = MX_GOLDEN_SCENARIOS;
constexpr char kRepositoryArgument[] = "Data Source={repo}";

const std::map<std::string, std::string>& EmbeddedOnly() {
  static const std::map<std::string, std::string> scenarios = {
      {"dd_bad_data",
       "its repository holds text that is not UTF-8, which a PostgreSQL "
       "database cannot hold (the copier refuses it), and the expected log "
       "has the embedded backend's conversion error"},
      {"dd_nul_value",
       "its repository holds a NUL character, which PostgreSQL text cannot "
       "hold"},
      {"dd_missing_table",
       "the expected log has SQLite's own message; server_fault_test runs it "
       "with the server's message"},
  };
  return scenarios;
}

class OdbcGoldenTest : public ::testing::TestWithParam<std::string> {};

TEST_P(OdbcGoldenTest, OutputMatchesTheEmbeddedExpectation) {
  MX_SKIP_WITHOUT_TEST_SERVER();
  const std::string name = GetParam();
  if (const auto it = EmbeddedOnly().find(name); it != EmbeddedOnly().end()) {
    GTEST_SKIP() << "embedded backend only: " << it->second;
  }
  const fs::path scenario = kScenarios / name;
  std::vector<std::string> args = testing::ScenarioArgs(scenario);
  if (std::none_of(args.begin(), args.end(), [](const std::string& a) {
        return a.find(kRepositoryArgument) != std::string::npos;
      })) {
    GTEST_SKIP() << "the scenario reads no repository file";
  }

  testing::TempDir tmp;
  const std::string repo = tmp / "repo.sqlite";
  odbc_testing::BuildSqliteRepository(repo, testing::ScenarioScript(scenario));
  odbc_testing::TestDatabase database("golden_" + name);
  repository::CopyRepository(repo, database.connection_string());
  fs::create_directory(tmp / "out");
  testing::PrepareOutputFolder(scenario, tmp / "out");

  for (std::string& arg : args) {
    arg = testing::Substitute(
        arg, {{kRepositoryArgument, database.connection_string()}});
    arg = testing::Substitute(arg, {{"{out}", tmp / "out"},
                                    {"{log}", tmp / "run.log"},
                                    {"{crlf}", "\r\n"}});
  }
  const int status =
      testing::RunProgram(MX_BINARY, args, tmp / "stdout", tmp / "stderr");
  const auto actual = testing::RunResults(tmp.path(), status);

  testing::ExpectSameFiles(actual, scenario / "expected",
                           testing::ReadAll(tmp / "stderr"));
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, OdbcGoldenTest,
    ::testing::ValuesIn(testing::ScenarioNames(kScenarios)),
    [](const auto& param_info) { return param_info.param; });

}  // namespace
}  // namespace mx
