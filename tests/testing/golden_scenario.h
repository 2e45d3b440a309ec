// Helpers for golden runs of the real program: a scenario folder holds
// repo.sql, args (one argument per line; {repo}, {out}, {log} name the run's
// files, {crlf} stands for a line break) and expected/ (exit, stdout, stderr,
// log and every file under out/); optionally before/, files that stand in
// out/ when the run starts, and read-only, the paths below out/ (one a
// line) whose write permission is taken away before the run. These read a
// scenario, run the program and gather what it produced in the shape of an
// expected/ folder.
#ifndef MX_TESTS_TESTING_GOLDEN_SCENARIO_H_
#define MX_TESTS_TESTING_GOLDEN_SCENARIO_H_

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "xml/cipher.h"

namespace mx::testing {

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline std::string Substitute(std::string text,
                              const std::map<std::string, std::string>& vars) {
  for (const auto& [name, value] : vars) {
    for (size_t at; (at = text.find(name)) != std::string::npos;) {
      text.replace(at, name.size(), value);
    }
  }
  return text;
}

// The arguments of a scenario, one per non-empty line of its args file.
inline std::vector<std::string> ScenarioArgs(
    const std::filesystem::path& scenario) {
  std::vector<std::string> args;
  std::istringstream lines(ReadAll(scenario / "args"));
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty()) args.push_back(line);
  }
  return args;
}

// Starts `binary` with `args`, standard output to `out_file`, standard error
// to `err_file`, standard input from /dev/null, in the folder `cwd` when one
// is given; returns its process id.
inline pid_t StartProgram(const std::string& binary,
                          const std::vector<std::string>& args,
                          const std::string& out_file,
                          const std::string& err_file,
                          const std::string& cwd = "") {
  const pid_t pid = fork();
  if (pid == 0) {
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
    const int out = open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int in = open("/dev/null", O_RDONLY);
    dup2(out, 1);
    dup2(err, 2);
    dup2(in, 0);
    std::vector<std::string> copy = args;
    std::string program = binary;
    std::vector<char*> argv = {program.data()};
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  return pid;
}

// Waits for a program started by StartProgram; its exit status, 128 when it
// did not exit normally (a signal it did not handle).
inline int WaitForProgram(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

inline int RunProgram(const std::string& binary,
                      const std::vector<std::string>& args,
                      const std::string& out_file,
                      const std::string& err_file) {
  return WaitForProgram(StartProgram(binary, args, out_file, err_file));
}

// Every regular file below `root`, by relative path.
inline std::map<std::string, std::string> FilesBelow(
    const std::filesystem::path& root) {
  std::map<std::string, std::string> files;
  if (!std::filesystem::exists(root)) return files;
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) {
      files[std::filesystem::relative(entry.path(), root).string()] =
          ReadAll(entry.path());
    }
  }
  return files;
}

// The SQL that builds a scenario's repository: its repo.sql, after the
// repo.sql of the scenario named in its file "base" when it has one (a
// variant of another scenario states only what it changes).
inline std::string ScenarioScript(const std::filesystem::path& scenario) {
  std::string script;
  if (std::filesystem::exists(scenario / "base")) {
    std::string base = ReadAll(scenario / "base");
    while (!base.empty() && (base.back() == '\n' || base.back() == '\r')) {
      base.pop_back();
    }
    script = ReadAll(scenario.parent_path() / base / "repo.sql") + "\n";
  }
  return script + ReadAll(scenario / "repo.sql");
}

// Lays out the output folder `out` as the scenario wants it before the run:
// a copy of its before/ folder, and no write permission on the paths its
// file read-only lists (a file without any is never replaced, not even by
// the superuser).
inline void PrepareOutputFolder(const std::filesystem::path& scenario,
                                const std::filesystem::path& out) {
  namespace fs = std::filesystem;
  if (fs::exists(scenario / "before")) {
    fs::copy(scenario / "before", out, fs::copy_options::recursive);
  }
  if (!fs::exists(scenario / "read-only")) return;
  std::istringstream lines(ReadAll(scenario / "read-only"));
  for (std::string line; std::getline(lines, line);) {
    if (line.empty()) continue;
    fs::permissions(out / line,
                    fs::perms::owner_write | fs::perms::group_write |
                        fs::perms::others_write,
                    fs::perm_options::remove);
  }
}

// The legacy class writes its documents enciphered, behind a salt whose n-th
// byte is n or n + 1; a plain document never starts that way. The golden
// runs keep such a file's deciphered text, so that it can be read and
// compared.
inline bool IsEnciphered(const std::string& bytes) {
  if (bytes.size() < kCipherSaltLength) return false;
  for (size_t i = 0; i < kCipherSaltLength; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b != i + 1 && b != i + 2) return false;
  }
  return true;
}

// What a run in `dir` produced (dir/stdout, dir/stderr, dir/run.log and
// dir/out), keyed as in an expected/ folder.
inline std::map<std::string, std::string> RunResults(
    const std::filesystem::path& dir, int status) {
  std::map<std::string, std::string> result;
  result["exit"] = std::to_string(status) + "\n";
  result["stdout"] = ReadAll(dir / "stdout");
  const std::string err = ReadAll(dir / "stderr");
  if (!err.empty()) result["stderr"] = err;
  if (std::filesystem::exists(dir / "run.log")) {
    result["log"] = ReadAll(dir / "run.log");
  }
  for (const auto& [name, bytes] : FilesBelow(dir / "out")) {
    if (IsEnciphered(bytes)) {
      result["out/" + name + ".deciphered"] = DecipherText(bytes);
    } else {
      result["out/" + name] = bytes;
    }
  }
  return result;
}

// The scenario folders below `root`, sorted by name.
inline std::vector<std::string> ScenarioNames(
    const std::filesystem::path& root) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(root)) {
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Every expected file produced with the same bytes, and nothing else
// produced. `stderr_text` is shown with a difference.
inline void ExpectSameFiles(const std::map<std::string, std::string>& actual,
                            const std::filesystem::path& expected_dir,
                            const std::string& stderr_text) {
  const auto expected = FilesBelow(expected_dir);
  for (const auto& [file, bytes] : expected) {
    const auto it = actual.find(file);
    ASSERT_NE(it, actual.end()) << "not produced: " << file;
    EXPECT_EQ(it->second, bytes) << "differs: " << file << "\nstderr:\n"
                                 << stderr_text;
  }
  for (const auto& [file, bytes] : actual) {
    EXPECT_TRUE(expected.count(file)) << "produced but not expected: " << file;
  }
}

}  // namespace mx::testing

#endif  // MX_TESTS_TESTING_GOLDEN_SCENARIO_H_
