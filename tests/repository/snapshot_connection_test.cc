// The run's copy of a repository: when it answers and when the repository
// does (decorator over a scripted repository), and what a copy of an SQLite
// file holds (the same rows in the same order, the lookup indexes, nothing
// written to the file).
#include "repository/snapshot_connection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "repository/row_maps.h"
#include "repository/schema.h"
#include "repository/sqlite_connection.h"
#include "temp_repository.h"
#include "testing/fake_connection.h"

namespace mx::repository {
namespace {

using repository::testing::ExpectSameAnswers;
using repository::testing::TempRepository;

ResultSet OneValue(const std::string& column, const std::string& value) {
  ResultSet result;
  result.columns = {column};
  result.rows = {{Variant(value)}};
  return result;
}

// A scripted copy whose readers answer "copied" queries as it does.
class ReadableCopy : public mx::testing::FakeConnection {
 public:
  std::unique_ptr<Connection> OpenReader() override {
    auto reader = std::make_unique<mx::testing::FakeConnection>();
    reader->Answer("copied", OneValue("from", "copy's reader"));
    return reader;
  }
};

// A repository that offers a copy after `due_after` queries; the copy is a
// scripted connection that answers "copied" queries and refuses the rest.
class OfferingRepository : public mx::testing::FakeConnection {
 public:
  std::optional<int64_t> due_after = 0;
  bool copy_fails = false;
  bool asking_fails = false;
  int copies_taken = 0;
  int scopes_begun = 0;
  int scopes_ended = 0;

  std::optional<int64_t> QueriesBeforeSnapshot() override {
    if (asking_fails) throw VbError(errors::kQueryRefused, "test", "refused");
    return due_after;
  }
  std::unique_ptr<Connection> TakeSnapshot() override {
    if (copy_fails) throw VbError(errors::kCannotConnect, "test", "lost");
    ++copies_taken;
    auto copy = std::make_unique<ReadableCopy>();
    copy->Answer("copied", OneValue("from", "copy"));
    return copy;
  }
  void BeginReadScope() override { ++scopes_begun; }
  void EndReadScope() noexcept override { ++scopes_ended; }
};

std::string From(Connection& connection, const std::string& sql) {
  return *connection.Execute(sql).rows.at(0).at(0).text();
}

struct Scripted {
  OfferingRepository* repository;
  std::unique_ptr<SnapshotConnection> connection;
};

Scripted MakeScripted() {
  auto repository = std::make_unique<OfferingRepository>();
  OfferingRepository* raw = repository.get();
  raw->Answer("copied", OneValue("from", "repository"));
  raw->Answer("not copied", OneValue("from", "repository"));
  return {raw, std::make_unique<SnapshotConnection>(std::move(repository))};
}

TEST(SnapshotConnectionTest, TheCopyAnswersOnceDueAndTheRepositoryTheRest) {
  Scripted s = MakeScripted();
  s.repository->due_after = 2;
  // Outside a scope there is no state to copy.
  EXPECT_EQ(From(*s.connection, "copied"), "repository");
  s.connection->BeginReadScope();
  EXPECT_EQ(From(*s.connection, "copied"), "repository");
  EXPECT_EQ(From(*s.connection, "copied"), "repository");
  EXPECT_EQ(s.repository->copies_taken, 0);
  EXPECT_EQ(From(*s.connection, "copied"), "copy");
  EXPECT_EQ(s.repository->copies_taken, 1);
  // A query the copy refuses is the repository's to answer or refuse.
  EXPECT_EQ(From(*s.connection, "not copied"), "repository");
  const VbError refused =
      testing::RaisedError([&] { s.connection->Execute("unknown"); });
  EXPECT_EQ(refused.description(), "unexpected query: unknown");
  EXPECT_EQ(From(*s.connection, "copied"), "copy");
  EXPECT_EQ(s.repository->copies_taken, 1);
  s.connection->EndReadScope();
  EXPECT_EQ(s.repository->scopes_begun, 1);
  EXPECT_EQ(s.repository->scopes_ended, 1);
  // The copy goes with its scope; the next scope reads a state of its own.
  EXPECT_EQ(From(*s.connection, "copied"), "repository");
  s.repository->due_after = 0;
  s.connection->BeginReadScope();
  EXPECT_EQ(From(*s.connection, "copied"), "copy");
  EXPECT_EQ(s.repository->copies_taken, 2);
  s.connection->EndReadScope();
}

// Builders on other threads read the copy only: none is offered while the
// copy is still due. What they read counts among the scope's queries.
TEST(SnapshotConnectionTest, ReadersAreOfferedOnceTheCopyAnswers) {
  Scripted s = MakeScripted();
  s.repository->due_after = 1;
  EXPECT_EQ(s.connection->OpenReader(), nullptr);  // outside a scope
  s.connection->BeginReadScope();
  EXPECT_EQ(s.connection->OpenReader(), nullptr);
  EXPECT_EQ(From(*s.connection, "copied"), "repository");
  std::unique_ptr<Connection> reader = s.connection->OpenReader();
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(s.repository->copies_taken, 1);
  EXPECT_EQ(From(*reader, "copied"), "copy's reader");
  EXPECT_EQ(From(*reader, "copied"), "copy's reader");
  EXPECT_EQ(s.connection->stats().answered_by_readers, 2u);
  EXPECT_EQ(s.connection->stats().sent_to_repository, 1u);
  reader.reset();
  s.connection->EndReadScope();
}

// A run that says how many queries are coming gets its copy at once when
// they reach the due count, and as before when they fall short.
TEST(SnapshotConnectionTest, ExpectedQueriesBringTheCopyForward) {
  for (const int64_t expected : {2, 3}) {
    SCOPED_TRACE(expected);
    Scripted s = MakeScripted();
    s.repository->due_after = 4;
    s.connection->BeginReadScope();
    EXPECT_EQ(From(*s.connection, "copied"), "repository");
    s.connection->ExpectQueries(expected);
    EXPECT_EQ(From(*s.connection, "copied"),
              expected == 3 ? "copy" : "repository");
    s.connection->EndReadScope();
    // The next scope waits for its own due count again.
    s.connection->BeginReadScope();
    EXPECT_EQ(From(*s.connection, "copied"), "repository");
    s.connection->EndReadScope();
  }
}

TEST(SnapshotConnectionTest, WithoutACopyEveryQueryGoesToTheRepository) {
  struct Case {
    const char* name;
    std::optional<int64_t> due_after;
    bool asking_fails, copy_fails;
  };
  for (const Case& c : {Case{"no copy offered", std::nullopt, false, false},
                        Case{"asking fails", 0, true, false},
                        Case{"the copy fails", 0, false, true}}) {
    SCOPED_TRACE(c.name);
    Scripted s = MakeScripted();
    s.repository->due_after = c.due_after;
    s.repository->asking_fails = c.asking_fails;
    s.repository->copy_fails = c.copy_fails;
    s.connection->BeginReadScope();
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(From(*s.connection, "copied"), "repository");
    }
    EXPECT_EQ(s.repository->sent().size(), 3u);
    EXPECT_FALSE(s.connection->stats().taken);
    s.connection->EndReadScope();
  }
}

TEST(SnapshotConnectionTest, AForgoneCopyIsNotTakenInThatScopeOnly) {
  Scripted s = MakeScripted();
  s.repository->due_after = 1;
  s.connection->BeginReadScope();
  s.connection->ForgoCopy();
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(From(*s.connection, "copied"), "repository");
  }
  EXPECT_EQ(s.repository->copies_taken, 0);
  s.connection->EndReadScope();
  // A copy taken before stays; the next scope decides afresh.
  s.connection->BeginReadScope();
  EXPECT_EQ(From(*s.connection, "copied"), "repository");
  EXPECT_EQ(From(*s.connection, "copied"), "copy");
  s.connection->ForgoCopy();
  EXPECT_EQ(From(*s.connection, "copied"), "copy");
  EXPECT_EQ(s.repository->copies_taken, 1);
  s.connection->EndReadScope();
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(SqliteSnapshotTest, AFileWithTheLookupIndexesIsReadAsItIs) {
  TempRepository repo;
  auto file = SqliteConnection::Open(repo.path());
  file->BeginReadScope();
  EXPECT_EQ(file->QueriesBeforeSnapshot(), std::nullopt);
  file->EndReadScope();
  // One index missing is enough to read a copy.
  repo.Exec("DROP INDEX " + LookupIndexes().back().name);
  file->BeginReadScope();
  EXPECT_EQ(file->QueriesBeforeSnapshot(), std::optional<int64_t>(0));
  file->EndReadScope();
}

TEST(SqliteSnapshotTest, TheCopyGivesTheFilesRowsInTheFilesOrder) {
  TempRepository repo;
  for (const LookupIndex& index : LookupIndexes()) {
    repo.Exec("DROP INDEX " + index.name);
  }
  // Rows out of key order, a gap in the rowids, blanks and case in the
  // texts, NULLs, a text that is not UTF-8, and a table of another tool.
  repo.Exec(
      "INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom) VALUES "
      "('TAPP', 'tc', 'itm', '001', 'zeta', 3, 'tcdom'), "
      "('TAPP', 'tc', 'itm', '001', 'alpha', 1, NULL), "
      "('TAPP', 'tc', 'itm', '001  ', 'gone', 9, 'x'), "
      "('TAPP', 'tc', 'itm', '001', 'Beta', 2, 'tcdom  '), "
      "('SAPP', 'tc', 'itm', '001', 'alpha', 1, 'tcdom');"
      "DELETE FROM qxddi150 WHERE fdnm = 'gone';"
      "INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno) VALUES "
      "('TAPP', 'tc', 'itm', '001 ', 'after', 0);"
      "INSERT INTO qxddi220 (appl, cpac, cdom, type, leng) VALUES "
      "('TAPP', 'tc', 'dom', 'A', '10'), ('TAPP', 'tc', 'dom  ', 'N', '3');"
      "INSERT INTO qxlgy115 (code, ival, oval) VALUES ('a', x'C328', 'b');"
      "CREATE TABLE other (note TEXT); INSERT INTO other VALUES ('kept');");
  const std::string before = FileBytes(repo.path());

  auto file = SqliteConnection::Open(repo.path());
  file->BeginReadScope();
  ASSERT_EQ(file->QueriesBeforeSnapshot(), std::optional<int64_t>(0));
  std::unique_ptr<Connection> copy = file->TakeSnapshot();
  ASSERT_NE(copy, nullptr);
  const std::vector<std::string> queries = {
      "SELECT * FROM qxddi150",
      "SELECT fdnm, fdno FROM qxddi150 WHERE appl = 'TAPP' AND cpac = 'tc' "
      "AND cmod = 'itm' AND flno = '001'",
      "SELECT fdnm FROM qxddi150 WHERE appl = 'TAPP' AND cpac + cmod + flno "
      "= 'tcitm001' ORDER BY fdno",
      "SELECT * FROM qxddi220 WHERE appl = 'TAPP' AND cpac + cdom = 'tcdom'",
      "SELECT qxddi150.fdnm, qxddi220.type FROM qxddi150, qxddi220 WHERE "
      "qxddi150.cdom = qxddi220.cpac + qxddi220.cdom",
      "SELECT count(*) FROM qxddi150 WHERE UPPER(fdnm) = 'BETA'",
      "SELECT note FROM other"};
  ExpectSameAnswers(*file, *copy, queries);
  // A builder on another thread reads the copy in a file of the run's own,
  // gone when the copy closes.
  std::unique_ptr<Connection> reader = copy->OpenReader();
  ASSERT_NE(reader, nullptr);
  reader->BeginReadScope();
  ExpectSameAnswers(*file, *reader, queries);
  const ResultSet files = reader->Execute("PRAGMA database_list");
  const std::string copy_file = *files.rows.at(0).at(2).text();
  EXPECT_TRUE(std::filesystem::exists(copy_file)) << copy_file;
  EXPECT_EQ(
      std::filesystem::status(copy_file).permissions() &
          std::filesystem::perms::all,
      std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  reader->EndReadScope();
  reader.reset();
  // A text the file cannot give is refused by the copy in the same words.
  const VbError from_file =
      testing::RaisedError([&] { file->Execute("SELECT ival FROM qxlgy115"); });
  const VbError from_copy =
      testing::RaisedError([&] { copy->Execute("SELECT ival FROM qxlgy115"); });
  EXPECT_EQ(from_copy.number(), from_file.number());
  EXPECT_EQ(from_copy.description(), from_file.description());
  // The copy carries every index of a run's copy that no map stands in for
  // (each map stands in for one of them).
  size_t stood_in = 0;
  for (const LookupIndex& index : CopyIndexes()) {
    for (const RowMapKey& key : RowMapKeys()) {
      if (key.table == index.table && key.replaces == index.key) {
        ++stood_in;
        break;
      }
    }
  }
  for (const RowMapKey& key : RowMapKeys()) {
    EXPECT_TRUE(std::any_of(CopyIndexes().begin(), CopyIndexes().end(),
                            [&](const LookupIndex& index) {
                              return index.table == key.table &&
                                     index.key == key.replaces;
                            }))
        << key.table << ": " << key.replaces;
  }
  const ResultSet indexes = copy->Execute(
      "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name "
      "LIKE 'mx!_%' ESCAPE '!'");
  EXPECT_EQ(indexes.rows.at(0).at(0).ToDouble(),
            static_cast<double>(CopyIndexes().size() - stood_in));
  copy.reset();
  EXPECT_FALSE(std::filesystem::exists(copy_file));
  file->EndReadScope();
  file.reset();
  EXPECT_TRUE(FileBytes(repo.path()) == before);
  EXPECT_FALSE(std::filesystem::exists(repo.path() + "-journal"));
}

// A file of another tool may lack columns the indexes name: the copy gets
// the indexes that fit and answers every query still.
TEST(SqliteSnapshotTest, AnIndexThatDoesNotFitTheTableIsLeftOut) {
  const std::string path = testing::TempPath(".db");
  std::filesystem::remove(path);
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TABLE qxddi220 (appl TEXT, cdom TEXT);"
                           "INSERT INTO qxddi220 VALUES ('A', 'x'), ('A', "
                           "'y');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
  }
  auto file = SqliteConnection::Open(path);
  file->BeginReadScope();
  std::unique_ptr<Connection> copy = file->TakeSnapshot();
  ExpectSameAnswers(*file, *copy,
                    {"SELECT cdom FROM qxddi220 WHERE appl = 'A'"});
  copy.reset();
  file->EndReadScope();
  file.reset();
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace mx::repository
