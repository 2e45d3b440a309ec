// Documents built ahead of their turn: each turn gets its own table's work
// whoever did it, the writes and the log text come at the turn in the run's
// order, and work that cannot be taken is left to the run.
#include "run/documents_ahead.h"

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "gtest/gtest.h"
#include "testing/fake_connection.h"
#include "testing/faulty_env.h"
#include "testing/temp_dir.h"

namespace mx {
namespace {

using testing::FileFault;
using testing::FileOperation;

class NoQueries : public QuerySource {
 public:
  repository::Recordset Query(const std::string&) override {
    throw std::logic_error("no query expected");
  }
};

std::vector<TargetTable> Tables(int count) {
  std::vector<TargetTable> tables;
  for (int i = 0; i < count; ++i) {
    tables.push_back({"ab", "cde", std::to_string(i)});
  }
  return tables;
}

ConversionObject ObjectFor(const TargetTable& table) {
  ConversionObject object;
  object.cpac = table.cpac;
  object.cmod = table.cmod;
  object.flno = table.flno;
  object.prtx = "pre " + table.flno;
  return object;
}

// Every table has a mapping whose profile is its number; the document logs
// a line and writes a file named after the table under `folder`.
struct Parts {
  explicit Parts(std::string folder) : folder_(std::move(folder)) {
    parts.find = [this](QuerySource& queries, const TargetTable& table) {
      if (&queries != &run_queries) ++found_on_threads;
      if (table.flno == throw_in_find) throw std::runtime_error("find");
      Mapping m;
      m.profile = std::stoi(table.flno);
      return std::optional<Mapping>(m);
    };
    parts.object_to_build = [this](const TargetTable& table, const Mapping&) {
      if (table.flno == no_document) return std::optional<ConversionObject>();
      return std::optional<ConversionObject>(ObjectFor(table));
    };
    parts.build = [this](BuildContext& build, Env& env,
                         const ConversionObject& object) {
      std::this_thread::sleep_for(std::chrono::microseconds(100));
      if (object.flno == throw_in_build) throw std::runtime_error("build");
      build.LogLine("built " + object.flno);
      if (object.flno == reports_error) {
        build.ReportOperationError(522, "bad dump of " + object.flno);
        return false;
      }
      if (!env.FolderExists(folder_)) env.CreateFolder(folder_);
      env.WriteFile(JoinPath(folder_, object.flno), object.prtx);
      return true;
    };
  }
  std::string folder_;
  AheadParts parts;
  NoQueries run_queries;
  std::atomic<int> found_on_threads{0};
  std::string throw_in_find, throw_in_build, no_document, reports_error;
};

std::vector<std::unique_ptr<repository::Connection>> Readers(int count) {
  std::vector<std::unique_ptr<repository::Connection>> readers;
  for (int i = 0; i < count; ++i) {
    readers.push_back(std::make_unique<testing::FakeConnection>());
  }
  return readers;
}

class DocumentsAheadTest : public ::testing::Test {
 protected:
  DocumentsAheadTest()
      : folder(JoinPath(tmp.path().string(), "abcde")),
        p(folder),
        reporter(GeneratorKind::kDataDictionary),
        log(std::make_shared<StringTextStream>()) {
    reporter.set_log(log);
  }
  std::unique_ptr<DocumentsAhead> Start(const std::vector<TargetTable>& tables,
                                        int threads) {
    return std::make_unique<DocumentsAhead>(tables, 0, p.parts, settings,
                                            GeneratorKind::kDataDictionary,
                                            p.run_queries, Readers(threads));
  }
  bool Take(DocumentsAhead& ahead, size_t i, const ConversionObject& object,
            bool* written) {
    DocumentState doc;
    return ahead.Turn(i)->TakeDocument(object, env, reporter, &doc, written);
  }

  testing::TempDir tmp;
  const std::string folder;
  Parts p;
  GeneratorSettings settings;
  testing::FaultyEnv env;
  Reporter reporter;
  std::shared_ptr<StringTextStream> log;
};

TEST_F(DocumentsAheadTest, EachTurnTakesItsOwnDocumentInTheRunsOrder) {
  const std::vector<TargetTable> tables = Tables(300);
  std::string expected_log;
  {
    std::unique_ptr<DocumentsAhead> ahead = Start(tables, 3);
    for (size_t i = 0; i < tables.size(); ++i) {
      std::unique_ptr<AheadWork> work = ahead->Turn(i);
      ASSERT_TRUE(work && work->mapping() && *work->mapping());
      EXPECT_EQ((*work->mapping())->profile, static_cast<int32_t>(i));
      DocumentState doc;
      bool written = false;
      ASSERT_TRUE(work->TakeDocument(ObjectFor(tables[i]), env, reporter, &doc,
                                     &written));
      EXPECT_TRUE(written);
      expected_log += "built " + std::to_string(i) + "\r\n";
    }
  }
  EXPECT_GT(p.found_on_threads.load(), 0);
  EXPECT_EQ(log->text(), expected_log);
  EXPECT_FALSE(reporter.reported());
  // The folder once, then every file in table order.
  ASSERT_EQ(env.operations().size(), tables.size() + 1);
  EXPECT_EQ(env.operations()[0].kind, FileOperation::kCreateFolder);
  for (size_t i = 0; i < tables.size(); ++i) {
    EXPECT_EQ(env.operations()[i + 1].path,
              JoinPath(folder, std::to_string(i)));
  }
}

// With no thread of its own the run does the work at each turn; the cases
// are the same whoever does it.
TEST_F(DocumentsAheadTest, WorkThatCannotBeTakenIsLeftToTheRun) {
  p.throw_in_find = "0";
  p.throw_in_build = "1";
  p.no_document = "2";
  const std::vector<TargetTable> tables = Tables(6);
  std::unique_ptr<DocumentsAhead> ahead = Start(tables, 0);
  bool written = false;
  EXPECT_FALSE(ahead->Turn(0)->mapping().has_value()) << "the lookup raised";
  EXPECT_FALSE(Take(*ahead, 1, ObjectFor(tables[1]), &written))
      << "the build raised";
  EXPECT_FALSE(Take(*ahead, 2, ObjectFor(tables[2]), &written))
      << "no document built ahead";
  ConversionObject other = ObjectFor(tables[3]);
  other.prtx = "the run read another pre-condition";
  EXPECT_FALSE(Take(*ahead, 3, other, &written));
  env.FailAt(2, FileFault::kRename);  // the folder, then the file fails
  EXPECT_FALSE(Take(*ahead, 4, ObjectFor(tables[4]), &written));
  EXPECT_EQ(log->text(), "") << "nothing passed on from work not taken";
  EXPECT_FALSE(reporter.reported());
  EXPECT_FALSE(env.FileExists(JoinPath(folder, "4")));
  EXPECT_TRUE(Take(*ahead, 5, ObjectFor(tables[5]), &written));
  EXPECT_EQ(log->text(), "built 5\r\n");
}

TEST_F(DocumentsAheadTest, ErrorsReportedAheadArePassedOnAtTheTurn) {
  p.reports_error = "0";
  const std::vector<TargetTable> tables = Tables(2);
  reporter.set_error_description("left by an earlier table");
  std::unique_ptr<DocumentsAhead> ahead = Start(tables, 1);
  bool written = true;
  ASSERT_TRUE(Take(*ahead, 0, ObjectFor(tables[0]), &written));
  EXPECT_FALSE(written);
  EXPECT_EQ(log->text(), "built 0\r\n\t\tERROR: 522:bad dump of 0\r\n");
  EXPECT_EQ(reporter.error_description(), "\t\tERROR: 522:bad dump of 0");
  ASSERT_TRUE(reporter.last_error().has_value());
  EXPECT_EQ(reporter.last_error()->number, 522);
  EXPECT_TRUE(env.operations().empty());

  // A document without reports leaves the run's reports as they were.
  reporter.ForgetLastError();
  ASSERT_TRUE(Take(*ahead, 1, ObjectFor(tables[1]), &written));
  EXPECT_TRUE(written);
  EXPECT_EQ(reporter.error_description(), "\t\tERROR: 522:bad dump of 0");
  EXPECT_FALSE(reporter.last_error().has_value());
}

}  // namespace
}  // namespace mx
