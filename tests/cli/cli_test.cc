// The program as a careless or unlucky user runs it: files that name the
// repository, folders to clear that hold what the run needs, a demo folder
// that holds the user's files, runs stopped by a signal, special and
// read-only files, and paths with characters Windows-1252 lacks.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "repository/schema.h"
#include "repository/sqlite_script.h"
#include "testing/golden_scenario.h"
#include "testing/temp_dir.h"

namespace mx {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;

struct Outcome {
  int status;
  std::string out, err;
};

class CliTest : public ::testing::Test {
 protected:
  Outcome Run(const std::vector<std::string>& args,
              const std::string& cwd = "") {
    const pid_t pid = testing::StartProgram(MX_BINARY, args, tmp_ / "stdout",
                                            tmp_ / "stderr", cwd);
    const int status = testing::WaitForProgram(pid);
    return {status, ReadAll(tmp_ / "stdout"), ReadAll(tmp_ / "stderr")};
  }

  // The demo repository, copied to `name` in the test's folder.
  std::string DemoRepository(const std::string& name = "base.sqlite") {
    const std::string demo = tmp_ / "demo-for-repository";
    if (!fs::exists(demo)) {
      EXPECT_EQ(Run({"demo", demo}).status, 0);
    }
    const std::string repo = tmp_ / name;
    fs::create_directories(fs::path(repo).parent_path());
    fs::copy_file(demo + "/demo.sqlite", repo);
    return repo;
  }

  // A generation of the demo profile from `repo` into `out`.
  static std::vector<std::string> Generate(const std::string& repo,
                                           const std::string& out) {
    // clang-format off
    return {"generate", "--connection", "Data Source=" + repo,
            "--profile", "20", "--from", "tcitm000", "--to", "tcord999",
            "--option", "5", "--xml-path", out,
            "--now", "2026-03-01 09:30:00"};
    // clang-format on
  }

  static std::vector<std::string> With(std::vector<std::string> args,
                                       const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }

  testing::TempDir tmp_;
};

TEST_F(CliTest, LogOrTraceThatIsTheRepositoryIsRefused) {
  const std::string repo = DemoRepository();
  const std::string before = ReadAll(repo);
  fs::create_directory(tmp_ / "out");
  fs::create_hard_link(repo, tmp_ / "other-name.sqlite");
  const auto run = Generate(repo, tmp_ / "out");
  for (const auto& extra : std::vector<std::vector<std::string>>{
           {"--log", repo},
           {"--trace", repo},
           {"--log", tmp_ / "other-name.sqlite"},
           {"--log", tmp_ / "same.txt", "--trace", tmp_ / "./same.txt"}}) {
    const Outcome o = Run(With(run, extra));
    EXPECT_EQ(o.status, 2) << extra[1] << "\n" << o.err;
    EXPECT_EQ(ReadAll(repo), before);
    EXPECT_TRUE(fs::is_empty(tmp_ / "out"));
  }
  EXPECT_FALSE(fs::exists(tmp_ / "same.txt"));
}

TEST_F(CliTest, ClearRefusesAFolderHoldingWhatTheRunNeeds) {
  const std::string repo = DemoRepository("data/base.sqlite");
  fs::create_directories(tmp_ / "work/sub");
  std::ofstream(tmp_ / "work/keep.txt") << "mine";
  const auto clear = [&](const std::string& out) {
    return With(Generate(repo, out), {"--clear"});
  };
  EXPECT_EQ(Run(clear(tmp_ / "data")).status, 2);
  EXPECT_EQ(Run(clear(tmp_.path().string())).status, 2);
  EXPECT_EQ(Run(clear(tmp_ / "work/../data/")).status, 2);
  EXPECT_EQ(Run(clear(tmp_ / "work"), tmp_ / "work/sub").status, 2);
  EXPECT_EQ(
      Run(With(clear(tmp_ / "work"), {"--log", tmp_ / "work/run.log"})).status,
      2);
  EXPECT_EQ(
      Run(With(clear(tmp_ / "work"), {"--trace", tmp_ / "work/sub/q.txt"}))
          .status,
      2);
  EXPECT_TRUE(fs::exists(repo));
  EXPECT_EQ(ReadAll(tmp_ / "work/keep.txt"), "mine");
  EXPECT_TRUE(fs::is_directory(tmp_ / "work/sub"));

  const Outcome call =
      Run({"call", "--connection", "Data Source=" + repo, "--set",
           "XMLPath=" + tmp_ / "data", "--set", "ClearXMLDirectory=True",
           "RowSizeofTable", "TRG", "tcitm001"});
  EXPECT_EQ(call.status, 2) << call.err;
  EXPECT_TRUE(fs::exists(repo));

  // A folder that holds none of them is cleared and written.
  const Outcome fresh = Run(clear(tmp_ / "work/sub"));
  EXPECT_EQ(fresh.status, 0) << fresh.err;
  EXPECT_FALSE(testing::FilesBelow(tmp_ / "work/sub").empty());
}

TEST_F(CliTest, DemoNeverDeletesWhatItDidNotMake) {
  const fs::path mine = tmp_.path() / "mine";
  fs::create_directories(mine / "xml");
  std::ofstream(mine / "xml/notes.txt") << "mine";
  const Outcome refused = Run({"demo", mine.string()});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("xml/notes.txt"), std::string::npos)
      << refused.err;
  EXPECT_EQ(ReadAll(mine / "xml/notes.txt"), "mine");
  EXPECT_FALSE(fs::exists(mine / "demo.sqlite"));

  // An earlier demo is replaced; a file added to it since stops the next.
  const fs::path demo = tmp_.path() / "demo";
  EXPECT_EQ(Run({"demo", demo.string()}).status, 0);
  const auto documents = testing::FilesBelow(demo / "xml");
  EXPECT_FALSE(documents.empty());
  EXPECT_EQ(Run({"demo", demo.string()}).status, 0);
  EXPECT_EQ(testing::FilesBelow(demo / "xml"), documents);
  std::ofstream(demo / "xml/tcitm/added.XML") << "mine";
  EXPECT_EQ(Run({"demo", demo.string()}).status, 2);
  EXPECT_EQ(ReadAll(demo / "xml/tcitm/added.XML"), "mine");
}

// A repository of `tables` target tables without mappings: every object
// writes a few log lines and takes a few queries.
std::string ManyTablesRepository(const std::string& path, int tables) {
  repository::CreateSqliteRepository(path);
  std::string sql =
      "INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, "
      "cusf, deph, scme) VALUES (1, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', "
      "'', '', 1, 'N');\n";
  for (int i = 0; i < tables; ++i) {
    char code[16];
    std::snprintf(code, sizeof code, "%03d", i % 1000);
    sql +=
        "INSERT INTO qxddi140 (appl, cpac, cmod, flno) VALUES ('TAPP', "
        "'ab', 'cde', '" +
        std::string(code) + "');\n";
  }
  repository::ExecuteSqliteScript(path, sql);
  return path;
}

// Reads what is in the FIFO `fd` (opened for reading and writing, so that
// it never blocks), waiting up to `seconds` for the first bytes.
std::string ReadAvailable(int fd, int seconds) {
  std::string text;
  pollfd wait_for = {fd, POLLIN, 0};
  if (poll(&wait_for, 1, seconds * 1000) <= 0) return text;
  char buffer[65536];
  for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<size_t>(got));
  }
  return text;
}

// The log goes to a FIFO that the test reads: the run writes its lines as
// it goes and waits while the test does not read, so the signal arrives in
// the middle of the run.
TEST_F(CliTest, SignalStopsTheRunAfterTheObjectInHand) {
  const std::string repo = ManyTablesRepository(tmp_ / "many.sqlite", 1000);
  for (const int signal_number : {SIGTERM, SIGINT}) {
    const std::string fifo = tmp_ / ("log" + std::to_string(signal_number));
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int in = open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(in, 0);
    fs::create_directory(tmp_ / "out");
    const pid_t pid = testing::StartProgram(
        MX_BINARY,
        {"generate", "--connection", "Data Source=" + repo, "--profile", "1",
         "--from", "abcde000", "--to", "abcde999", "--xml-path", tmp_ / "out",
         "--log", fifo},
        tmp_ / "stdout", tmp_ / "stderr");
    std::string log = ReadAvailable(in, 30);
    EXPECT_FALSE(log.empty()) << "no log line came while the run went on";
    kill(pid, signal_number);
    int status = 0;
    bool ended = false;
    for (int waited = 0; waited < 600 && !ended; ++waited) {
      log += ReadAvailable(in, 0);
      ended = waitpid(pid, &status, WNOHANG) == pid;
      if (!ended) usleep(100000);
    }
    log += ReadAvailable(in, 0);
    close(in);
    if (!ended) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      FAIL() << "the run did not stop";
    }
    ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal itself";
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal_number);
    std::smatch last;
    ASSERT_TRUE(std::regex_search(
        log, last,
        std::regex("\r\n18-User interrupt occurred: the run stopped after "
                   "([0-9]+) of 1000 objects\r\n$")))
        << log.substr(log.size() > 300 ? log.size() - 300 : 0);
    const int done = std::stoi(last[1]);
    EXPECT_LT(done, 1000);
    // Every object up to the one in hand was logged whole.
    EXPECT_NE(log.find("(" + std::to_string(done) + ".)\t"), std::string::npos);
    EXPECT_EQ(log.find("(" + std::to_string(done + 1) + ".)\t"),
              std::string::npos);
    EXPECT_EQ(log.find("TOTAL"), std::string::npos);
  }
}

TEST_F(CliTest, SpecialFilesAndLinksAreWrittenInPlace) {
  const std::string repo = DemoRepository();
  fs::create_directory(tmp_ / "out");
  std::ofstream(tmp_ / "real.log") << "older";
  fs::create_symlink(tmp_ / "real.log", tmp_ / "link.log");
  EXPECT_EQ(Run(With(Generate(repo, tmp_ / "out"),
                     {"--log", tmp_ / "link.log", "--trace", "/dev/null"}))
                .status,
            0);
  EXPECT_TRUE(fs::is_symlink(tmp_ / "link.log"));
  EXPECT_NE(ReadAll(tmp_ / "real.log").find("Started exporting"),
            std::string::npos);

  // Standard output by "-" or by the name of the file it writes: the log and
  // the JSON result follow each other there.
  for (const std::string& name : {std::string("-"), tmp_ / "stdout"}) {
    const Outcome to_stdout =
        Run(With(Generate(repo, tmp_ / "out"), {"--log", name, "--json"}));
    EXPECT_EQ(to_stdout.status, 0);
    EXPECT_EQ(to_stdout.out.find(ReadAll(tmp_ / "real.log")), 0u) << name;
    EXPECT_NE(to_stdout.out.find("\n{\"result\":true,"), std::string::npos)
        << to_stdout.out;
  }
  EXPECT_FALSE(fs::exists(tmp_ / "-"));
}

// Read-only to everyone, the superuser included (no write permission at
// all): the log is refused before the run, a document fails its object.
TEST_F(CliTest, ReadOnlyFilesAreNotReplaced) {
  const std::string repo = DemoRepository();
  fs::create_directory(tmp_ / "out");
  std::ofstream(tmp_ / "old.log") << "older";
  fs::permissions(tmp_ / "old.log", fs::perms::owner_read);
  const Outcome log_refused =
      Run(With(Generate(repo, tmp_ / "out"), {"--log", tmp_ / "old.log"}));
  EXPECT_EQ(log_refused.status, 1);
  EXPECT_NE(log_refused.err.find("error 70: Permission denied"),
            std::string::npos)
      << log_refused.err;
  EXPECT_EQ(ReadAll(tmp_ / "old.log"), "older");
  EXPECT_TRUE(fs::is_empty(tmp_ / "out"));

  fs::create_directories(tmp_ / "out/tcitm");
  std::ofstream(tmp_ / "out/tcitm/xtcitm0010.XML") << "kept";
  fs::permissions(tmp_ / "out/tcitm/xtcitm0010.XML", fs::perms::owner_read);
  EXPECT_EQ(Run(With(Generate(repo, tmp_ / "out"), {"--log", tmp_ / "run.log"}))
                .status,
            0);
  EXPECT_EQ(ReadAll(tmp_ / "out/tcitm/xtcitm0010.XML"), "kept");
  EXPECT_NE(ReadAll(tmp_ / "run.log").find("70:Permission denied"),
            std::string::npos)
      << ReadAll(tmp_ / "run.log");
}

TEST_F(CliTest, XmlPathMustBeAnExistingFolderUnlessCleared) {
  const std::string repo = DemoRepository();
  std::ofstream(tmp_ / "a-file") << "x";
  for (const std::string& out : {tmp_ / "missing", tmp_ / "a-file"}) {
    const Outcome o =
        Run(With(Generate(repo, out), {"--log", tmp_ / "run.log", "--json"}));
    EXPECT_EQ(o.status, 2) << out;
    EXPECT_EQ(o.out, "");
    EXPECT_FALSE(fs::exists(tmp_ / "run.log"));
  }
  EXPECT_EQ(Run(With(Generate(repo, tmp_ / "missing"), {"--clear"})).status, 0);
  EXPECT_FALSE(testing::FilesBelow(tmp_ / "missing").empty());
}

// ConstructSplitInfoFile replaces the file it is given: the call refuses
// the repository and its own log, and writes any other path as given.
TEST_F(CliTest, SplitInformationOfACallNeverReplacesTheRepository) {
  const std::string repo = DemoRepository();
  const std::string before = ReadAll(repo);
  const auto call = [&](const std::string& file, const std::string& log) {
    return Run({"call", "--legacy", "--connection", "Data Source=" + repo,
                "--set", "LogFileName=" + log, "ConstructSplitInfoFile", "20",
                file});
  };
  const std::string log = tmp_ / "call.log";
  EXPECT_EQ(call(repo, log).status, 2);
  EXPECT_EQ(call(tmp_ / "./base.sqlite", log).status, 2);
  EXPECT_EQ(call(log, tmp_ / "./call.log").status, 2);
  EXPECT_EQ(ReadAll(repo), before);
  EXPECT_FALSE(fs::exists(log));

  const std::string info = tmp_ / "split_\u4E2D.xml";
  const Outcome written = call(info, log);
  EXPECT_EQ(written.status, 0) << written.err;
  EXPECT_EQ(written.out, "{\"result\":true,\"ErrorDescription\":\"\"}\n");
  EXPECT_TRUE(fs::exists(info));
}

// Characters outside Windows-1252 in every path the user gives: the files
// are found and written under exactly those names.
TEST_F(CliTest, PathsReachTheFileSystemAsGiven) {
  const std::string repo = DemoRepository("v_\u4E2D.sqlite");
  const std::string out = tmp_ / "out_\u4E2D";
  fs::create_directory(out);
  const Outcome o = Run(
      With(Generate(repo, out), {"--log", tmp_ / "log_\u4E2D.log", "--json"}));
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("\"successful\":3,"), std::string::npos) << o.out;
  EXPECT_TRUE(fs::exists(fs::path(out) / "tcitm/xtcitm0010.XML"));
  EXPECT_NE(ReadAll(tmp_ / "log_\u4E2D.log").find("SUCCESSFULLY"),
            std::string::npos);
  EXPECT_EQ(testing::FilesBelow(tmp_.path()).count("log_?.log"), 0u);
}

}  // namespace
}  // namespace mx
