// Golden runs: each folder under scenarios/ holds a repository as SQL
// (repo.sql), the arguments of one command (args, one per line; {repo},
// {out}, {log} name the run's files and {crlf} stands for a line break) and the
// expected results under expected/: the exit status, standard output and
// error, the log, and every file the run writes under the output folder. The
// test builds the repository, runs the real program and compares every byte.
//
// MX_UPDATE_GOLDEN=1 writes the results as the new expectation instead; read
// every changed byte before keeping it.
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "repository/schema.h"
#include "repository/sqlite_script.h"
#include "testing/golden_scenario.h"
#include "testing/temp_dir.h"

namespace mx {
namespace {

namespace fs = std::filesystem;

const fs::path kScenarios = MX_GOLDEN_SCENARIOS;

void WriteAll(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// What one run produced, in the shape of an expected/ folder. With
// `no_cache`, a generate command gets --no-cache: the run then sends every
// query to the repository and must write the same bytes.
std::map<std::string, std::string> RunScenario(const fs::path& scenario,
                                               const testing::TempDir& tmp,
                                               bool no_cache = false) {
  const std::string repo = tmp / "repo.sqlite";
  repository::CreateSqliteRepository(repo);
  repository::ExecuteSqliteScript(repo,
                                  testing::ScenarioScript(scenario));
  fs::create_directory(tmp / "out");

  const std::map<std::string, std::string> vars = {{"{repo}", repo},
                                                   {"{out}", tmp / "out"},
                                                   {"{log}", tmp / "run.log"},
                                                   {"{crlf}", "\r\n"}};
  std::vector<std::string> args = testing::ScenarioArgs(scenario);
  for (std::string& arg : args) arg = testing::Substitute(arg, vars);
  if (no_cache && !args.empty() && args[0] == "generate") {
    args.push_back("--no-cache");
  }
  const int status =
      testing::RunProgram(MX_BINARY, args, tmp / "stdout", tmp / "stderr");
  return testing::RunResults(tmp.path(), status);
}

class GoldenTest : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenTest, OutputMatchesByteForByte) {
  const fs::path scenario = kScenarios / GetParam();
  testing::TempDir tmp;
  const auto actual = RunScenario(scenario, tmp);
  const fs::path expected_dir = scenario / "expected";

  if (std::getenv("MX_UPDATE_GOLDEN") != nullptr) {
    fs::remove_all(expected_dir);
    for (const auto& [name, bytes] : actual) {
      WriteAll(expected_dir / name, bytes);
    }
    GTEST_SKIP() << "expectation rewritten";
  }
  testing::ExpectSameFiles(actual, expected_dir,
                           testing::ReadAll(tmp / "stderr"));
}

// The same scenarios without the read cache, against the same expected
// files: the cache changes no byte of any document, side file or log line.
class GoldenWithoutCacheTest : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenWithoutCacheTest, OutputMatchesByteForByte) {
  const fs::path scenario = kScenarios / GetParam();
  testing::TempDir tmp;
  const auto actual = RunScenario(scenario, tmp, /*no_cache=*/true);
  testing::ExpectSameFiles(actual, scenario / "expected",
                           testing::ReadAll(tmp / "stderr"));
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, GoldenTest,
    ::testing::ValuesIn(testing::ScenarioNames(kScenarios)),
    [](const auto& param_info) { return param_info.param; });
INSTANTIATE_TEST_SUITE_P(
    Scenarios, GoldenWithoutCacheTest,
    ::testing::ValuesIn(testing::ScenarioNames(kScenarios)),
    [](const auto& param_info) { return param_info.param; });

}  // namespace
}  // namespace mx
