// Runs of the demo repository, by both classes and for every profile that
// maps target tables, in which the n-th file operation fails (each way it
// can fail) or the n-th query is refused, for every n the fault-free run
// reaches. Whatever fails, the run ends as its error handling says: a run
// that returns False names the error in ErrorDescription and ends its log
// with it; a run that returns True has logged the failure of the object it
// hit. Nothing is left under a temporary name, and every file that was
// written holds exactly what the fault-free run wrote there.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/demo_repository.h"
#include "context/generator_context.h"
#include "movx20xmlgen/cls_xml_generator.h"
#include "movx20xmlgen/cls_xml_legacy.h"
#include "movx20xmlgen/text_stream.h"
#include "platform/clock.h"
#include "repository/connection.h"
#include "repository/schema.h"
#include "repository/sqlite_script.h"
#include "testing/faulty_connection.h"
#include "testing/faulty_env.h"
#include "testing/temp_dir.h"
#include "xml/cipher.h"

namespace mx {
namespace {

namespace fs = std::filesystem;
using testing::FaultyConnection;
using testing::FaultyEnv;
using testing::FileFault;
using testing::FileOperation;

// One run to sweep: a class, a profile, the target tables and whether the
// conversion is split over worker shells.
struct SweptRun {
  GeneratorKind kind;
  int32_t profile;
  std::string selection;
  bool split;
};

constexpr char kSplitInformation[] = "splitinfo.xml";

std::string Name(const SweptRun& s) {
  return std::string(s.kind == GeneratorKind::kLegacy ? "legacy" : "dd") +
         " profile " + std::to_string(s.profile) + (s.split ? " split" : "");
}

// What a run left: its result, its log and the files under its folder.
struct Outcome {
  bool result = false;
  bool raised = false;  // a property setter raised (the folder clearing)
  std::string error_description;
  std::string log;
  std::map<std::string, std::string> files;
};

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in),
                     std::istreambuf_iterator<char>());
}

// The rows of a one-column query of the repository file, as text.
std::vector<std::string> Column(const std::string& repo, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(repo.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
  std::vector<std::string> values;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    values.emplace_back(
        reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return values;
}

std::string Joined(const std::vector<std::string>& items) {
  std::string list;
  for (const std::string& item : items)
    list += (list.empty() ? "" : ",") + item;
  return list;
}

// Every target table the repository knows of, mapped or listed.
std::vector<std::string> TargetTables(const std::string& repo) {
  return Column(repo,
                "SELECT trim(tcpac) || trim(tcmod) || trim(tflno) AS code "
                "FROM qxmap120 UNION SELECT trim(cpac) || trim(cmod) || "
                "trim(flno) FROM qxddi140 UNION SELECT trim(cpac) || "
                "trim(cmod) || trim(flno) FROM qxlgy140 ORDER BY code");
}

// The items of a comma-separated list that are not in `drop`.
std::vector<std::string> Without(const std::string& list,
                                 const std::set<std::string>& drop) {
  std::vector<std::string> kept;
  std::istringstream items(list);
  for (std::string item; std::getline(items, item, ',');) {
    if (drop.count(item) == 0) kept.push_back(item);
  }
  return kept;
}

// The conversion objects a run's log shows as failed: an error line in the
// lines of the object.
std::set<std::string> FailedObjects(const std::string& log) {
  // "Conversion Object" in a data-dictionary log, "Mapping Object" in a
  // legacy one.
  static const std::regex kStart(
      "(?:Conversion|Mapping) Object: ([^ ]+) as XML File");
  std::set<std::string> failed;
  std::string current;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (std::regex_search(line, match, kStart)) {
      current = match[1];
    } else if (!current.empty() && line.find("ERROR") != std::string::npos) {
      failed.insert(current);
    }
  }
  return failed;
}

class FaultSweep {
 public:
  FaultSweep() : repo_(tmp_ / "demo.sqlite"), out_(tmp_ / "xml") {
    repository::CreateSqliteRepository(repo_);
    repository::ExecuteSqliteScript(repo_, cli::DemoRepositoryScript());
  }

  // Both classes on every profile, each with every target table, split and
  // not.
  std::vector<SweptRun> SweptRuns() const {
    const std::string tables = Joined(TargetTables(repo_));
    std::vector<SweptRun> runs;
    for (const std::string& profile :
         Column(repo_, "SELECT DISTINCT mprf FROM qxmap100 ORDER BY mprf")) {
      for (GeneratorKind kind :
           {GeneratorKind::kDataDictionary, GeneratorKind::kLegacy}) {
        for (bool split : {false, true}) {
          runs.push_back({kind, std::stoi(profile), tables, split});
        }
      }
    }
    return runs;
  }

  // One run into a fresh folder; `fail_query` 0 refuses no query.
  Outcome Run(const SweptRun& s, FaultyEnv& env, size_t fail_query,
              size_t* queries = nullptr) {
    std::error_code ignored;
    fs::remove_all(out_, ignored);
    fs::create_directory(out_);
    Outcome outcome;
    {
      std::unique_ptr<GeneratorObject> object = MakeObject(s);
      GeneratorContext& ctx = object->context();
      FixedClock clock("2026-01-02 03:04:05");
      ctx.env = &env;
      ctx.clock = &clock;
      const std::string connection = "Data Source=" + repo_;
      object->put_ConnectionString(connection);
      auto faulty = std::make_unique<FaultyConnection>(
          repository::OpenConnection(connection), fail_query);
      FaultyConnection* counted = faulty.get();
      ctx.connections.Adopt(connection, std::move(faulty));
      auto log = std::make_shared<StringTextStream>();
      object->putref_LogFileName(log);
      object->put_ListOfMappingObjectsSelected(s.selection);
      object->put_SplitVshells(s.split);
      object->put_XMLPath(out_);
      try {
        object->put_ClearXMLDirectory(true);
        outcome.result = Generate(s, *object);
      } catch (const VbError& e) {
        outcome.raised = true;
        outcome.error_description = e.description();
      }
      if (!outcome.raised)
        outcome.error_description = object->get_ErrorDescription();
      outcome.log = log->text();
      if (queries != nullptr) *queries = counted->queries();
    }
    // A failed clearing may leave no folder at all.
    if (!fs::exists(out_)) return outcome;
    for (const auto& entry : fs::recursive_directory_iterator(out_)) {
      if (!entry.is_regular_file()) continue;
      outcome.files[fs::relative(entry.path(), out_).string()] =
          ReadWhole(entry.path());
    }
    return outcome;
  }

 private:
  std::unique_ptr<GeneratorObject> MakeObject(const SweptRun& s) {
    if (s.kind == GeneratorKind::kLegacy) {
      auto legacy = std::make_unique<ClsXMLLegacy>();
      legacy->put_MigrationProfile(s.profile);
      legacy->put_SchemaINIPath(out_);
      return legacy;
    }
    auto dd = std::make_unique<ClsXMLGenerator>();
    dd->put_MigrationProfile(static_cast<int16_t>(s.profile));
    dd->put_XMLGenerationOption(All);
    return dd;
  }

  static bool Generate(const SweptRun& s, GeneratorObject& object) {
    if (s.kind == GeneratorKind::kLegacy) {
      return static_cast<ClsXMLLegacy&>(object).GenerateXMLFile();
    }
    return static_cast<ClsXMLGenerator&>(object).GenerateXMLFile();
  }

  testing::TempDir tmp_;
  std::string repo_;
  std::string out_;
};

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The same document: the same bytes, or for the legacy class the same
// plain text under a different salt.
bool SameDocument(const SweptRun& s, const std::string& a,
                  const std::string& b) {
  if (a == b) return true;
  return s.kind == GeneratorKind::kLegacy && a.size() == b.size() &&
         a.size() >= kCipherSaltLength && DecipherText(a) == DecipherText(b);
}

// What every faulty run must show, whatever failed. A file is compared
// with the fault-free run; where they differ, with a fault-free run of the
// objects that did not fail: when the first member of an M-script fails, the
// next one writes the M-script in its own words, as any run without the
// first would.
void ExpectSoundEnd(FaultSweep& sweep, const SweptRun& s, const Outcome& faulty,
                    const Outcome& clean, const std::string& what) {
  SCOPED_TRACE(Name(s) + ", " + what);
  std::optional<Outcome> without_failed;
  for (const auto& [name, bytes] : faulty.files) {
    const std::string file = fs::path(name).filename().string();
    EXPECT_FALSE(file.find(".tmp") != std::string::npos ||
                 file.find(".aside") != std::string::npos)
        << "left behind: " << name;
    const auto expected = clean.files.find(name);
    if (expected != clean.files.end() &&
        SameDocument(s, bytes, expected->second)) {
      continue;
    }
    if (!without_failed) {
      SweptRun rest = s;
      rest.selection = Joined(Without(s.selection, FailedObjects(faulty.log)));
      FaultyEnv env;
      without_failed = sweep.Run(rest, env, 0);
    }
    const auto alternative = without_failed->files.find(name);
    EXPECT_TRUE(alternative != without_failed->files.end() &&
                SameDocument(s, bytes, alternative->second))
        << "differs from the fault-free runs: " << name << "\n"
        << faulty.log;
  }
  if (faulty.raised || faulty.result) return;
  // A run that stops names its error and ends its log with it.
  EXPECT_NE(faulty.error_description, "");
  const std::string last_line = s.kind == GeneratorKind::kLegacy
                                    ? faulty.error_description
                                    : faulty.error_description + "\r\n";
  EXPECT_TRUE(EndsWith(faulty.log, last_line))
      << "the log does not end with ErrorDescription "
      << faulty.error_description << "\n"
      << faulty.log;
}

// The split information ends a legacy split run and the run does not look
// at its result: a fault there leaves the run, its log and every other file
// as they were, and no split information at all.
bool OnlySplitInformationLost(const SweptRun& s, const Outcome& faulty,
                              const Outcome& clean) {
  if (!s.split || faulty.result != clean.result || faulty.log != clean.log ||
      faulty.files.count(kSplitInformation) ||
      !clean.files.count(kSplitInformation) ||
      faulty.files.size() + 1 != clean.files.size()) {
    return false;
  }
  for (const auto& [name, bytes] : faulty.files) {
    const auto expected = clean.files.find(name);
    if (expected == clean.files.end() ||
        !SameDocument(s, bytes, expected->second)) {
      return false;
    }
  }
  return true;
}

std::string Describe(const FileOperation& op, FileFault fault) {
  static const char* const kKinds[] = {"create folder", "delete folder",
                                       "delete file", "write"};
  static const char* const kFaults[] = {"fails", "create fails", "write fails",
                                        "rename fails"};
  return std::string(kKinds[op.kind]) + " " + op.path + ": " +
         kFaults[static_cast<int>(fault)];
}

TEST(FaultInjection, EveryFileOperationOfTheDemoRunsMayFail) {
  FaultSweep sweep;
  for (const SweptRun& s : sweep.SweptRuns()) {
    FaultyEnv counting;
    const Outcome clean = sweep.Run(s, counting, 0);
    std::printf("%s: %s, %zu files, %zu file operations\n", Name(s).c_str(),
                clean.result ? "True" : "False", clean.files.size(),
                counting.operations().size());
    const std::vector<FileOperation> operations = counting.operations();
    for (size_t n = 1; n <= operations.size(); ++n) {
      for (FileFault fault : testing::FaultsOf(operations[n - 1])) {
        FaultyEnv env;
        env.FailAt(n, fault);
        const Outcome faulty = sweep.Run(s, env, 0);
        const std::string what = "operation " + std::to_string(n) + ", " +
                                 Describe(operations[n - 1], fault);
        ASSERT_TRUE(env.fault_happened()) << Name(s) << ", " << what;
        ExpectSoundEnd(sweep, s, faulty, clean, what);
        if (OnlySplitInformationLost(s, faulty, clean)) continue;
        // The failure shows: the setter raised it, the run stopped on it or
        // the object it hit was logged as failed.
        EXPECT_TRUE(faulty.raised || !faulty.result ||
                    faulty.log.find("Path/File access error") !=
                        std::string::npos)
            << Name(s) << ", " << what << "\n"
            << faulty.log;
      }
    }
  }
}

TEST(FaultInjection, EveryQueryOfTheDemoRunsMayBeRefused) {
  FaultSweep sweep;
  for (const SweptRun& s : sweep.SweptRuns()) {
    FaultyEnv env;
    size_t queries = 0;
    const Outcome clean = sweep.Run(s, env, 0, &queries);
    ASSERT_GT(queries, 0u);
    std::printf("%s: %s, %zu queries\n", Name(s).c_str(),
                clean.result ? "True" : "False", queries);
    for (size_t n = 1; n <= queries; ++n) {
      FaultyEnv fresh;
      const Outcome faulty = sweep.Run(s, fresh, n);
      const std::string what = "query " + std::to_string(n) + " refused";
      ExpectSoundEnd(sweep, s, faulty, clean, what);
      if (OnlySplitInformationLost(s, faulty, clean)) continue;
      // The refusal shows: the log quotes it, or an object that a fault-free
      // run writes failed with an error of its own (a function the
      // repository does not give is a missing function, error 1000), or
      // the run is the fault-free run to the byte (the refused query asked
      // for a function that an object missing it fails on anyway).
      EXPECT_TRUE(faulty.log.find(FaultyConnection::FaultText(n)) !=
                      std::string::npos ||
                  FailedObjects(faulty.log).size() >
                      FailedObjects(clean.log).size() ||
                  faulty.log == clean.log)
          << Name(s) << ", " << what << ": the refusal does not show\n"
          << faulty.log;
    }
  }
}

}  // namespace
}  // namespace mx
