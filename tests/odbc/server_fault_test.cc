// Runs of the real program against a server that refuses the login, is not
// there, lacks a table, or is stopped in the middle of a run: each ends with
// the component's error line naming the cause, returns False (exit status 1)
// and leaves every document it wrote whole. These tests stop and start the
// test server, so they run alone (RUN_SERIAL).
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <strings.h>

#include <chrono>
#include <map>
#include <thread>

#include "interface/raised.h"
#include "odbc/test_server.h"
#include "repository/odbc_connection.h"
#include "testing/golden_scenario.h"
#include "testing/temp_dir.h"

namespace mx {
namespace {

namespace fs = std::filesystem;

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

constexpr char kNow[] = "2026-03-01 09:30:00";

// Stops the test server; starts it again when it goes out of scope, whatever
// the test did in between.
class StoppedServer {
 public:
  static std::optional<std::string> Control() {
    return odbc_testing::Environment("MX_TEST_ODBC_SERVER_CTL");
  }
  StoppedServer() { Run("stop"); }
  ~StoppedServer() { Run("start"); }
  StoppedServer(const StoppedServer&) = delete;
  StoppedServer& operator=(const StoppedServer&) = delete;

 private:
  static void Run(const char* verb) {
    const std::string command = *Control() + " " + verb + " >/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
  }
};

#define MX_SKIP_WITHOUT_SERVER_CONTROL()                                   \
  MX_SKIP_WITHOUT_TEST_SERVER();                                           \
  if (!StoppedServer::Control()) {                                         \
    GTEST_SKIP() << "MX_TEST_ODBC_SERVER_CTL is not set: the test cannot " \
                    "stop the server";                                     \
  }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string ReplaceAttribute(const std::string& connection_string,
                             const char* key, const std::string& value) {
  auto attributes = *repository::ParseOdbcConnectionString(connection_string);
  for (auto& a : attributes) {
    if (strcasecmp(a.key.c_str(), key) == 0) a.value = value;
  }
  return repository::OdbcConnectionString(attributes);
}

std::vector<std::string> GenerateArgs(const std::string& connection,
                                      const testing::TempDir& tmp,
                                      const std::string& profile) {
  return {"generate",      "--connection", connection,  "--profile",
          profile,         "--xml-path",   tmp / "out", "--from",
          "abcde000",      "--to",         "abcde999",  "--log",
          tmp / "run.log", "--now",        kNow,        "--json"};
}

struct RunOutcome {
  int status;
  std::string log, stdout_text, stderr_text;
};

RunOutcome RunGenerate(const std::string& connection,
                       const testing::TempDir& tmp,
                       const std::string& profile = "1") {
  fs::create_directories(tmp / "out");
  const int status =
      testing::RunProgram(MX_BINARY, GenerateArgs(connection, tmp, profile),
                          tmp / "stdout", tmp / "stderr");
  return {status, testing::ReadAll(tmp / "run.log"),
          testing::ReadAll(tmp / "stdout"), testing::ReadAll(tmp / "stderr")};
}

TEST(ServerFaultTest, ARefusedLoginOrAMissingServerEndsTheRunAtOnce) {
  MX_SKIP_WITHOUT_TEST_SERVER();
  const std::string good = odbc_testing::DatabaseString("postgres");
  struct Case {
    std::string connection;
    const char* cause;
  };
  const Case cases[] = {
      {ReplaceAttribute(good, "pwd", "wrong-secret"),
       "password authentication failed"},
      {ReplaceAttribute(good, "port", "1"), "Connection refused"},
  };
  for (const Case& c : cases) {
    testing::TempDir tmp;
    const RunOutcome run = RunGenerate(c.connection, tmp);
    EXPECT_EQ(run.status, 1) << c.cause;
    const std::vector<std::string> lines = Lines(run.log);
    ASSERT_EQ(lines.size(), 1u) << run.log;
    EXPECT_THAT(lines[0], StartsWith("-2147467259-Cannot connect through "
                                     "Driver={PostgreSQL Unicode}: "));
    EXPECT_THAT(lines[0], HasSubstr(c.cause));
    EXPECT_THAT(run.log, EndsWith("\r\n"));
    EXPECT_THAT(run.log + run.stdout_text + run.stderr_text,
                Not(HasSubstr("wrong-secret")));
    EXPECT_THAT(run.stdout_text, StartsWith("{\"result\":false,"));
    EXPECT_TRUE(testing::FilesBelow(tmp / "out").empty());
  }
}

TEST(ServerFaultTest, AMissingTableIsTheServersRefusal) {
  MX_SKIP_WITHOUT_TEST_SERVER();
  testing::TempDir tmp;
  odbc_testing::BuildSqliteRepository(
      tmp / "repo.sqlite", testing::ReadAll(fs::path(MX_GOLDEN_SCENARIOS) /
                                            "dd_missing_table" / "repo.sql"));
  odbc_testing::TestDatabase database("missing_table");
  repository::CopyRepository(tmp / "repo.sqlite", database.connection_string());
  const RunOutcome run = RunGenerate(database.connection_string(), tmp);
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> lines = Lines(run.log);
  ASSERT_EQ(lines.size(), 1u) << run.log;
  EXPECT_THAT(lines[0], StartsWith("-2147217900-"));
  EXPECT_THAT(lines[0], HasSubstr("\"qxddi140\" does not exist"));
}

TEST(ServerFaultTest, AConnectionIsOpenedAgainAfterTheServerCameBack) {
  MX_SKIP_WITHOUT_SERVER_CONTROL();
  const auto connection = repository::OdbcConnection::Open(
      odbc_testing::DatabaseString("postgres"), "the test server");
  const std::string sql = "select count(*) from pg_database";
  connection->Execute(sql);
  {
    StoppedServer stopped;
    for (int attempt = 0; attempt < 2; ++attempt) {
      const VbError error = Raised([&] { connection->Execute(sql); });
      EXPECT_EQ(error.number(), errors::kCannotConnect) << attempt;
    }
  }
  EXPECT_EQ(connection->Execute(sql).rows.size(), 1u);
}

// A profile with 999 conversion objects, each a complete small document.
constexpr char kLargeRepository[] = R"SQL(
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme) VALUES
  (1, 'SAPP', 'TAPP', 'V1', '01', 'CUS1', '', '', '', 1, 'N');
INSERT INTO qxddi220 (appl, cpac, cdom, type, leng, diga, digb, adju, conv) VALUES
  ('TAPP', 'ab', 'item', 'S', '16', NULL, NULL, 'Left', 'Upper'),
  ('TAPP', 'ab', 'qty', 'I', '9', '0', '9', 'Right', NULL),
  ('SAPP', 'sf', 'item', 'S', '16', NULL, NULL, 'Left', NULL);
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('SAPP', 'sf', 'ghi', '001', 'item', 1, 'sfitem', NULL, 0, 'N', 'N');
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 999),
  t(flno) AS (SELECT printf('%03d', i) FROM n)
INSERT INTO qxddi140 (appl, cpac, cmod, flno) SELECT 'TAPP', 'ab', 'cde', flno FROM t;
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms)
  SELECT 1, 'V1', '01', 'CUS1', 'ab', 'cde', flno, 'V', 'migrate', NULL, 'sfghi001', 0 FROM qxddi140;
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb)
  SELECT 'TAPP', 'ab', 'cde', flno, 'item', 1, 'abitem', NULL, 0, 'Y', 'N' FROM qxddi140
  UNION ALL
  SELECT 'TAPP', 'ab', 'cde', flno, 'qty', 2, 'abqty', '0', 0, 'N', 'N' FROM qxddi140;
INSERT INTO qxmap130 (mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno, icod, qury)
  SELECT 1, 'V1', '01', 'CUS1', 'ab', 'cde', flno, 'sf', 'ghi', '001', 'S',
         'select sfghi001.* from sfghi001' FROM qxddi140;
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum)
  SELECT 1, 'V1', '01', 'CUS1', 'ab', 'cde', flno, 'item', 'sfghi001.item', 0, 1 FROM qxddi140
  UNION ALL
  SELECT 1, 'V1', '01', 'CUS1', 'ab', 'cde', flno, 'qty', '1', 0, 1 FROM qxddi140;
)SQL";

constexpr size_t kObjects = 999;
// Documents written before the server is stopped.
constexpr size_t kStopAfter = 25;

// A run of kObjects documents on the server, stopped after kStopAfter
// documents are written: the reference (embedded) run's files and log, and
// the stopped run's outcome.
struct StoppedRun {
  std::map<std::string, std::string> reference_files;
  std::string reference_log;
  int status = -1;
  std::map<std::string, std::string> written;
  std::string log, stdout_text;
};

StoppedRun RunAndStopTheServer(const std::string& name,
                               const std::vector<std::string>& options) {
  StoppedRun outcome;
  testing::TempDir reference;
  odbc_testing::BuildSqliteRepository(reference / "repo.sqlite",
                                      kLargeRepository);
  const RunOutcome embedded =
      RunGenerate("Data Source=" + (reference / "repo.sqlite"), reference);
  EXPECT_EQ(embedded.status, 0) << embedded.log.substr(0, 2000);
  outcome.reference_files = testing::FilesBelow(reference / "out");
  outcome.reference_log = embedded.log;
  EXPECT_EQ(outcome.reference_files.size(), kObjects);

  odbc_testing::TestDatabase database(name);
  repository::CopyRepository(reference / "repo.sqlite",
                             database.connection_string());
  testing::TempDir tmp;
  fs::create_directories(tmp / "out");
  std::vector<std::string> args =
      GenerateArgs(database.connection_string(), tmp, "1");
  args.insert(args.end(), options.begin(), options.end());
  const pid_t run =
      testing::StartProgram(MX_BINARY, args, tmp / "stdout", tmp / "stderr");
  int status = -1;
  // Waits for the first documents; a run that ends before is a failure.
  while (testing::FilesBelow(tmp / "out").size() < kStopAfter) {
    int raw = 0;
    if (waitpid(run, &raw, WNOHANG) == run) {
      status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(status, -1) << "the run ended before the server was stopped";
  if (status == -1) {
    StoppedServer stopped;
    status = testing::WaitForProgram(run);
  }
  outcome.status = status;
  outcome.written = testing::FilesBelow(tmp / "out");
  outcome.log = testing::ReadAll(tmp / "run.log");
  outcome.stdout_text = testing::ReadAll(tmp / "stdout");
  return outcome;
}

// A run that reads its own copy of the repository has read the whole state
// it documents before the server goes away: it ends as the embedded run.
TEST(ServerFaultTest, ARunOnItsOwnCopyOutlivesTheServer) {
  MX_SKIP_WITHOUT_SERVER_CONTROL();
  const StoppedRun run = RunAndStopTheServer("stopped_copied_run", {});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.log, run.reference_log);
  EXPECT_TRUE(run.written == run.reference_files);
}

// Without the cache every query goes to the server, so the run meets the
// stopped server.
TEST(ServerFaultTest, AServerStoppedDuringARunEndsItWithEveryFileWhole) {
  MX_SKIP_WITHOUT_SERVER_CONTROL();
  const StoppedRun run = RunAndStopTheServer("stopped_run", {"--no-cache"});
  const auto& reference_files = run.reference_files;
  const auto& written = run.written;
  EXPECT_EQ(run.status, 1);
  EXPECT_GE(written.size(), kStopAfter);
  EXPECT_LT(written.size(), kObjects);
  for (const auto& [name, bytes] : written) {
    const auto it = reference_files.find(name);
    ASSERT_NE(it, reference_files.end()) << "a stray file: " << name;
    EXPECT_EQ(bytes, it->second) << "not whole: " << name;
  }

  // The log is the embedded run's up to the object in hand. When the server
  // went away within that object, its error (in the operation's own wording)
  // stands where its Completed line would, and the next object may have
  // started. Then comes the run's own error line.
  std::vector<std::string> lines = Lines(run.log);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_THAT(lines.back(), StartsWith("-2147467259-"));
  lines.pop_back();
  const auto object_error = std::find_if(
      lines.begin(), lines.end(),
      [](const std::string& line) { return line.starts_with("\t\tERROR:"); });
  std::vector<std::string> after(object_error, lines.end());
  lines.erase(object_error, lines.end());
  const std::vector<std::string> reference_lines = Lines(run.reference_log);
  ASSERT_LT(lines.size(), reference_lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    ASSERT_EQ(lines[i], reference_lines[i]) << "line " << i + 1;
  }
  if (!after.empty()) {
    EXPECT_THAT(after[0], HasSubstr("-2147467259"));
    ASSERT_LE(after.size(), 2u);
    if (after.size() == 2) {
      EXPECT_THAT(after[1], HasSubstr("Started exporting the Conversion"));
    }
  }
  EXPECT_THAT(
      run.stdout_text,
      StartsWith("{\"result\":false,\"ErrorDescription\":\"-2147467259-"));
}

}  // namespace
}  // namespace mx
