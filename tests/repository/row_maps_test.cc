// The maps of the run's copy: which queries read through them and what
// their text becomes, and that a copy answering through them gives exactly
// the rows a file without indexes gives, texts with trailing blanks, nulls
// and blobs included.
#include "repository/row_maps.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "repository/row_map_lookup.h"
#include "repository/schema.h"
#include "repository/sql_parameters.h"
#include "repository/sqlite_connection.h"
#include "temp_repository.h"

namespace mx::repository {
namespace {

using repository::testing::ExpectSameAnswers;
using repository::testing::TempRepository;

// Maps of every mapped table of an empty repository.
class EmptyRepositoryMaps : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(db_, SqliteSchema().c_str(), nullptr, nullptr, nullptr),
        SQLITE_OK);
    for (const char* table : {"qxddi150", "qxmap140", "qxlgy150"}) {
      auto read = RowMaps::Read(db_, table);
      ASSERT_TRUE(read.has_value()) << table;
      maps_.Add(*std::move(read));
    }
  }
  void TearDown() override { sqlite3_close(db_); }

  // The SQLite text of a component query, parameterised and given a map.
  std::string Looked(const std::string& component_sql, bool* mapped) {
    std::optional<ParameterisedSql> query =
        Parameterise(SqliteQueryText(component_sql));
    EXPECT_TRUE(query.has_value()) << component_sql;
    if (!query) return "";
    const size_t values = query->values.size();
    *mapped = AddRowMapLookup(maps_, &*query);
    EXPECT_EQ(query->values.size(), values);
    return query->text;
  }

  sqlite3* db_ = nullptr;
  RowMaps maps_;
};

TEST_F(EmptyRepositoryMaps, AQueryNamingEveryTermOfAKeyJoinsItsMap) {
  struct Case {
    std::string component_sql;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {" select fdnm , comb from    qxddi150  where appl = 'A' AND cpac = "
       "'b' AND cmod = 'c' AND flno = 'd' order by fdno",
       " select fdnm , comb from    mx_rows(0, ?1, ?2, ?3, ?4) AS mx_rows_m "
       "CROSS JOIN qxddi150  where appl = ?1 AND cpac = ?2 AND cmod = ?3 AND "
       "flno = ?4  AND qxddi150.rowid = mx_rows_m.mx_rid order by fdno, "
       "mx_rows_m.mx_rid"},
      // A joined term with a literal of its own, the key's terms in another
      // order than the query's, a list for the last term.
      {"select cdom from qxddi150 where cpac+ cmod + flno + '.' + fdnm = "
       "'bcd.f' and appl = 'A'",
       "select cdom from mx_rows(2, '.', ?2, ?1) AS mx_rows_m CROSS JOIN "
       "qxddi150 where cpac|| cmod || flno || '.' || fdnm = ?1 and appl = ?2 "
       " AND qxddi150.rowid = mx_rows_m.mx_rid ORDER BY mx_rows_m.mx_rid"},
      {"select fdnm from qxddi150 where appl = 'A' and cpac + cmod + flno in "
       "('x', 'y') and comb = 'N'",
       "select fdnm from mx_rows(1, ?1, ?2, ?3) AS mx_rows_m CROSS JOIN "
       "qxddi150 where appl = ?1 and cpac || cmod || flno in (?2, ?3) and "
       "comb = ?4  AND qxddi150.rowid = mx_rows_m.mx_rid ORDER BY "
       "mx_rows_m.mx_rid"},
      // Qualified columns, a number compared, an alias.
      {"select m.fdnm from qxmap140 m where m.mprf = 1 AND m.vers = 'V' AND "
       "m.rele = 'R' AND m.cust = 'C' AND m.tcpac = 'p' AND m.tcmod = 'm' "
       "AND m.tflno = 'f' order by dnum",
       "select m.fdnm from mx_rows(3, ?2, ?3, ?4, ?5, ?6, ?7) AS mx_rows_m "
       "CROSS JOIN qxmap140 m where m.mprf = ?1 AND m.vers = ?2 AND m.rele = "
       "?3 AND m.cust = ?4 AND m.tcpac = ?5 AND m.tcmod = ?6 AND m.tflno = "
       "?7  AND m.rowid = mx_rows_m.mx_rid order by dnum, mx_rows_m.mx_rid"},
      // A second table joined after the mapped one stays after it.
      {"select qxddi150.fdnm, qxddi220.type From QXDDI150, QXDDI220  where "
       "qxddi150.appl = 'A' and qxddi150.appl = qxddi220.appl and "
       "qxddi150.cpac+qxddi150.cmod+qxddi150.flno = 'bcd'",
       "select qxddi150.fdnm, qxddi220.type From mx_rows(1, ?1, ?2) AS "
       "mx_rows_m CROSS JOIN QXDDI150 CROSS JOIN QXDDI220  where "
       "qxddi150.appl = ?1 and qxddi150.appl = qxddi220.appl and "
       "qxddi150.cpac||qxddi150.cmod||qxddi150.flno = ?2 AND "
       "QXDDI150.rowid = mx_rows_m.mx_rid "},
      {"select flna from qxlgy150 where appl='A' and UPPER(flno) = "
       "UPPER('f')",
       "select flna from mx_rows(6, ?1, upper('f')) AS mx_rows_m CROSS JOIN "
       "qxlgy150 where appl=?1 and UPPER(flno) = UPPER('f')  AND "
       "qxlgy150.rowid = mx_rows_m.mx_rid ORDER BY mx_rows_m.mx_rid"},
      {"select flna from qxlgy150 where appl='A' and flno = 'F'",
       "select flna from mx_rows(5, ?1, ?2) AS mx_rows_m CROSS JOIN qxlgy150 "
       "where appl=?1 and flno = ?2  AND qxlgy150.rowid = mx_rows_m.mx_rid "
       "ORDER BY mx_rows_m.mx_rid"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.component_sql);
    bool mapped = false;
    EXPECT_EQ(Looked(c.component_sql, &mapped), c.expected);
    EXPECT_TRUE(mapped);
  }
}

TEST_F(EmptyRepositoryMaps, OtherShapesAreLeftAsTheyAre) {
  std::string long_list =
      "select fdnm from qxddi150 where appl = 'A' and "
      "cpac + cmod + flno in ('0'";
  for (int i = 1; i < 40; ++i) long_list += ", '" + std::to_string(i) + "'";
  long_list += ")";
  for (const std::string& sql : std::vector<std::string>{
           // A term missing, or compared otherwise than equal.
           "select fdnm from qxddi150 where appl = 'A' and cpac = 'b' and "
           "cmod = 'c'",
           "select fdnm from qxddi150 where appl = 'A' and cpac = 'b' and "
           "cmod = 'c' and flno like 'd'",
           "select fdnm from qxddi150 where appl = 'A' and cpac = 'b' and "
           "cmod = 'c' and flno <> 'd'",
           "select fdnm from qxddi150 where appl = 'A' and cpac + cmod + flno "
           "not in ('x')",
           "select fdnm from qxddi150 where appl = 'A' and upper(flno) = 'D' "
           "and cpac = 'b' and cmod = 'c'",
           // OR and BETWEEN change what AND joins.
           "select fdnm from qxddi150 where appl = 'A' and cpac = 'b' and "
           "cmod = 'c' and flno = 'd' or fdnm = 'x'",
           "select fdnm from qxddi150 where appl = 'A' and cpac = 'b' and "
           "cmod = 'c' and flno = 'd' and fdno between 1 and 3",
           // Joins, grouping, rowid named, a table without maps.
           "select fdnm from qxddi150, qxddi220 where appl = 'A' and cpac = "
           "'b' and cmod = 'c' and flno = 'd'",
           "select qxddi150.fdnm from qxddi150, qxddi220 where "
           "qxddi150.appl = 'A' and qxddi150.cpac = 'b' and qxddi150.cmod = "
           "'c' and qxddi150.flno = 'd' order by rowid",
           "select qxddi150.fdnm from qxddi150, qxddi220, qxddi200 where "
           "qxddi150.appl = 'A' and qxddi150.cpac = 'b' and qxddi150.cmod = "
           "'c' and qxddi150.flno = 'd'",
           "select count(*) from qxddi150 where appl = 'A' and cpac = 'b' and "
           "cmod = 'c' and flno = 'd' group by fdnm",
           "select rowid from qxddi150 where appl = 'A' and cpac = 'b' and "
           "cmod = 'c' and flno = 'd'",
           "select * from qxddi200 where appl = 'A' and cpac = 'b' and cmod = "
           "'c' and flno = 'd'",
           // More values than the map's function takes.
           long_list}) {
    SCOPED_TRACE(sql);
    bool mapped = true;
    const std::string before = SqliteQueryText(sql);
    const std::string after = Looked(sql, &mapped);
    EXPECT_FALSE(mapped);
    EXPECT_NE(after.find(" ?"), std::string::npos);  // still parameterised
    EXPECT_EQ(after.find("mx_rows"), std::string::npos);
  }
}

// Texts from a small alphabet, so that keys repeat and differ only by
// trailing or leading blanks, blobs of the same bytes and nulls.
std::string RandomValue(std::mt19937& random) {
  static const char* const kValues[] = {"'a'",   "'a '", "'A'",  "'b'",
                                        "''",    "'ab'", "' a'", "'a.b'",
                                        "x'61'", "NULL"};
  return kValues[random() % std::size(kValues)];
}

std::string RandomLiteral(std::mt19937& random) {
  static const char* const kValues[] = {"a", "a ", "A",  "b",
                                        "",  "ab", " a", "a.b"};
  return kValues[random() % std::size(kValues)];
}

std::string Joined(std::mt19937& random, int parts) {
  std::string joined;
  for (int i = 0; i < parts; ++i) joined += RandomLiteral(random);
  return joined;
}

TEST(RowMapsTest, TheCopyAnswersThroughItsMapsAsTheFileDoes) {
  TempRepository repo;
  for (const LookupIndex& index : LookupIndexes()) {
    repo.Exec("DROP INDEX " + index.name);
  }
  std::mt19937 random(20261207);
  std::string rows = "BEGIN;";
  for (int i = 0; i < 300; ++i) {
    auto v = [&] { return RandomValue(random); };
    rows +=
        "INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom) "
        "VALUES (" +
        v() + ", " + v() + ", " + v() + ", " + v() + ", " + v() + ", " +
        std::to_string(i % 7) + ", " + v() + ");";
    rows +=
        "INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, "
        "tflno, fdnm, dnum) VALUES (" +
        std::to_string(i % 2) + ", " + v() + ", " + v() + ", " + v() + ", " +
        v() + ", " + v() + ", " + v() + ", " + v() + ", " +
        std::to_string(i % 3) + ");";
    rows +=
        "INSERT INTO qxlgy150 (appl, cpac, cmod, flno, flna, seqn) "
        "VALUES (" +
        v() + ", " + v() + ", " + v() + ", " + v() + ", " + v() + ", " +
        std::to_string(i % 5) + ");";
  }
  repo.Exec(rows + "DELETE FROM qxddi150 WHERE rowid % 11 = 0; COMMIT;");

  std::vector<std::string> queries;
  for (int i = 0; i < 60; ++i) {
    auto l = [&] { return "'" + RandomLiteral(random) + "'"; };
    queries.push_back(
        " select fdnm , cdom , fdno from    qxddi150  where appl = " + l() +
        " AND cpac = " + l() + " AND cmod = " + l() + " AND flno = " + l() +
        " order by fdno");
    queries.push_back("select * from qxddi150 where appl = " + l() +
                      " and cpac + cmod + flno in ('" + Joined(random, 3) +
                      "', '" + Joined(random, 3) + "', '" + Joined(random, 3) +
                      "')");
    queries.push_back("select count(*) from qxddi150 where appl = " + l() +
                      " and cpac + cmod + flno = '" + Joined(random, 3) + "'");
    const std::string field = Joined(random, 3) + "." + RandomLiteral(random);
    queries.push_back("select cdom from qxddi150 where appl = " + l() +
                      " and cpac+ cmod + flno + '.' + fdnm = '" + field + "'");
    // Another text joined than the map's: every row is a candidate.
    queries.push_back("select cdom from qxddi150 where appl = " + l() +
                      " and cpac+ cmod + flno + '.b' + fdnm = '" +
                      Joined(random, 3) + ".b" + RandomLiteral(random) + "'");
    queries.push_back(
        "select qxmap140.fdnm, qxmap140.dnum from qxmap140 WHERE "
        "qxmap140.mprf = " +
        std::to_string(i % 2) + " AND qxmap140.vers = " + l() +
        " AND qxmap140.rele = " + l() + " AND qxmap140.cust = " + l() +
        " AND qxmap140.tcpac = " + l() + " AND qxmap140.tcmod = " + l() +
        " AND qxmap140.tflno = " + l() + " order by dnum");
    queries.push_back("select flna, seqn from qxlgy150 where appl = " + l() +
                      " AND cpac = " + l() + " AND cmod = " + l() +
                      " AND flno = " + l() + " order by seqn");
    queries.push_back("select * from qxlgy150 where appl=" + l() +
                      " and flno = " + l());
    queries.push_back("select flna from qxlgy150 where appl=" + l() +
                      " and UPPER(flno) = UPPER(" + l() + ")");
  }

  auto file = SqliteConnection::Open(repo.path());
  file->BeginReadScope();
  std::unique_ptr<Connection> copy = file->TakeSnapshot();
  std::unique_ptr<Connection> reader = copy->OpenReader();
  ASSERT_NE(reader, nullptr);
  reader->BeginReadScope();
  // The copy stood maps in for the indexes of those tables.
  const ResultSet indexes = copy->Execute(
      "SELECT count(*) FROM sqlite_master WHERE tbl_name IN ('qxddi150', "
      "'qxmap140', 'qxlgy150') AND type = 'index'");
  EXPECT_EQ(indexes.rows.at(0).at(0).ToDouble(), 0.0);
  ExpectSameAnswers(*file, *copy, queries);
  ExpectSameAnswers(*file, *reader, queries);
  size_t rows_seen = 0;
  for (const std::string& sql : queries) {
    rows_seen += file->Execute(sql).rows.size();
  }
  EXPECT_GT(rows_seen, queries.size());  // the keys did match rows
  reader->EndReadScope();
  reader.reset();
  copy.reset();
  file->EndReadScope();
}

// A table of another tool whose key compares otherwise (here ignoring
// case), or a repository that names a table as the maps' function: those
// tables get SQLite's indexes and answer as the file does.
TEST(RowMapsTest, TablesTheMapsCannotServeGetIndexes) {
  for (const std::string& schema :
       {std::string("CREATE TABLE qxddi150 (appl TEXT, cpac TEXT, cmod "
                    "TEXT, flno TEXT COLLATE NOCASE, fdnm TEXT, fdno "
                    "INTEGER);"),
        std::string("CREATE TABLE qxddi150 (appl TEXT, cpac TEXT, cmod "
                    "TEXT, flno NUMERIC, fdnm TEXT, fdno INTEGER);"),
        std::string("CREATE TABLE qxddi150 (appl TEXT, cpac TEXT, cmod "
                    "TEXT, flno TEXT, fdnm TEXT, fdno INTEGER);"
                    "CREATE TABLE MX_ROWS (a TEXT);")}) {
    SCOPED_TRACE(schema);
    const std::string path = testing::TempPath(".db");
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    const std::string rows =
        "INSERT INTO qxddi150 VALUES ('A', 'b', 'c', 'd', 'x', 2), "
        "('A', 'b', 'c', 'D', 'y', 1), ('A', 'b', 'c', '0', 'z', 3), "
        "('A', 'b', 'c', '00', 'w', 0);";
    ASSERT_EQ(
        sqlite3_exec(db, (schema + rows).c_str(), nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
    auto file = SqliteConnection::Open(path);
    file->BeginReadScope();
    std::unique_ptr<Connection> copy = file->TakeSnapshot();
    ExpectSameAnswers(
        *file, *copy,
        {"select fdnm from qxddi150 where appl = 'A' AND cpac = 'b' AND cmod "
         "= 'c' AND flno = 'd' order by fdno",
         "select fdnm from qxddi150 where appl = 'A' AND cpac = 'b' AND cmod "
         "= 'c' AND flno = '0' order by fdno"});
    const ResultSet indexes = copy->Execute(
        "SELECT count(*) FROM sqlite_master WHERE tbl_name = 'qxddi150' AND "
        "type = 'index'");
    EXPECT_GT(indexes.rows.at(0).at(0).ToDouble(), 0.0);
    copy.reset();
    file->EndReadScope();
    file.reset();
    std::filesystem::remove(path);
  }
}

}  // namespace
}  // namespace mx::repository
