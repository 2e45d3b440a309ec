// The results file and the report page of runs of both classes, as a user
// gets them from the program: the file conforms to its schema, its counts
// are the log's summary, every object the log names is there in run order,
// every failure with its error, every document with its size; the report,
// drawn by a real browser, shows the same counts and failures. Also the
// program's version and the catalogue of a class's members.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "movx20xmlgen/dispatch.h"
#include "repository/schema.h"
#include "repository/sqlite_script.h"
#include "testing/golden_scenario.h"
#include "testing/json.h"
#include "testing/temp_dir.h"

namespace mx {
namespace {

namespace fs = std::filesystem;
using testing::Json;
using testing::ReadAll;

const fs::path kScenarios = MX_GOLDEN_SCENARIOS;
const fs::path kSchema = MX_RESULTS_SCHEMA;

// A legacy run with an object of every outcome: no mapping (the scenario's
// own table), expired, a null source-table list, a source table without
// details (error 124), and one written.
constexpr char kLegacyOutcomes[] = R"SQL(
INSERT INTO qxlgy140 (appl, cpac, cmod, flno) VALUES
  ('TAPP', 'ab', 'cde', 'expired'), ('TAPP', 'ab', 'cde', 'nosource'),
  ('TAPP', 'ab', 'cde', 'fails'), ('TAPP', 'ab', 'cde', 'written');
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx,
                      comt, stbl, isms) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'expired', 'X', '', '', 'T', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'nosource', 'V', '', '', NULL, 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'fails', 'V', '', '', 'qxfilcust', 0),
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'written', 'V', '', '',
   'qxfilD:\in\cust.txt', 0);
INSERT INTO qxlgy150 (appl, cpac, cmod, flno, flna, seqn, dtyp, spos, epos)
  VALUES ('TAPP           ', 'ab', 'cde', 'fails', 'NAME', 1, 'U', NULL, NULL),
         ('TAPP           ', 'ab', 'cde', 'written', 'NAME', 1, 'U', NULL, NULL);
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul,
                      type, dnum) VALUES
  (7, 'V1', '01', 'CUS1', 'ab', 'cde', 'written', 'NAME', 'NAME$', 0, 1);
)SQL";

struct Counts {
  int64_t successful = 0, mscript = 0, no_mapping = 0, errors = 0, total = 0;
  bool operator==(const Counts&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Counts& c) {
  return os << c.successful << "/" << c.mscript << "/" << c.no_mapping << "/"
            << c.errors << "/" << c.total;
}

int64_t LoggedCount(const std::string& log, const std::string& label) {
  std::smatch m;
  if (!std::regex_search(log, m, std::regex(label + " *=  ([0-9,]+)\r\n"))) {
    return -1;
  }
  std::string digits = m[1];
  std::erase(digits, ',');
  return std::stoll(digits);
}

// The summary block of a log; a legacy log has no M-script line (0).
Counts LoggedSummary(const std::string& log) {
  Counts c;
  c.successful = LoggedCount(log, "was successful");
  c.mscript = std::max<int64_t>(0, LoggedCount(log, "Part of M-SCRIPT"));
  c.no_mapping = LoggedCount(log, "Doesn't Have Mappings");
  c.errors = LoggedCount(log, "while XML GENERATAION");
  c.total = LoggedCount(log, "TOTAL");
  return c;
}

Counts SummaryOf(const Json& summary) {
  return {summary["successful"].Int(), summary["mscript"].Int(),
          summary["no_mapping"].Int(), summary["errors"].Int(),
          summary["total"].Int()};
}

// What the entries say they were counted as, added up.
Counts TallyOf(const Json& results) {
  Counts c;
  for (const Json& r : results.items) {
    ++c.total;
    const std::string as = r["counted_as"].text;
    if (as == "successful") ++c.successful;
    if (as == "mscript") ++c.mscript;
    if (as == "no_mapping") ++c.no_mapping;
    if (as == "errors") ++c.errors;
  }
  return c;
}

// The codes of the "Started exporting" lines, in log order.
std::vector<std::string> LoggedCodes(const std::string& log) {
  std::vector<std::string> codes;
  const std::regex started("Started exporting the \\w+ Object: (\\S+) as XML");
  for (std::sregex_iterator it(log.begin(), log.end(), started), end; it != end;
       ++it) {
    codes.push_back((*it)[1]);
  }
  return codes;
}

class RunResultsTest : public ::testing::Test {
 protected:
  // A repository from a golden scenario's SQL and `more`.
  std::string Repository(const std::string& scenario,
                         const std::string& more = "") {
    const std::string repo = tmp_ / "repo.sqlite";
    repository::CreateSqliteRepository(repo);
    repository::ExecuteSqliteScript(
        repo, testing::ScenarioScript(kScenarios / scenario) + "\n" + more);
    fs::create_directory(tmp_ / "out");
    return repo;
  }

  int Run(const std::vector<std::string>& args) {
    return testing::RunProgram(MX_BINARY, args, tmp_ / "stdout",
                               tmp_ / "stderr");
  }

  std::vector<std::string> Generate(const std::string& repo,
                                    std::vector<std::string> more) {
    std::vector<std::string> args = {"generate",
                                     "--connection",
                                     "Data Source=" + repo,
                                     "--profile",
                                     "7",
                                     "--xml-path",
                                     tmp_ / "out",
                                     "--log",
                                     tmp_ / "run.log",
                                     "--results",
                                     tmp_ / "results.json",
                                     "--report",
                                     tmp_ / "report.html",
                                     "--now",
                                     "2026-03-01 09:30:00"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }

  // The results file after checks that hold for every run: the schema, the
  // counts against the log, the objects in log order, the files on disk.
  Json CheckedResults() {
    const Json results = testing::ParseJson(ReadAll(tmp_ / "results.json"));
    const Json schema = testing::ParseJson(ReadAll(kSchema));
    for (const std::string& problem :
         testing::SchemaCheck(schema).Problems(results)) {
      ADD_FAILURE() << problem;
    }
    const std::string log = ReadAll(tmp_ / "run.log");
    EXPECT_EQ(SummaryOf(results["summary"]), LoggedSummary(log));
    EXPECT_EQ(TallyOf(results["results"]), LoggedSummary(log));
    std::vector<std::string> codes;
    for (const Json& r : results["results"].items) {
      codes.push_back(r["code"].text);
      for (const Json& d : r["documents"].items) ExpectFileAsListed(d);
    }
    EXPECT_EQ(codes, LoggedCodes(log));
    for (const Json& f : results["run_files"].items) ExpectFileAsListed(f);
    return results;
  }

  static void ExpectFileAsListed(const Json& file) {
    EXPECT_EQ(static_cast<int64_t>(fs::file_size(file["path"].text)),
              file["bytes"].Int())
        << file["path"].text;
  }

  static const Json* Entry(const Json& results, const std::string& code) {
    for (const Json& r : results["results"].items) {
      if (r["code"].text == code) return &r;
    }
    ADD_FAILURE() << "no entry for " << code;
    return nullptr;
  }

  testing::TempDir tmp_;
};

TEST_F(RunResultsTest, DataDictionaryRunWithFailures) {
  const std::string repo = Repository("dd_mixed_run");
  ASSERT_EQ(Run(Generate(repo, {"--from", "abcde001", "--to", "abcde999",
                                "--option", "5"})),
            0)
      << ReadAll(tmp_ / "stderr");
  const Json results = CheckedResults();
  EXPECT_EQ(results["settings"]["class"].text, "ClsXMLGenerator");
  EXPECT_EQ(results["settings"]["connection"].text, "Data Source=" + repo);
  EXPECT_EQ(results["settings"]["options"]["option"].Int(), 5);
  EXPECT_EQ(results["started_at"].text, "2026-03-01 09:30:00");
  EXPECT_TRUE(results["result"].boolean);
  EXPECT_FALSE(results["interrupted"].boolean);
  EXPECT_TRUE(results["error"].IsNull());

  // Every failure with the number and description its log line shows.
  const std::string log = ReadAll(tmp_ / "run.log");
  int failures = 0;
  for (const Json& r : results["results"].items) {
    if (r["status"].text != "error") continue;
    ++failures;
    const Json& error = r["error"];
    ASSERT_FALSE(error.IsNull()) << r["code"].text;
    ASSERT_FALSE(error["number"].IsNull()) << r["code"].text;
    EXPECT_NE(log.find(std::to_string(error["number"].Int())),
              std::string::npos);
    EXPECT_NE(log.find(error["description"].text), std::string::npos)
        << error["description"].text;
    EXPECT_TRUE(r["documents"].items.empty());
  }
  // The failures and the status skips the log counts as errors (abcde003
  // and abcde016 expired) are the summary's errors.
  EXPECT_EQ(failures + 2, results["summary"]["errors"].Int());
  const Json* unwell = Entry(results, "abcde013");
  ASSERT_NE(unwell, nullptr);
  EXPECT_EQ((*unwell)["error"]["number"].Int(), 1010);
  EXPECT_EQ((*unwell)["status_letter"].text, "V");
  EXPECT_EQ((*unwell)["profile"].Int(), 7);

  const Json* written = Entry(results, "abcde001");
  ASSERT_NE(written, nullptr);
  EXPECT_EQ((*written)["status"].text, "written");
  ASSERT_EQ((*written)["documents"].items.size(), 1u);
  EXPECT_EQ((*written)["documents"].items[0]["path"].text,
            tmp_ / "out/abcde/xabcde0010.XML");
}

TEST_F(RunResultsTest, LegacyRunWithEveryOutcome) {
  const std::string repo = Repository("legacy_side_files", kLegacyOutcomes);
  ASSERT_EQ(Run(Generate(repo, {"--legacy", "--schema-ini-path", tmp_ / "out",
                                "--from", "abcde", "--to", "abcdezzzzzzz"})),
            0)
      << ReadAll(tmp_ / "stderr");
  const Json results = CheckedResults();
  EXPECT_EQ(results["settings"]["class"].text, "ClsXMLLegacy");

  std::map<std::string, std::string> status;
  for (const Json& r : results["results"].items) {
    status[r["code"].text] = r["status"].text;
  }
  EXPECT_EQ(status, (std::map<std::string, std::string>{
                        {"abcdeexpired", "skipped_status"},
                        {"abcdefails", "error"},
                        {"abcdenosource", "error"},
                        {"abcdeorders", "no_mapping"},
                        {"abcdewritten", "written"}}));
  // The null source-table list fails the object, which the legacy summary
  // counts in the total only.
  const Json* nosource = Entry(results, "abcdenosource");
  ASSERT_NE(nosource, nullptr);
  EXPECT_TRUE((*nosource)["counted_as"].IsNull());
  EXPECT_TRUE((*nosource)["error"]["number"].IsNull());
  EXPECT_EQ((*nosource)["error"]["description"].text,
            "Source tables is Null for the table abcdenosource in the "
            "profile no. 7");
  EXPECT_EQ((*Entry(results, "abcdeexpired"))["counted_as"].text, "errors");
  const Json* fails = Entry(results, "abcdefails");
  ASSERT_NE(fails, nullptr);
  EXPECT_EQ((*fails)["counted_as"].text, "errors");
  EXPECT_EQ((*fails)["error"]["number"].Int(), 124);
  EXPECT_NE(
      ReadAll(tmp_ / "run.log").find((*fails)["error"]["description"].text),
      std::string::npos);
  EXPECT_EQ((*Entry(results, "abcdewritten"))["documents"].items.size(), 1u);

  // The side files belong to the run, not to a table.
  std::vector<std::string> names;
  for (const Json& f : results["run_files"].items) {
    names.push_back(fs::path(f["path"].text).filename().string());
  }
  EXPECT_EQ(names, (std::vector<std::string>{
                       "xConversionCodes", "xConversionCodes.XML", "Schema.ini",
                       "LookupApplication.txt"}));
}

// A failed run still has its results, with the error that ended it; the
// password of the connection string is in neither file.
TEST_F(RunResultsTest, FailedRunKeepsItsErrorAndNoPassword) {
  Repository("legacy_side_files");
  const std::string connection =
      "Data Source=" + (tmp_ / "missing.sqlite") + ";Password=s3cret";
  std::vector<std::string> args = Generate("", {});
  args[2] = connection;
  EXPECT_EQ(Run(args), 1) << ReadAll(tmp_ / "stderr");
  const std::string text = ReadAll(tmp_ / "results.json");
  EXPECT_EQ(text.find("s3cret"), std::string::npos) << text;
  EXPECT_EQ(ReadAll(tmp_ / "report.html").find("s3cret"), std::string::npos);
  const Json results = testing::ParseJson(text);
  EXPECT_FALSE(results["result"].boolean);
  EXPECT_FALSE(results["error"].IsNull());
  EXPECT_EQ(results["settings"]["connection"].text,
            "Data Source=" + (tmp_ / "missing.sqlite"));
  EXPECT_TRUE(results["results"].items.empty());
}

TEST_F(RunResultsTest, FilesThatWouldDestroyAnotherAreRefused) {
  const std::string repo = Repository("legacy_side_files");
  const std::string before = ReadAll(repo);
  std::vector<std::string> args = Generate(repo, {"--legacy"});
  args[10] = repo;  // --results
  EXPECT_EQ(Run(args), 2);
  EXPECT_EQ(ReadAll(repo), before);
  args[10] = tmp_ / "no/such/folder/results.json";
  EXPECT_EQ(Run(args), 2);
  EXPECT_NE(ReadAll(tmp_ / "stderr").find("in no existing folder"),
            std::string::npos);
  args[10] = tmp_ / "report.html";  // the same file as --report
  EXPECT_EQ(Run(args), 2);
  EXPECT_FALSE(fs::exists(tmp_ / "run.log"));
}

// The report as a browser draws it: headless Chromium runs the page's script
// and prints the document it made.
TEST_F(RunResultsTest, ReportShowsCountsAndFailuresInABrowser) {
  if (std::system("command -v chromium >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "chromium is not installed (scripts/install-deps.sh "
                    "installs it): the report page is not drawn";
  }
  const std::string repo = Repository("dd_mixed_run");
  ASSERT_EQ(Run(Generate(repo, {"--from", "abcde001", "--to", "abcde999",
                                "--option", "5"})),
            0);
  const Json results = testing::ParseJson(ReadAll(tmp_ / "results.json"));
  const std::string command =
      "timeout 120 chromium --headless --no-sandbox --disable-gpu "
      "--user-data-dir=" +
      (tmp_ / "chromium-profile") + " --dump-dom 'file://" +
      (tmp_ / "report.html") + "' > '" + (tmp_ / "dom.html") + "' 2> '" +
      (tmp_ / "chromium.err") + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadAll(tmp_ / "chromium.err");
  const std::string dom = ReadAll(tmp_ / "dom.html");
  ASSERT_NE(dom.find("data-rendered=\"yes\""), std::string::npos)
      << "the page's script did not run to its end:\n"
      << dom.substr(0, 2000);
  const Json& summary = results["summary"];
  for (const char* name :
       {"successful", "mscript", "no_mapping", "errors", "total"}) {
    EXPECT_NE(dom.find("id=\"count-" + std::string(name) + "\">" +
                       std::to_string(summary[name].Int()) + "<"),
              std::string::npos)
        << name;
  }
  int failures = 0;
  for (const Json& r : results["results"].items) {
    failures += r["status"].text == "error" ? 1 : 0;
  }
  EXPECT_NE(dom.find(">error (" + std::to_string(failures) + ")</button>"),
            std::string::npos);
  EXPECT_NE(dom.find("<li><code>abcde013</code> error 1010: Section INFO of "
                     "abcde013 is not well-formed XML"),
            std::string::npos);
  // A document's link leads from the page's folder to the file.
  EXPECT_NE(dom.find("href=\"out/abcde/xabcde0010.XML\""), std::string::npos);
}

TEST_F(RunResultsTest, VersionIsTheProjectVersion) {
  ASSERT_EQ(Run({"--version"}), 0);
  std::string version = ReadAll(MX_VERSION_FILE);
  version.erase(version.find_last_not_of("\r\n") + 1);
  EXPECT_EQ(ReadAll(tmp_ / "stdout"), "movx20xmlgen " + version + "\n");
}

// The catalogue lists every member of the class's table under its dispatch
// id, with the types and passing of the table.
TEST_F(RunResultsTest, CatalogueListsEveryMemberOfBothClasses) {
  for (const bool legacy : {false, true}) {
    std::vector<std::string> args = {"call", "--list"};
    if (legacy) args.insert(args.begin() + 1, "--legacy");
    ASSERT_EQ(Run(args), 0);
    const std::string out = ReadAll(tmp_ / "stdout");
    const auto object =
        CreateObject(legacy ? "MOVX20XMLGenerator.ClsXMLLegacy"
                            : "MOVX20XMLGenerator.ClsXMLGenerator");
    std::istringstream lines(out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, object->ProgId());
    for (const MemberInfo& m : object->Members().members()) {
      ASSERT_TRUE(std::getline(lines, line));
      EXPECT_EQ(std::stoi(line), m.dispid);
      EXPECT_NE(line.find(" " + m.name), std::string::npos) << line;
    }
    EXPECT_FALSE(std::getline(lines, line)) << line;
    EXPECT_NE(out.find("Function Replace_Empty_Default_Target(ByVal StrSrcAppl "
                       "As String, ByVal StrTrgAppl As String, ByVal StrString "
                       "As String, ByRef Return_String As String) As Boolean"),
              std::string::npos);
    EXPECT_NE(out.find("Property LogFileName As Object (set)"),
              std::string::npos);
    EXPECT_NE(out.find("Property ErrorDescription As String (read)"),
              std::string::npos);
  }
}

}  // namespace
}  // namespace mx
