// Golden runs: each folder under scenarios/ holds a repository as SQL
// (repo.sql), the arguments of one command (args, one per line; {repo},
// {out}, {log} name the run's files and {crlf} stands for a line break) and the
// expected results under expected/: the exit status, standard output, the
// log, and every file the run writes under the output folder. The test builds
// the repository, runs the real program and compares every byte.
//
// MX_UPDATE_GOLDEN=1 writes the results as the new expectation instead; read
// every changed byte before keeping it.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "repository/schema.h"
#include "repository/sqlite_script.h"
#include "testing/temp_dir.h"

namespace mx {
namespace {

namespace fs = std::filesystem;

const fs::path kScenarios = MX_GOLDEN_SCENARIOS;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteAll(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Substitute(std::string text,
                       const std::map<std::string, std::string>& vars) {
  for (const auto& [name, value] : vars) {
    for (size_t at; (at = text.find(name)) != std::string::npos;) {
      text.replace(at, name.size(), value);
    }
  }
  return text;
}

// Runs the program with `args`, standard output to `out_file`, standard
// error to `err_file`, and returns its exit status.
int RunProgram(const std::vector<std::string>& args,
               const std::string& out_file, const std::string& err_file) {
  pid_t pid = fork();
  if (pid == 0) {
    int out = open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int in = open("/dev/null", O_RDONLY);
    dup2(out, 1);
    dup2(err, 2);
    dup2(in, 0);
    std::vector<char*> argv;
    std::string binary = MX_BINARY;
    argv.push_back(binary.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(binary.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

// Every regular file below `root`, by relative path.
std::map<std::string, std::string> FilesBelow(const fs::path& root) {
  std::map<std::string, std::string> files;
  if (!fs::exists(root)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), root).string()] = ReadAll(entry.path());
    }
  }
  return files;
}

// What one run produced, in the shape of an expected/ folder. With
// `no_cache`, a generate command gets --no-cache: the run then sends every
// query to the repository and must write the same bytes.
std::map<std::string, std::string> RunScenario(const fs::path& scenario,
                                               const testing::TempDir& tmp,
                                               bool no_cache = false) {
  const std::string repo = tmp / "repo.sqlite";
  repository::CreateSqliteRepository(repo);
  repository::ExecuteSqliteScript(repo, ReadAll(scenario / "repo.sql"));
  fs::create_directory(tmp / "out");

  const std::map<std::string, std::string> vars = {{"{repo}", repo},
                                                   {"{out}", tmp / "out"},
                                                   {"{log}", tmp / "run.log"},
                                                   {"{crlf}", "\r\n"}};
  std::vector<std::string> args;
  std::istringstream lines(ReadAll(scenario / "args"));
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty()) args.push_back(Substitute(line, vars));
  }
  if (no_cache && !args.empty() && args[0] == "generate") {
    args.push_back("--no-cache");
  }
  const int status = RunProgram(args, tmp / "stdout", tmp / "stderr");

  std::map<std::string, std::string> result;
  result["exit"] = std::to_string(status) + "\n";
  result["stdout"] = ReadAll(tmp / "stdout");
  const std::string err = ReadAll(tmp / "stderr");
  if (!err.empty()) result["stderr"] = err;
  if (fs::exists(tmp / "run.log")) result["log"] = ReadAll(tmp / "run.log");
  for (const auto& [name, bytes] : FilesBelow(tmp / "out")) {
    result["out/" + name] = bytes;
  }
  return result;
}

class GoldenTest : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenTest, OutputMatchesByteForByte) {
  const fs::path scenario = kScenarios / GetParam();
  testing::TempDir tmp;
  const auto actual = RunScenario(scenario, tmp);
  const fs::path expected_dir = scenario / "expected";

  if (std::getenv("MX_UPDATE_GOLDEN") != nullptr) {
    fs::remove_all(expected_dir);
    for (const auto& [name, bytes] : actual)
      WriteAll(expected_dir / name, bytes);
    GTEST_SKIP() << "expectation rewritten";
  }
  const auto expected = FilesBelow(expected_dir);
  for (const auto& [name, bytes] : expected) {
    auto it = actual.find(name);
    ASSERT_NE(it, actual.end()) << "not produced: " << name;
    EXPECT_EQ(it->second, bytes) << "differs: " << name << "\nstderr:\n"
                                 << ReadAll(tmp / "stderr");
  }
  for (const auto& [name, bytes] : actual) {
    EXPECT_TRUE(expected.count(name)) << "produced but not expected: " << name;
  }
}

// The same scenarios without the read cache, against the same expected
// files: the cache changes no byte of any document, side file or log line.
class GoldenWithoutCacheTest : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenWithoutCacheTest, OutputMatchesByteForByte) {
  const fs::path scenario = kScenarios / GetParam();
  testing::TempDir tmp;
  const auto actual = RunScenario(scenario, tmp, /*no_cache=*/true);
  const auto expected = FilesBelow(scenario / "expected");
  for (const auto& [name, bytes] : expected) {
    auto it = actual.find(name);
    ASSERT_NE(it, actual.end()) << "not produced: " << name;
    EXPECT_EQ(it->second, bytes) << "differs: " << name << "\nstderr:\n"
                                 << ReadAll(tmp / "stderr");
  }
  EXPECT_EQ(actual.size(), expected.size());
}

std::vector<std::string> Scenarios() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kScenarios)) {
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, GoldenTest,
                         ::testing::ValuesIn(Scenarios()),
                         [](const auto& param_info) {
                           return param_info.param;
                         });
INSTANTIATE_TEST_SUITE_P(Scenarios, GoldenWithoutCacheTest,
                         ::testing::ValuesIn(Scenarios()),
                         [](const auto& param_info) {
                           return param_info.param;
                         });

}  // namespace
}  // namespace mx
