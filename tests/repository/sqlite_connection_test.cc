// Queries in the server's dialect and Windows-1252 against a real SQLite
// repository: comparisons, dialect functions, value kinds, text conversion
// and the errors of refused queries.
#include "repository/sqlite_connection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "repository/temp_repository.h"
#include "testing/temp_dir.h"

namespace mx::repository {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::RaisedError;

class SqliteConnectionTest : public ::testing::Test {
 protected:
  // The texts of column 0 of every row.
  std::vector<std::string> Texts(const std::string& sql) {
    std::vector<std::string> texts;
    for (const auto& row : Connect().Execute(sql).rows) {
      texts.push_back(row.at(0).text() ? *row.at(0).text() : "(not a text)");
    }
    return texts;
  }

  Connection& Connect() {
    if (!connection_) connection_ = SqliteConnection::Open(repository_.path());
    return *connection_;
  }

  testing::TempRepository repository_;
  std::unique_ptr<Connection> connection_;
};

TEST_F(SqliteConnectionTest, TextComparisonsIgnoreTrailingBlanks) {
  repository_.Exec(
      "insert into qxddi140 values ('app', 'ab', 'cde', '001'),"
      " ('app', 'ab', 'cdf', '002'), ('app  ', 'ab', 'xyz', '003')");
  EXPECT_THAT(Texts("select flno from qxddi140 where cpac = 'ab ' and "
                    "cmod = 'cde'"),
              ElementsAre("001"));
  EXPECT_THAT(Texts("select flno from qxddi140 where appl = 'app' and "
                    "cmod between 'cde' and 'xyz  ' order by flno"),
              ElementsAre("001", "002", "003"));
  EXPECT_THAT(Texts("select flno from qxddi140 where cpac + cmod + flno = "
                    "'abcde001'"),
              ElementsAre("001"));
  EXPECT_THAT(Texts(" select qxddi140.flno,qxddi140.cmod "
                    " from qxddi140 where  qxddi140.cpac + qxddi140.cmod + "
                    "qxddi140.flno in ('abcdf002','abxyz003') order by 1"),
              ElementsAre("002", "003"));
}

TEST_F(SqliteConnectionTest, ServerFunctionsAndLiteralConcatenation) {
  repository_.Exec(
      "insert into qxlgy150 (appl, cpac, cmod, flno, flna, seqn, dtyp) values"
      " ('app', 'qx', 'fil', 'Cust.TXT', 'NAME$', 1, 'U')");
  EXPECT_THAT(Texts(" select  'cust' + '_' + Replace(flna,'$','')  from "
                    "qxlgy150  where  appl='app' and "
                    " UPPER(flno) = UPPER('cust.txt')"),
              ElementsAre("cust_NAME"));
  EXPECT_THAT(Texts("select dtyp from qxlgy150 where appl ='app' and "
                    "flno + flna ='Cust.TXTNAME$'"),
              ElementsAre("U"));
}

TEST_F(SqliteConnectionTest, ValuesKeepTheirKindsAndColumnsTheirNames) {
  // A number given as text still lands as a number in an integer column.
  repository_.Exec(
      "insert into qxmap100 (mprf, vers, deph, apln) values"
      " ('7', 'v1  ', 3, NULL)");
  const ResultSet result = Connect().Execute(
      "select mprf, vers, deph, apln, 1.5 as half from qxmap100 "
      "where mprf = 7");
  EXPECT_THAT(result.columns,
              ElementsAre("mprf", "vers", "deph", "apln", "half"));
  ASSERT_EQ(result.rows.size(), 1u);
  const auto& row = result.rows[0];
  EXPECT_TRUE(row[0].IsInteger());
  EXPECT_EQ(*row[1].text(),
            "v1  ");  // blanks are kept, only ignored in comparisons
  EXPECT_TRUE(row[2].IsInteger());
  EXPECT_TRUE(row[3].IsNull());
  EXPECT_TRUE(row[4].IsDouble());

  const ResultSet empty = Connect().Execute("select * from qxmap101");
  EXPECT_THAT(empty.columns, ElementsAre("mprf", "pprf"));
  EXPECT_TRUE(empty.rows.empty());
}

TEST_F(SqliteConnectionTest, TextsCrossTheBoundaryInWindows1252) {
  repository_.Exec(
      "insert into qxddi150 (appl, fdnm, cdom) values"
      " ('app', '\xC3\xA9t\xC3\xA9', '\xE2\x82\xAC' || 'amt')");
  EXPECT_THAT(Texts("select cdom from qxddi150 where fdnm = '\xE9t\xE9'"),
              ElementsAre("\x80"
                          "amt"));
}

TEST_F(SqliteConnectionTest, TextThatIsNotUtf8IsAConversionError) {
  repository_.Exec(
      "insert into qxddi150 (appl, fdnm, cdom) values"
      " ('blob', X'FF41', 'ok'), ('text', CAST(X'41C3' AS TEXT), 'ok')");
  for (const char* appl : {"blob", "text"}) {
    const VbError error = RaisedError([&] {
      Connect().Execute(
          std::string("select cdom, fdnm from qxddi150 where appl = '") + appl +
          "'");
    });
    EXPECT_EQ(error.number(), errors::kConversionFailed) << appl;
    EXPECT_THAT(error.description(), HasSubstr("fdnm")) << appl;
  }
}

TEST_F(SqliteConnectionTest, RefusedQueriesCarryTheEnginesMessage) {
  struct Case {
    const char* sql;
    const char* message;
  };
  const Case cases[] = {
      {"select * form qxmap100", "syntax error"},
      {"select nope from qxmap100", "no such column: nope"},
      // A value holding a quote breaks the text, as on the server.
      {"select * from qxmap170 where cpac = 'o'brien'", "syntax error"},
      // The repository is never written.
      {"insert into qxmap101 values (1, 2)", "readonly"},
      {"select 1; select 2", "single statement"},
      {"  ", "empty"},
  };
  for (const Case& c : cases) {
    const VbError error = RaisedError([&] { Connect().Execute(c.sql); });
    EXPECT_EQ(error.number(), errors::kQueryRefused) << c.sql;
    EXPECT_THAT(error.description(), HasSubstr(c.message)) << c.sql;
  }
  EXPECT_EQ(Connect().Execute("select 1; ").rows.size(), 1u);
}

}  // namespace
}  // namespace mx::repository

namespace mx::repository {
namespace {

// A reader for another thread reads the state of the read scope it came
// from: a writer cannot commit while the scope lasts.
TEST_F(SqliteConnectionTest, AReaderReadsTheStateOfItsScope) {
  repository_.Exec("insert into qxddi140 values ('app', 'ab', 'cde', '001')");
  Connection& run = Connect();
  EXPECT_EQ(run.OpenReader(), nullptr) << "outside a read scope";
  run.BeginReadScope();
  ASSERT_EQ(run.Execute("select flno from qxddi140").rows.size(), 1u);
  std::unique_ptr<Connection> reader = run.OpenReader();
  ASSERT_NE(reader, nullptr);
  reader->BeginReadScope();

  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open(repository_.path().c_str(), &writer), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(writer,
                         "insert into qxddi140 values ('app', 'ab', 'cde', "
                         "'002')",
                         nullptr, nullptr, nullptr),
            SQLITE_BUSY);
  EXPECT_EQ(reader->Execute("select flno from qxddi140").rows.size(), 1u);
  reader->EndReadScope();
  reader.reset();
  run.EndReadScope();
  EXPECT_EQ(sqlite3_exec(writer,
                         "insert into qxddi140 values ('app', 'ab', 'cde', "
                         "'002')",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(writer);
}

// In write-ahead-log mode a writer may commit between two read transactions,
// so no reader is offered.
TEST_F(SqliteConnectionTest, AFileInWriteAheadLogModeOffersNoReader) {
  repository_.Exec("PRAGMA journal_mode=WAL");
  Connection& run = Connect();
  run.BeginReadScope();
  run.Execute("select flno from qxddi140");
  EXPECT_EQ(run.OpenReader(), nullptr);
  run.EndReadScope();
}

// A repository in write-ahead-log mode, in a folder the reader may not
// write: SQLite cannot make the shared-memory file it reads through, so the
// file is read as an unchanging one. The reader is another user (root may
// write anywhere), in a child process.
TEST(SqliteWriteAheadLog, ARepositoryInAReadOnlyFolderIsRead) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to read as another user";
  mx::testing::TempDir dir;
  const std::filesystem::path folder = dir.path() / "ro";
  std::filesystem::create_directory(folder);
  const std::string file = (folder / "repo.sqlite").string();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "PRAGMA journal_mode=WAL; CREATE TABLE t (a TEXT);"
                         " INSERT INTO t VALUES ('x');",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
  std::filesystem::permissions(folder, std::filesystem::perms(0555));

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setresgid(65534, 65534, 65534) != 0 ||
        setresuid(65534, 65534, 65534) != 0) {
      _exit(2);
    }
    try {
      auto connection = SqliteConnection::Open(file);
      const ResultSet rows = connection->Execute("select a from t");
      _exit(rows.rows.size() == 1 ? 0 : 3);
    } catch (...) {
      _exit(1);
    }
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  std::filesystem::permissions(folder, std::filesystem::perms(0755));
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace mx::repository
