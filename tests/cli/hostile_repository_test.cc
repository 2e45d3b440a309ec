// A repository edited by people holds anything. These runs take the demo
// repository, spoil one column at a time with a hostile value in a random
// choice of its rows, and run both generator classes over it. Whatever the
// value, a run ends with a result, writes only below its XML and Schema.ini
// folders, and never reports an object as written whose document is missing
// or, for a data-dictionary document, not well-formed. The sanitizer build
// runs the same program, so a memory fault fails here too.
//
// MX_HOSTILE_SEED chooses another random draw and MX_HOSTILE_ROUNDS runs
// more than one draw per column, for longer runs on a developer's machine.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/demo_repository.h"
#include "platform/xml_check.h"
#include "repository/schema.h"
#include "repository/sqlite_script.h"
#include "testing/golden_scenario.h"
#include "testing/temp_dir.h"
#include "xml/cipher.h"

namespace mx {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;

// Each hostile value as an SQL expression; the texts that SQL literals
// cannot carry are built from bytes.
struct HostileValue {
  const char* name;
  const char* sql;
};

const std::vector<HostileValue>& HostileValues() {
  static const std::vector<HostileValue> values = {
      {"NULL", "NULL"},
      {"empty", "''"},
      {"blanks", "'      '"},
      {"quotes", "'''\"'''"},
      {"SQL fragment", "''' OR 1=1; DROP TABLE qxmap100; --'"},
      {"path separators", "'a/b\\c'"},
      {"parent folder", "'../../../../escaped'"},
      {"control characters", "char(1, 9, 10, 13, 27, 127) || 'x'"},
      {"NUL", "CAST(X'61006200' AS TEXT)"},
      {"outside Windows-1252", "'\xE6\x97\xA5\xE6\x9C\xAC \xE2\x9C\x93'"},
      {"invalid UTF-8", "CAST(X'C328FF80E2' AS TEXT)"},
      {"huge number", "99999999999999999999"},
      {"negative", "-2147483649"},
      {"16-bit overflow", "32768"},
      {"several megabytes",
       "replace(hex(zeroblob(300000)), '00', 'x = empty() ')"},
      {"unbalanced", "'(((\"abc'''"},
      {"unbalanced closers", "')) end\"'''"},
  };
  return values;
}

struct Column {
  std::string table;
  std::string name;
};

class Database {
 public:
  explicit Database(const std::string& path) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) {
      ADD_FAILURE() << "cannot open " << path;
    }
  }
  ~Database() { sqlite3_close(db_); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // The first column of every row of `sql`, as text ("" for NULL).
  std::vector<std::string> Texts(const std::string& sql) {
    std::vector<std::string> texts;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) !=
        SQLITE_OK) {
      ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
      return texts;
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
      const auto* text = sqlite3_column_text(statement, 0);
      texts.emplace_back(
          text ? reinterpret_cast<const char*>(text) : "",
          static_cast<size_t>(sqlite3_column_bytes(statement, 0)));
    }
    sqlite3_finalize(statement);
    return texts;
  }

  void Execute(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) !=
        SQLITE_OK) {
      ADD_FAILURE() << sql.substr(0, 200) << ": " << (message ? message : "");
    }
    sqlite3_free(message);
  }

 private:
  sqlite3* db_ = nullptr;
};

std::vector<Column> ColumnsWithRows(Database& db) {
  std::vector<Column> columns;
  for (const std::string& table : repository::RepositoryTables()) {
    if (db.Texts("SELECT count(*) FROM " + table)[0] == "0") continue;
    for (const std::string& name :
         db.Texts("SELECT name FROM pragma_table_info('" + table + "')")) {
      columns.push_back({table, name});
    }
  }
  return columns;
}

// Sets `column` to `value` in a random choice of its table's rows, at least
// one.
void Spoil(Database& db, const Column& column, const HostileValue& value,
           std::mt19937& random) {
  std::vector<std::string> rowids =
      db.Texts("SELECT rowid FROM " + column.table);
  std::string chosen;
  for (const std::string& rowid : rowids) {
    if (random() % 2 == 0) chosen += (chosen.empty() ? "" : ",") + rowid;
  }
  if (chosen.empty()) chosen = rowids[random() % rowids.size()];
  db.Execute("UPDATE " + column.table + " SET " + column.name + " = " +
             value.sql + " WHERE rowid IN (" + chosen + ")");
}

// The codes a log reports as written.
std::vector<std::string> WrittenCodes(const std::string& log) {
  static const std::string kBefore = "Completed exporting Mapping object: ";
  static const std::string kAfter = " as XML SUCCESSFULLY.";
  std::vector<std::string> codes;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    const size_t begin = line.find(kBefore);
    if (begin == std::string::npos) continue;
    const size_t from = begin + kBefore.size();
    const size_t end = line.rfind(kAfter);
    if (end != std::string::npos && end >= from) {
      codes.push_back(line.substr(from, end - from));
    }
  }
  return codes;
}

struct RunFolder {
  fs::path root;  // the only folder a run may write in: xml/, schema/, log
  fs::path xml() const { return root / "xml"; }
  fs::path schema() const { return root / "schema"; }
};

// The relative path of every file and folder below `sandbox` that the run
// had no business making: anything but the repository, its log and what is
// below the XML and Schema.ini folders.
std::vector<std::string> StrayEntries(const fs::path& sandbox,
                                      const RunFolder& run) {
  std::vector<std::string> stray;
  std::set<fs::path> allowed = {run.xml(), run.schema(), run.root / "log",
                                run.root / "stdout", run.root / "stderr"};
  for (fs::path up = run.root; up != sandbox; up = up.parent_path()) {
    allowed.insert(up);
  }
  for (auto it = fs::recursive_directory_iterator(sandbox);
       it != fs::recursive_directory_iterator(); ++it) {
    const fs::path& path = it->path();
    const std::string text = path.string();
    if (allowed.count(path) || text.rfind(run.xml().string() + "/", 0) == 0 ||
        text.rfind(run.schema().string() + "/", 0) == 0 ||
        text.rfind((sandbox / "repo.sqlite").string(), 0) == 0) {
      continue;
    }
    stray.push_back(fs::relative(path, sandbox).string());
  }
  return stray;
}

// The folder and file name of the document of table `code` ("x" + code +
// "0", ".XML" for the data-dictionary class).
fs::path DocumentOf(const RunFolder& run, const std::string& code,
                    bool legacy) {
  return run.xml() / code.substr(0, 5) /
         ("x" + code + (legacy ? "0" : "0.XML"));
}

class HostileRepositoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = sandbox_ / "base.sqlite";
    repository::CreateSqliteRepository(base_);
    repository::ExecuteSqliteScript(base_, cli::DemoRepositoryScript());
    Database db(base_);
    columns_ = ColumnsWithRows(db);
  }

  // Runs one class over the spoiled repository and checks what it did;
  // returns how many objects the log reports as written.
  size_t RunAndCheck(const std::string& profile, bool legacy, bool split,
                     const std::string& label) {
    SCOPED_TRACE(label + (legacy ? ", legacy class" : ", data-dictionary") +
                 ", profile " + profile + (split ? ", split" : ""));
    const fs::path sandbox = sandbox_.path() / "case";
    fs::remove_all(sandbox);
    RunFolder run{sandbox / "deep" / "down" / "run"};
    fs::create_directories(run.xml());
    fs::create_directories(run.schema());
    fs::copy_file(base_ + ".spoiled", sandbox / "repo.sqlite");

    std::vector<std::string> args = {
        "generate",
        "--connection",
        "Data Source=" + (sandbox / "repo.sqlite").string(),
        "--profile",
        profile,
        "--xml-path",
        run.xml().string(),
        "--from",
        "00000000",
        "--to",
        "zzzzzzzz",
        "--log",
        (run.root / "log").string(),
        "--now",
        "2026-03-01 09:30:00",
        "--json"};
    if (legacy) {
      args.insert(args.begin() + 1, "--legacy");
      args.insert(args.end(), {"--schema-ini-path", run.schema().string()});
    } else {
      args.insert(args.end(), {"--option", "5"});  // every status
    }
    if (split) args.push_back("--split");
    const int status =
        testing::RunProgram(MX_BINARY, args, (run.root / "stdout").string(),
                            (run.root / "stderr").string());
    const std::string out = ReadAll(run.root / "stdout");
    const std::string err = ReadAll(run.root / "stderr");

    EXPECT_TRUE(status == 0 || status == 1) << "exit " << status << "\n"
                                            << err.substr(0, 2000);
    EXPECT_EQ(err.find("Sanitizer"), std::string::npos) << err;
    EXPECT_EQ(err.find("runtime error"), std::string::npos) << err;
    EXPECT_TRUE(out.find("\"result\":true") != std::string::npos ||
                out.find("\"result\":false") != std::string::npos)
        << out;
    for (const std::string& stray : StrayEntries(sandbox, run)) {
      ADD_FAILURE() << "written outside the run's folders: " << stray;
    }
    return ExpectWrittenDocuments(run, sandbox / "repo.sqlite", legacy);
  }

  // Every object reported as written has its document (an M-script member:
  // its parent's), and every data-dictionary document is well-formed.
  size_t ExpectWrittenDocuments(const RunFolder& run, const fs::path& repo,
                                bool legacy) {
    Database db(repo.string());
    const std::vector<std::string> written =
        WrittenCodes(ReadAll(run.root / "log"));
    for (const std::string& code : written) {
      if (code.size() >= 5 && fs::exists(DocumentOf(run, code, legacy))) {
        continue;
      }
      bool parent_written = false;
      for (const std::string& parent :
           db.Texts("SELECT bpac || bmod || bflno FROM qxmap170 WHERE "
                    "cpac || cmod || cflno = '" +
                    Quoted(code) + "'")) {
        parent_written |=
            parent.size() >= 5 && fs::exists(DocumentOf(run, parent, legacy));
      }
      EXPECT_TRUE(parent_written) << "reported as written without a "
                                  << "document: " << code;
    }
    if (!fs::exists(run.xml())) return written.size();
    for (const auto& entry : fs::recursive_directory_iterator(run.xml())) {
      if (!entry.is_regular_file()) continue;
      const std::string name = entry.path().filename().string();
      if (legacy || name.size() < 4 || name.substr(name.size() - 4) != ".XML") {
        continue;
      }
      const XmlCheck check = CheckWellFormed(ReadAll(entry.path()));
      EXPECT_TRUE(check.well_formed)
          << entry.path() << ": " << check.message << " at " << check.line;
    }
    return written.size();
  }

  static std::string Quoted(const std::string& text) {
    std::string quoted;
    for (char c : text) {
      quoted += c;
      if (c == '\'') quoted += '\'';
    }
    return quoted;
  }

  testing::TempDir sandbox_;
  std::string base_;
  std::vector<Column> columns_;
};

unsigned EnvNumber(const char* name, unsigned fallback) {
  const char* text = std::getenv(name);
  return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10))
                       : fallback;
}

TEST_F(HostileRepositoryTest, TheUnspoiledDemoWritesDocuments) {
  fs::copy_file(base_, base_ + ".spoiled");
  EXPECT_GT(RunAndCheck(std::to_string(cli::kDemoProfile), /*legacy=*/false,
                        /*split=*/false, "unspoiled"),
            0u);
  EXPECT_GT(RunAndCheck(std::to_string(cli::kDemoLegacyProfile),
                        /*legacy=*/true, /*split=*/false, "unspoiled"),
            0u);
}

TEST_F(HostileRepositoryTest, EveryColumnSpoiledInTurnStillGivesASoundRun) {
  ASSERT_FALSE(columns_.empty());
  const unsigned seed = EnvNumber("MX_HOSTILE_SEED", 20261206);
  const unsigned rounds = EnvNumber("MX_HOSTILE_ROUNDS", 1);
  std::mt19937 random(seed);
  const std::vector<HostileValue>& values = HostileValues();
  for (unsigned round = 0; round < rounds; ++round) {
    for (size_t i = 0; i < columns_.size(); ++i) {
      const Column& column = columns_[i];
      const HostileValue& value = values[random() % values.size()];
      fs::copy_file(base_, base_ + ".spoiled",
                    fs::copy_options::overwrite_existing);
      {
        Database db(base_ + ".spoiled");
        Spoil(db, column, value, random);
      }
      const std::string label = column.table + "." + column.name + " = " +
                                value.name + " (seed " + std::to_string(seed) +
                                ")";
      const bool split = random() % 4 == 0;
      RunAndCheck(std::to_string(cli::kDemoProfile), /*legacy=*/false, split,
                  label);
      RunAndCheck(std::to_string(cli::kDemoLegacyProfile), /*legacy=*/true,
                  split, label);
      if (HasFailure()) return;  // one spoiled column at a time is enough
    }
  }
}

}  // namespace
}  // namespace mx
