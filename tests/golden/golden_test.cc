// Golden runs: each folder under scenarios/ holds a repository as SQL
// (repo.sql), the arguments of one command (args, one per line; {repo},
// {out}, {log} name the run's files and {crlf} stands for a line break),
// optionally what stands in the output folder before the run (before/ and
// read-only), and the expected results under expected/: the exit status,
// standard output and error, the log, and every file under the output folder
// afterwards. The test builds the repository, runs the real program and
// compares every byte.
//
// MX_UPDATE_GOLDEN=1 writes the results as the new expectation instead; read
// every changed byte before keeping it.
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
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

// How the scenario's repository file is made.
struct RepositoryFile {
  bool no_cache = false;  // a generate command gets --no-cache
  // Without the lookup indexes, as another tool writes the file, in a
  // folder of its own; file and folder read-only during the run.
  bool as_another_tool_writes_it = false;
  // A generate command gets --threads with this many.
  std::optional<int> threads = std::nullopt;
};

// The lookup indexes dropped again: the tables and rows of `repo init`, and
// none of its indexes.
void DropLookupIndexes(const std::string& repo) {
  std::string script;
  for (const repository::LookupIndex& index : repository::LookupIndexes()) {
    script += "DROP INDEX IF EXISTS " + index.name + ";\n";
  }
  repository::ExecuteSqliteScript(repo, script);
}

// Write permission taken from a path for the run, and given back.
class ReadOnly {
 public:
  explicit ReadOnly(fs::path path) : path_(std::move(path)) {
    before_ = fs::status(path_).permissions();
    fs::permissions(path_,
                    fs::perms::owner_write | fs::perms::group_write |
                        fs::perms::others_write,
                    fs::perm_options::remove);
  }
  ~ReadOnly() { fs::permissions(path_, before_); }

 private:
  fs::path path_;
  fs::perms before_;
};

// What one run produced, in the shape of an expected/ folder. With
// --no-cache the run sends every query to the repository and must write the
// same bytes; without the indexes it must too, and leave the file as it was.
std::map<std::string, std::string> RunScenario(const fs::path& scenario,
                                               const testing::TempDir& tmp,
                                               RepositoryFile file = {}) {
  fs::create_directory(tmp / "repo");
  const std::string repo = (tmp.path() / "repo" / "repo.sqlite").string();
  repository::CreateSqliteRepository(repo);
  repository::ExecuteSqliteScript(repo, testing::ScenarioScript(scenario));
  if (file.as_another_tool_writes_it) DropLookupIndexes(repo);
  fs::create_directory(tmp / "out");
  testing::PrepareOutputFolder(scenario, tmp / "out");
  const std::string repo_bytes = testing::ReadAll(repo);

  const std::map<std::string, std::string> vars = {{"{repo}", repo},
                                                   {"{out}", tmp / "out"},
                                                   {"{log}", tmp / "run.log"},
                                                   {"{crlf}", "\r\n"}};
  std::vector<std::string> args = testing::ScenarioArgs(scenario);
  for (std::string& arg : args) arg = testing::Substitute(arg, vars);
  if (file.no_cache && !args.empty() && args[0] == "generate") {
    args.push_back("--no-cache");
  }
  if (file.threads && !args.empty() && args[0] == "generate") {
    args.push_back("--threads");
    args.push_back(std::to_string(*file.threads));
  }
  int status;
  {
    std::optional<ReadOnly> file_read_only;
    std::optional<ReadOnly> folder_read_only;
    if (file.as_another_tool_writes_it) {
      file_read_only.emplace(repo);
      folder_read_only.emplace(tmp / "repo");
    }
    status =
        testing::RunProgram(MX_BINARY, args, tmp / "stdout", tmp / "stderr");
  }
  EXPECT_TRUE(testing::ReadAll(repo) == repo_bytes)
      << "the run changed the repository file";
  EXPECT_EQ(std::vector<fs::path>{repo},
            std::vector<fs::path>(fs::directory_iterator(tmp / "repo"),
                                  fs::directory_iterator()))
      << "the run left files beside the repository";
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
  const auto actual = RunScenario(scenario, tmp, {.no_cache = true});
  testing::ExpectSameFiles(actual, scenario / "expected",
                           testing::ReadAll(tmp / "stderr"));
}

// The same scenarios with documents built in turn only, and with three
// threads building the coming tables' documents ahead of the run's turn:
// the same bytes, whoever built a document.
class GoldenThreadsTest : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenThreadsTest, OutputMatchesByteForByte) {
  const fs::path scenario = kScenarios / GetParam();
  for (const int threads : {1, 4}) {
    SCOPED_TRACE(std::to_string(threads) + " threads");
    testing::TempDir tmp;
    const auto actual = RunScenario(scenario, tmp, {.threads = threads});
    testing::ExpectSameFiles(actual, scenario / "expected",
                             testing::ReadAll(tmp / "stderr"));
  }
}

// The same scenarios on a read-only file without the lookup indexes, with
// the cache (the run reads a copy of its own) and without it (the file
// answers every query): the same bytes, and the file unchanged.
class GoldenWithoutIndexesTest : public ::testing::TestWithParam<std::string> {
};

TEST_P(GoldenWithoutIndexesTest, OutputMatchesByteForByte) {
  const fs::path scenario = kScenarios / GetParam();
  for (const bool no_cache : {false, true}) {
    SCOPED_TRACE(no_cache ? "without the cache" : "with the cache");
    testing::TempDir tmp;
    // With the cache, three threads also read the run's copy.
    const auto actual = RunScenario(
        scenario, tmp,
        {.no_cache = no_cache,
         .as_another_tool_writes_it = true,
         .threads = no_cache ? std::nullopt : std::optional<int>(4)});
    testing::ExpectSameFiles(actual, scenario / "expected",
                             testing::ReadAll(tmp / "stderr"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, GoldenTest,
    ::testing::ValuesIn(testing::ScenarioNames(kScenarios)),
    [](const auto& param_info) { return param_info.param; });
INSTANTIATE_TEST_SUITE_P(
    Scenarios, GoldenWithoutIndexesTest,
    ::testing::ValuesIn(testing::ScenarioNames(kScenarios)),
    [](const auto& param_info) { return param_info.param; });
INSTANTIATE_TEST_SUITE_P(
    Scenarios, GoldenThreadsTest,
    ::testing::ValuesIn(testing::ScenarioNames(kScenarios)),
    [](const auto& param_info) { return param_info.param; });
INSTANTIATE_TEST_SUITE_P(
    Scenarios, GoldenWithoutCacheTest,
    ::testing::ValuesIn(testing::ScenarioNames(kScenarios)),
    [](const auto& param_info) { return param_info.param; });

}  // namespace
}  // namespace mx
