// The run's copy of a repository on the PostgreSQL test server: it answers
// the component's queries as the server does, it is offered only where its
// comparisons are the server's, and repo copy leaves the lookup indexes and
// every row (in batches) on the server.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "interface/raised.h"
#include "odbc/test_server.h"
#include "repository/connection.h"
#include "repository/odbc_connection.h"
#include "repository/postgres_schema.h"
#include "repository/repository_copy.h"
#include "repository/schema.h"
#include "testing/temp_dir.h"

namespace mx::repository {
namespace {

class PostgresSnapshotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MX_SKIP_WITHOUT_TEST_SERVER();
    database_ = std::make_unique<odbc_testing::TestDatabase>("snapshot");
  }

  // The repository built from `sql`, copied onto the server; a connection
  // to it inside a read scope.
  std::unique_ptr<OdbcConnection> CopiedRepository(const std::string& sql) {
    const std::string repo = tmp_ / "repo.sqlite";
    odbc_testing::BuildSqliteRepository(repo, sql);
    CopyRepository(repo, database_->connection_string());
    auto server =
        OdbcConnection::Open(database_->connection_string(), "the test");
    server->BeginReadScope();
    return server;
  }

  // The run's copy of `server`'s repository answers each of `queries` with
  // the rows of the file it was copied from, in the same order. The scope
  // ends with it.
  void ExpectTheCopyAnswersAsTheFile(OdbcConnection& server,
                                     const std::vector<std::string>& queries);

  testing::TempDir tmp_;
  std::unique_ptr<odbc_testing::TestDatabase> database_;
};

std::string Text(const Variant& value) {
  return value.IsNull() ? "(null)" : value.ToTextOrEmpty();
}

// The same rows, in the same order, value for value as text.
void ExpectSameRows(const ResultSet& actual, const ResultSet& expected) {
  ASSERT_EQ(actual.rows.size(), expected.rows.size());
  for (size_t r = 0; r < expected.rows.size(); ++r) {
    for (size_t c = 0; c < expected.rows[r].size(); ++c) {
      EXPECT_EQ(Text(actual.rows[r][c]), Text(expected.rows[r][c]))
          << "row " << r << ", column " << c;
    }
  }
}

void PostgresSnapshotTest::ExpectTheCopyAnswersAsTheFile(
    OdbcConnection& server, const std::vector<std::string>& queries) {
  const auto file =
      OpenConnection("Data Source=" + std::string(tmp_ / "repo.sqlite"));
  ASSERT_TRUE(server.QueriesBeforeSnapshot().has_value());
  std::unique_ptr<Connection> copy = server.TakeSnapshot();
  ASSERT_NE(copy, nullptr);
  for (const std::string& query : queries) {
    SCOPED_TRACE(query);
    ExpectSameRows(copy->Execute(query), file->Execute(query));
  }
  copy.reset();
  server.EndReadScope();
}

TEST_F(PostgresSnapshotTest, TheCopyAnswersAsTheServer) {
  auto server = CopiedRepository(
      "INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv) "
      "VALUES ('TAPP', 'tc', 'itm', '001', 'zeta', 3, 'tcdom', 'é€'), "
      "('TAPP', 'tc', 'itm', '001  ', 'alpha', 1, NULL, '  '), "
      "('TAPP', 'tc', 'itm', '001', 'Beta', 2, 'tcdom  ', NULL), "
      "('SAPP', 'tc', 'itm', '001', 'alpha', 1, 'tcdom', 'x');"
      "INSERT INTO qxddi220 (appl, cpac, cdom, type, leng) VALUES "
      "('TAPP', 'tc', 'dom', 'A', '10'), ('TAPP', 'tc', 'dom  ', 'N', '3');"
      "INSERT INTO qxmap120 (mprf, tcpac, tcmod, tflno, isms, stbl) VALUES "
      "(1, 'tc', 'itm', '001', 1, 's'), (2, 'tc', 'itm', '002', 0, NULL);"
      "CREATE TABLE other (note TEXT); INSERT INTO other VALUES ('kept');");
  ASSERT_EQ(server->QueriesBeforeSnapshot(), std::optional<int64_t>(0));
  const uint64_t before = server->statements_sent();
  std::unique_ptr<Connection> copy = server->TakeSnapshot();
  ASSERT_NE(copy, nullptr);
  // A few statements a table (the cursor declared, fetched from and one
  // fetch past its end that overlapped the last conversion, closed), not
  // one a row.
  EXPECT_LE(server->statements_sent() - before, 4 * RepositoryTables().size());
  for (const std::string sql :
       {"SELECT * FROM qxddi150",
        "SELECT fdnm, fdno, iniv FROM qxddi150 WHERE appl = 'TAPP' AND cpac = "
        "'tc' AND cmod = 'itm' AND flno = '001'",
        "SELECT fdnm FROM qxddi150 WHERE appl = 'TAPP' AND cpac + cmod + flno "
        "= 'tcitm001' ORDER BY fdno",
        "SELECT cpac + cdom, leng FROM qxddi220 WHERE cpac + cdom = 'tcdom'",
        "SELECT fdnm, UPPER(cdom) FROM qxddi150 WHERE UPPER(fdnm) = 'BETA'",
        "SELECT tflno, isms, stbl FROM qxmap120 WHERE mprf = 1 OR stbl IS NULL",
        "SELECT count(*) FROM qxddi150 WHERE iniv IS NULL"}) {
    SCOPED_TRACE(sql);
    ExpectSameRows(copy->Execute(sql), server->Execute(sql));
  }
  // Only the repository's tables are copied; the rest is the server's.
  EXPECT_THROW(copy->Execute("SELECT note FROM other"), VbError);
  copy.reset();
  server->EndReadScope();
}

// Every value of the original file comes back from the run's copy with the
// same bytes and type: the values travel SQLite -> repo copy -> server ->
// the copy's block reads (more rows than a block, texts around and past the
// width of their buffers, surrogate pairs astride a buffer's end).
TEST_F(PostgresSnapshotTest, TheCopyHoldsTheFilesValuesByteForByte) {
  const std::string sql =
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
      "i < 700) INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, "
      "dept, iniv, cdom) SELECT 'TAPP', 'tc', 'itm', "
      "CASE WHEN i % 7 = 0 THEN '001  ' ELSE '001' END, "
      "CASE i % 8 WHEN 0 THEN NULL WHEN 1 THEN 'é€😀 \"{a,b}\\ ' "
      "WHEN 2 THEN printf('%.*c', 250 + i % 9, 'y') || '😀z' "
      "WHEN 3 THEN printf('%.*c', 505 + i % 11, 'y') || '😀z' "
      "WHEN 4 THEN replace(printf('%.*c', 600 + i, 'x'), 'x', 'é') "
      "WHEN 5 THEN '' WHEN 6 THEN 'NULL' ELSE printf('%.*c', 4000, 'w') END, "
      "i, CASE WHEN i % 3 = 0 THEN NULL ELSE (i - 350) * 1000000000007 END, "
      "CASE WHEN i % 5 = 0 THEN '   ' ELSE 'v' || i END, "
      "CASE WHEN i % 2 = 0 THEN 'dom  ' ELSE NULL END FROM n;"
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
      "i < 300) INSERT INTO qxmap120 (mprf, tcpac, tflno, isms, stbl) "
      "SELECT i, 'tc', printf('%03d', i), CASE i % 3 WHEN 0 THEN NULL "
      "ELSE i % 3 - 1 END, CASE WHEN i % 4 = 0 THEN NULL ELSE 's' END FROM n;";
  auto server = CopiedRepository(sql);
  ExpectTheCopyAnswersAsTheFile(
      *server,
      {"SELECT hex(flno), hex(fdnm), typeof(fdnm), fdno, typeof(fdno), dept, "
       "typeof(dept), hex(iniv), hex(cdom), typeof(cdom) FROM qxddi150 "
       "ORDER BY fdno",
       "SELECT mprf, hex(tflno), isms, typeof(isms), hex(stbl) FROM qxmap120 "
       "ORDER BY mprf",
       "SELECT count(*) FROM qxddi150 WHERE flno = '001'"});
}

// A table is read a FETCH at a time, the next one while the rows before go
// into the copy: a table of exactly two batches (its last FETCH finds no
// row) and one that ends inside its third come over whole and in order.
TEST_F(PostgresSnapshotTest, TheCopyReadsTablesOfSeveralBatchesInOrder) {
  auto server = CopiedRepository(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
      "i < 10000) INSERT INTO qxddi140 (appl, cpac, cmod, flno) "
      "SELECT 'TAPP', 'tc', 'itm', printf('%05d', (i * 7919) % 10007) FROM n;"
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
      "i < 12345) INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno) "
      "SELECT 'TAPP', 'tc', 'itm', '001', printf('f%d', 12346 - i), i FROM n;");
  ExpectTheCopyAnswersAsTheFile(
      *server, {"SELECT flno FROM qxddi140", "SELECT fdnm, fdno FROM qxddi150",
                "SELECT count(*), sum(fdno) FROM qxddi150"});
}

// Rows updated on the server move to the end of its table: the copy keeps
// the server's storage order, not the order the rows were first written in
// nor that of an index, also for the tables read while an earlier table's
// indexes were built.
TEST_F(PostgresSnapshotTest, TheCopyKeepsTheServersStorageOrderAfterUpdates) {
  auto server = CopiedRepository(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
      "i < 9000) INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno) "
      "SELECT 'TAPP', 'tc', 'itm', printf('%03d', i % 50), 'f' || i, i "
      "FROM n;"
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
      "i < 6000) INSERT INTO qxddi140 (appl, cpac, cmod, flno) "
      "SELECT 'TAPP', 'tc', 'itm', printf('%05d', i) FROM n;");
  server->EndReadScope();
  server->Execute("UPDATE qxddi150 SET iniv = 'moved' WHERE fdno % 7 = 3");
  server->Execute("UPDATE qxddi140 SET cmod = 'mod' WHERE flno < '00100'");
  // Even a server configured against sequential scans reads a table whole
  // from its first page, not through one of its indexes.
  server->Execute("SET enable_seqscan = off");
  server->BeginReadScope();
  ASSERT_TRUE(server->QueriesBeforeSnapshot().has_value());
  std::unique_ptr<Connection> copy = server->TakeSnapshot();
  ASSERT_NE(copy, nullptr);
  for (const std::string sql :
       {"SELECT fdno, iniv FROM qxddi150", "SELECT flno, cmod FROM qxddi140",
        "SELECT fdnm FROM qxddi150 WHERE appl = 'TAPP' AND cpac + cmod + flno "
        "= 'tcitm007'"}) {
    SCOPED_TRACE(sql);
    const ResultSet expected = server->Execute(sql);
    ExpectSameRows(copy->Execute(sql), expected);
  }
  // The moved rows come last, in the order they were moved.
  const ResultSet rows = copy->Execute("SELECT fdno FROM qxddi150");
  ASSERT_EQ(rows.rows.size(), 9000u);
  EXPECT_EQ(rows.rows.back().at(0).ToDouble(), 8998);
  copy.reset();
  server->EndReadScope();
}

// The server ends the session while the copy reads a large table: the
// copy fails with the lost connection instead of waiting for rows that will
// not come, and the thread that reads the tables is done with.
TEST_F(PostgresSnapshotTest, ASessionEndedDuringTheCopyFailsIt) {
  auto server = CopiedRepository(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
      "i < 60000) INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno) "
      "SELECT 'TAPP', 'tc', 'itm', printf('%03d', i % 50), 'f' || i, i "
      "FROM n;");
  ASSERT_TRUE(server->QueriesBeforeSnapshot().has_value());
  std::thread terminator([&] {
    auto admin =
        OdbcConnection::Open(database_->connection_string(), "the test");
    // Ends the copy's session once it has fetched from its cursor.
    for (int attempt = 0; attempt < 2000; ++attempt) {
      admin->Execute("SELECT pg_stat_clear_snapshot()");
      const ResultSet ended = admin->Execute(
          "SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity "
          "WHERE datname = current_database() AND pid <> pg_backend_pid() "
          "AND query LIKE '%FETCH FORWARD%'");
      if (ended.rows.at(0).at(0).ToDouble() > 0) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ADD_FAILURE() << "the copy's session was not seen fetching";
  });
  EXPECT_THROW(server->TakeSnapshot(), VbError);
  terminator.join();
}

TEST_F(PostgresSnapshotTest, NoCopyWhereAColumnCouldCompareOtherwise) {
  auto server = CopiedRepository("");
  server->EndReadScope();
  server->Execute("ALTER TABLE qxddi150 ADD COLUMN stamp date");
  server->BeginReadScope();
  EXPECT_EQ(server->QueriesBeforeSnapshot(), std::nullopt);
  server->EndReadScope();
}

TEST_F(PostgresSnapshotTest, ALargeRepositoryIsCopiedOnlyForALongRun) {
  // The copy pays after one query for every kBytesPerQuery bytes.
  auto server = CopiedRepository(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
      "i < 20000) INSERT INTO qxddi140 (appl, cpac, cmod, flno) "
      "SELECT 'TAPP', 'tc', 'itm', printf('%05d', i) FROM n;");
  const ResultSet size = server->Execute(
      "SELECT pg_relation_size('qxddi140'), pg_relation_size('qxddi150')");
  const auto bytes = static_cast<int64_t>(size.rows.at(0).at(0).ToDouble() +
                                          size.rows.at(0).at(1).ToDouble());
  ASSERT_GT(bytes, 20000);
  EXPECT_EQ(server->QueriesBeforeSnapshot(),
            std::optional<int64_t>(bytes / OdbcConnection::kBytesPerQuery));
  server->EndReadScope();
}

TEST_F(PostgresSnapshotTest, RepoCopyWritesEveryRowInBatchesAndTheIndexes) {
  // Rows in storage order, which is not the order of any key.
  auto server = CopiedRepository(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
      "i < 200) INSERT INTO qxddi200 (appl, cpac, cmod, flno, indn, prt1) "
      "SELECT 'TAPP', 'tc', 'itm', printf('%03d', 201 - i), i, 'p' || i "
      "FROM n;");
  server->EndReadScope();
  const ResultSet rows = server->Execute("SELECT flno, indn FROM qxddi200");
  ASSERT_EQ(rows.rows.size(), 200u);
  for (size_t i = 0; i < rows.rows.size(); ++i) {
    EXPECT_EQ(rows.rows[i][1].ToInt32(), static_cast<int32_t>(i + 1));
  }
  std::map<std::string, std::vector<std::string>> every_column;
  for (const std::string& table : RepositoryTables()) {
    every_column[table] = {"appl",  "cpac",  "cmod",  "flno",  "fdnm",
                           "fdno",  "cdom",  "ctnm",  "indn",  "mprf",
                           "vers",  "rele",  "cust",  "tcpac", "tcmod",
                           "tflno", "scpac", "scmod", "sflno", "dnum",
                           "cflno", "bpac",  "bmod",  "bflno", "seqn"};
  }
  const size_t expected = PostgresIndexStatements(every_column).size();
  const ResultSet indexes = server->Execute(
      "SELECT count(*) FROM pg_indexes WHERE schemaname = current_schema() "
      "AND indexname LIKE 'mx!_%' ESCAPE '!'");
  EXPECT_EQ(indexes.rows.at(0).at(0).ToDouble(), static_cast<double>(expected));
  EXPECT_GT(expected, 15u);
}

}  // namespace
}  // namespace mx::repository
