// Copying an SQLite repository onto the PostgreSQL test server: what lands
// there, and that a copy that cannot be made whole leaves nothing behind.
#include "repository/repository_copy.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "interface/raised.h"
#include "odbc/test_server.h"
#include "repository/odbc_connection.h"
#include "repository/postgres_schema.h"
#include "testing/temp_dir.h"

namespace mx::repository {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class RepositoryCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MX_SKIP_WITHOUT_TEST_SERVER();
    database_ = std::make_unique<odbc_testing::TestDatabase>("copy");
  }

  ResultSet Query(const std::string& sql) {
    return OdbcConnection::Open(database_->connection_string(), "the test")
        ->Execute(sql);
  }

  int64_t TableCount() {
    return Query(
               "select count(*) from pg_tables where schemaname = "
               "current_schema()")
        .rows.at(0)
        .at(0)
        .ToInt32();
  }

  testing::TempDir tmp_;
  std::unique_ptr<odbc_testing::TestDatabase> database_;
};

TEST_F(RepositoryCopyTest, CopiesEveryTableWithItsColumnsInOrder) {
  const std::string repo = tmp_ / "repo.sqlite";
  odbc_testing::BuildSqliteRepository(
      repo,
      "INSERT INTO qxddi200 (appl, cpac, cmod, flno, indn, dupl, acti, prt1, "
      "prt24) VALUES ('TAPP', 'ab', 'cde', '001', 1, 'N', 'Y', 'item', 'last');"
      // A table the component does not know, with columns of every affinity.
      "CREATE TABLE Extra (Id INTEGER, amount DECIMAL(10,2), ratio REAL, "
      "note, flag BOOLEAN);"
      "INSERT INTO Extra VALUES (1, 2.5, 0.25, x'41', 'True'), "
      "(2, 3, NULL, 7, 0);");
  const CopySummary summary =
      CopyRepository(repo, database_->connection_string());
  EXPECT_EQ(summary.tables, 23);
  EXPECT_EQ(summary.rows, 3);

  // Index parts are read by position.
  const ResultSet index = Query("select * from qxddi200");
  ASSERT_EQ(index.columns.size(), 31u);
  EXPECT_EQ(index.columns[7], "prt1");
  EXPECT_EQ(index.rows.at(0).at(30).ToText(), "last");
  EXPECT_TRUE(index.rows.at(0).at(8).IsNull());

  const ResultSet extra = Query("select * from extra order by id");
  EXPECT_THAT(extra.columns,
              ElementsAre("id", "amount", "ratio", "note", "flag"));
  ASSERT_EQ(extra.rows.size(), 2u);
  EXPECT_EQ(extra.rows[0][1].ToDouble(), 2.5);
  EXPECT_EQ(extra.rows[0][3].ToText(), "A");
  EXPECT_EQ(extra.rows[0][4].ToInt32(), 1);
  EXPECT_TRUE(extra.rows[1][1].IsInteger());
  EXPECT_EQ(extra.rows[1][3].ToText(), "7");
  EXPECT_EQ(extra.rows[1][4].ToInt32(), 0);
}

// Rows go over in batches of thousands, each column's values in one array:
// texts that mean something inside an array ("NULL", quotes, backslashes,
// braces, commas, blanks) and non-ASCII texts land as they were, in order,
// across the batches' seams.
TEST_F(RepositoryCopyTest, AwkwardTextsLandWholeAcrossBatches) {
  const std::string repo = tmp_ / "repo.sqlite";
  // The non-ASCII text as each side writes it (queries to the server are
  // Windows-1252, which lacks the emoji).
  const auto awkward = [](const std::string& non_ascii) {
    return "CASE i % 10 WHEN 0 THEN NULL WHEN 1 THEN 'NULL' WHEN 2 THEN '' "
           "WHEN 3 THEN '\"q\"' WHEN 4 THEN 'back\\slash\\' "
           "WHEN 5 THEN '{a,b}' WHEN 6 THEN '  two  ' WHEN 7 THEN " +
           non_ascii + " WHEN 8 THEN 'it''s' ELSE 'x' || i END";
  };
  odbc_testing::BuildSqliteRepository(
      repo,
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
      "i < 25003) INSERT INTO qxddi150 (appl, fdno, dept, fdnm) SELECT "
      "'TAPP', i, CASE WHEN i % 3 = 0 THEN NULL ELSE -i END, " +
          awkward("'é€😀'") + " FROM n;");
  const CopySummary summary =
      CopyRepository(repo, database_->connection_string());
  EXPECT_EQ(summary.rows, 25003);
  // mx_text keeps a bpchar's trailing blanks.
  const ResultSet wrong = Query(
      "WITH c AS (SELECT fdno AS i, dept, mx_text(fdnm) AS fdnm, "
      "row_number() OVER (ORDER BY ctid) AS place FROM qxddi150) "
      "SELECT count(*) FROM c WHERE place <> i "
      "OR dept IS DISTINCT FROM CASE WHEN i % 3 = 0 THEN NULL ELSE -i END "
      "OR fdnm IS DISTINCT FROM " +
      awkward("U&'\\00E9\\20AC\\+01F600'"));
  EXPECT_EQ(wrong.rows.at(0).at(0).ToDouble(), 0.0);
  EXPECT_EQ(Query("SELECT count(*) FROM qxddi150").rows.at(0).at(0).ToDouble(),
            25003.0);
}

// The server fills an earlier page's free space with a later short row when
// it can; the rows must still land in the file's order, here with lengths
// from a few bytes to several kB (stored apart) interleaved, over more than
// one batch.
TEST_F(RepositoryCopyTest, RowsOfVeryDifferentLengthsKeepTheFilesOrder) {
  const std::string repo = tmp_ / "repo.sqlite";
  // Random hex digits, which the server does not compress.
  odbc_testing::BuildSqliteRepository(
      repo,
      "CREATE TABLE Lengths (n INTEGER, body TEXT);"
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
      "i < 12000) INSERT INTO Lengths SELECT i, CASE i % 7 WHEN 0 THEN "
      "hex(randomblob(950)) WHEN 3 THEN hex(randomblob(3000)) WHEN 5 THEN "
      "hex(randomblob(400)) ELSE 'f' || i END FROM n;");
  EXPECT_EQ(CopyRepository(repo, database_->connection_string()).rows, 12000);
  const ResultSet misplaced = Query(
      "SELECT count(*) FROM (SELECT n, row_number() OVER (ORDER BY ctid) "
      "AS place FROM lengths) AS c WHERE place <> n");
  EXPECT_EQ(misplaced.rows.at(0).at(0).ToDouble(), 0.0);
}

// The tables are made from the rows gathered on the server; their columns
// must be those CREATE TABLE gives, whatever the columns are called.
TEST_F(RepositoryCopyTest, ColumnsAreTypedAsCreateTableTypesThem) {
  const std::string repo = tmp_ / "repo.sqlite";
  odbc_testing::BuildSqliteRepository(
      repo,
      "CREATE TABLE mx_copy_rows (c2 INTEGER, c1 DECIMAL(10,2), mx_row REAL, "
      "note, flag BOOLEAN, Name VARCHAR(30));"
      "INSERT INTO mx_copy_rows VALUES (1, 2.5, 0.25, 'n', 1, 'x');");
  CopyRepository(repo, database_->connection_string());
  OdbcConnection::Open(database_->connection_string(), "the test")
      ->Execute(
          PostgresCreateTable("expected", {{"c2", ColumnValueKind::kInteger},
                                           {"c1", ColumnValueKind::kNumeric},
                                           {"mx_row", ColumnValueKind::kReal},
                                           {"note", ColumnValueKind::kText},
                                           {"flag", ColumnValueKind::kBoolean},
                                           {"Name", ColumnValueKind::kText}}));
  const auto columns = [&](const std::string& table) {
    std::vector<std::string> described;
    for (const auto& row :
         Query("SELECT attname, format_type(atttypid, atttypmod), "
               "coalesce(collname, '-'), attnotnull, atthasdef, attstorage "
               "FROM pg_attribute LEFT JOIN pg_collation ON pg_collation.oid "
               "= attcollation WHERE attrelid = '" +
               table + "'::regclass AND attnum > 0 ORDER BY attnum")
             .rows) {
      std::string line;
      for (const Variant& value : row) line += value.ToText() + " ";
      described.push_back(line);
    }
    return described;
  };
  EXPECT_EQ(columns("mx_copy_rows"), columns("expected"));
  EXPECT_EQ(Query("SELECT c1 FROM mx_copy_rows").rows.at(0).at(0).ToDouble(),
            2.5);
}

TEST_F(RepositoryCopyTest, AValueThatDoesNotFitLeavesNothingBehind) {
  struct Case {
    const char* sql;
    const char* named;
  };
  const Case cases[] = {
      {"INSERT INTO qxddi150 (appl, fdnm) VALUES ('TAPP', 'ok'), "
       "('TAPP', CAST(X'FF6974656D' AS TEXT))",
       "table qxddi150, row 2, column fdnm: the text is not valid UTF-8"},
      {"INSERT INTO qxmap100 (mprf, deph) VALUES (1, 'deep')",
       "table qxmap100, row 1, column deph: the value \"deep\" is not a whole "
       "number"},
      {"INSERT INTO qxmap120 (mprf, isms) VALUES (1, 'Y')",
       "table qxmap120, row 1, column isms: the value \"Y\" is not a Boolean"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string repo = tmp_ / ("repo" + std::to_string(++n) + ".sqlite");
    odbc_testing::BuildSqliteRepository(repo, c.sql);
    const VbError error =
        Raised([&] { CopyRepository(repo, database_->connection_string()); });
    EXPECT_EQ(error.number(), errors::kQueryRefused) << c.sql;
    EXPECT_THAT(error.description(), HasSubstr(c.named)) << c.sql;
    EXPECT_EQ(TableCount(), 0) << c.sql;
  }
}

TEST_F(RepositoryCopyTest, ARepositoryAlreadyThereIsNotTouched) {
  const std::string first = tmp_ / "first.sqlite";
  const std::string second = tmp_ / "second.sqlite";
  odbc_testing::BuildSqliteRepository(
      first, "INSERT INTO qxmap101 (mprf, pprf) VALUES (1, 2)");
  odbc_testing::BuildSqliteRepository(
      second, "INSERT INTO qxmap101 (mprf, pprf) VALUES (5, 6)");
  CopyRepository(first, database_->connection_string());

  const VbError error =
      Raised([&] { CopyRepository(second, database_->connection_string()); });
  EXPECT_EQ(error.number(), errors::kQueryRefused);
  EXPECT_THAT(error.description(), HasSubstr("Cannot create table qxmap100"));
  const ResultSet kept = Query("select mprf, pprf from qxmap101");
  ASSERT_EQ(kept.rows.size(), 1u);
  EXPECT_EQ(kept.rows[0][0].ToInt32(), 1);
}

}  // namespace
}  // namespace mx::repository
