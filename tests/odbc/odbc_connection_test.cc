// The ODBC backend against a real PostgreSQL server: a repository copied
// there answers the component's queries with the rows, Variant kinds and
// texts that the embedded backend gives for the same file, and failures carry
// the platform's numbers.
#include "repository/odbc_connection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "interface/raised.h"
#include "odbc/test_server.h"
#include "repository/sqlite_connection.h"
#include "testing/temp_dir.h"

namespace mx::repository {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// Values with trailing and leading blanks, nulls, Booleans, non-ASCII text
// (one character outside Windows-1252) and mixed case for ordering.
constexpr char kRepository[] = R"SQL(
INSERT INTO qxmap100 (mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme, apln) VALUES
  (1, 'SAPP', 'TAPP', 'V1  ', '01', 'CUS1', '', '', '', 2, 'Y', NULL),
  (2, 'SAPP ', 'TAPP', 'V2', '01', 'CUS1', 'V1', '01', 'CUS1', 1, 'N', 'Café crème: 5 € ≥ 4');
INSERT INTO qxmap120 (mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, stbl, isms) VALUES
  (1, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'V', 'line 1' || char(13) || char(10) || 'line 2', NULL, 's', 1),
  (1, 'V1', '01', 'CUS1', 'ab', 'cde', '002', 'G', '', 'x', 's', 0),
  (1, 'V1', '01', 'CUS1', 'ab', 'cde', '003', 'E', NULL, NULL, NULL, NULL);
INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES
  ('TAPP', 'ab', 'cde', '001', 'item ', 1, 'abitem', '  ', 0, 'Y', 'N'),
  ('TAPP', 'ab', 'cde', '001', 'Zeta', 2, 'abitem', NULL, 0, 'N', 'N'),
  ('TAPP', 'ab', 'cde', '001', 'alpha', 3, 'abqty', 'x', 2, 'N', 'N');
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40)
INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum)
  SELECT 1, 'V1', '01', 'CUS1', 'ab', 'cde', '001', 'f' || i, 'r' || i, 0, i % 3 FROM n;
INSERT INTO qxlgy150 (appl, cpac, cmod, flno, flna, seqn, dtyp, spos, epos, tcol, sepr) VALUES
  ('LAPP', 'lg', 'cus', 'cust.txt ', 'cust$no ', 1, 'C', 1, 10, 1, ','),
  ('LAPP', 'lg', 'cus', 'cust.txt', 'name', 2, 'C', 11, 40, 0, NULL);
)SQL";

// The component's own queries and the dialect points they touch.
const char* const kQueries[] = {
    " select qxmap100.* from qxmap100 where mprf = 2",
    // Trailing blanks do not count in comparisons of columns ...
    " select qxmap100.* from qxmap100  where qxmap100.vers ='V1' and "
    "qxmap100.rele = '01' and qxmap100.cust = 'CUS1'",
    "select qxmap120.*  from qxmap120   where qxmap120.mprf = 1  and "
    "qxmap120.vers ='V1' and qxmap120.rele ='01' and qxmap120.cust ='CUS1' "
    "and qxmap120.tcpac='ab' and qxmap120.tcmod ='cde' and "
    "qxmap120.tflno='001' and stat in ('V','G','E' )",
    " select cpac, fdnm from qxddi150 where cpac between 'ab' and 'ab' and "
    "fdnm in ('item', 'Zeta  ')",
    // ... but count where the texts are joined, as SQLite joins them.
    "select cpac + cmod + flno + '.' + fdnm from qxddi150 where appl = 'TAPP'",
    "select count(*) from qxddi150 where cpac + cmod + flno + '.' + fdnm = "
    "'abcde001.item'",
    " select  'cust' + '_' + Replace(flna,'$','')  from qxlgy150  where  "
    "appl='LAPP' and  UPPER(flno) = UPPER('CUST.TXT ')",
    "select upper(fdnm), lower(fdnm), sapp + vers from qxddi150, qxmap100 "
    "where fdno = 1 order by mprf",
    // A null joined into a text is null.
    "select prtx + 'x', comt + stbl from qxmap120 order by tflno",
    // Bytes order, as SQLite's binary collation.
    " select fdnm , cdom , iniv , dept , mand , comb from qxddi150 order by "
    "fdnm",
    "select isms, tcol, seqn from qxmap120, qxlgy150 order by tflno, seqn",
    // Rows with equal sort keys stay in storage order, as SQLite's sort
    // keeps them; PostgreSQL's sort would not.
    " select qxmap140.fdnm, qxmap140.mrul, qxmap140.type, qxmap140.dnum  from "
    "qxmap140 WHERE  qxmap140.mprf = 1 AND  qxmap140.tflno = '001' order by "
    "dnum ",
    "select fdnm from qxmap140",
};

std::string Describe(const Variant& v) {
  if (v.IsNull()) return "Null";
  if (v.IsInteger()) return "Integer " + v.ToText();
  if (v.IsDouble()) return "Double " + v.ToText();
  if (v.IsBool()) return "Boolean " + v.ToText();
  return "Text [" + v.ToText() + "]";
}

std::vector<std::vector<std::string>> Rows(const ResultSet& result) {
  std::vector<std::vector<std::string>> rows;
  for (const auto& row : result.rows) {
    rows.emplace_back();
    for (const Variant& v : row) rows.back().push_back(Describe(v));
  }
  return rows;
}

class OdbcConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MX_SKIP_WITHOUT_TEST_SERVER();
    database_ = std::make_unique<odbc_testing::TestDatabase>("connection");
    odbc_testing::BuildSqliteRepository(tmp_ / "repo.sqlite", kRepository);
    CopyRepository(tmp_ / "repo.sqlite", database_->connection_string());
  }

  std::unique_ptr<OdbcConnection> Open() {
    return OdbcConnection::Open(database_->connection_string(), "the test");
  }

  testing::TempDir tmp_;
  std::unique_ptr<odbc_testing::TestDatabase> database_;
};

TEST_F(OdbcConnectionTest, AnswersAsTheEmbeddedBackendDoes) {
  const auto server = Open();
  EXPECT_EQ(server->dbms_name(), "PostgreSQL");
  const auto embedded = SqliteConnection::Open(tmp_ / "repo.sqlite");
  for (const char* sql : kQueries) {
    const ResultSet expected = embedded->Execute(sql);
    const ResultSet actual = server->Execute(sql);
    EXPECT_EQ(Rows(actual), Rows(expected)) << sql;
    ASSERT_EQ(actual.columns.size(), expected.columns.size()) << sql;
    if (std::string(sql).find(".*") != std::string::npos) {
      EXPECT_EQ(actual.columns, expected.columns) << sql;
    }
  }
}

TEST_F(OdbcConnectionTest, ARefusedQueryLeavesTheConnectionUsable) {
  const auto server = Open();
  const VbError error =
      Raised([&] { server->Execute("select * from qxddi999"); });
  EXPECT_EQ(error.number(), errors::kQueryRefused);
  EXPECT_THAT(error.description(), HasSubstr("qxddi999"));
  EXPECT_THAT(error.description(), Not(HasSubstr("\n")));
  EXPECT_EQ(server->Execute("select count(*) from qxmap100").rows.size(), 1u);
}

TEST_F(OdbcConnectionTest, AReadScopeReadsOneSnapshotAndSurvivesARefusal) {
  const auto reader = Open();
  const auto writer = Open();
  const std::string count = "select count(*) from qxmap101";
  reader->BeginReadScope();
  EXPECT_EQ(reader->Execute(count).rows[0][0].ToInt32(), 0);
  writer->Execute("insert into qxmap101 (mprf, pprf) values (1, 2)");
  EXPECT_EQ(reader->Execute(count).rows[0][0].ToInt32(), 0);
  // A refused query does not spoil the queries after it.
  EXPECT_EQ(Raised([&] { reader->Execute("select nothing"); }).number(),
            errors::kQueryRefused);
  EXPECT_EQ(reader->Execute(count).rows[0][0].ToInt32(), 1);
  reader->EndReadScope();
  writer->Execute("insert into qxmap101 (mprf, pprf) values (3, 4)");
  EXPECT_EQ(reader->Execute(count).rows[0][0].ToInt32(), 2);
}

TEST_F(OdbcConnectionTest, LongTextsComeBackWhole) {
  // Longer than one piece of the reader, with characters of two bytes.
  std::string long_text;
  for (int i = 0; i < 3000; ++i) long_text += "\xE9\x80";  // é€ in Windows-1252
  const ResultSet result = Open()->Execute("select '" + long_text +
                                           "' + prtx from qxmap120 where "
                                           "tflno = '002'");
  ASSERT_EQ(result.rows.size(), 1u);
  EXPECT_EQ(result.rows[0][0].ToText(), long_text);
}

TEST(OdbcLoginTest, ARefusedLoginOrNoServerIsAConnectionErrorNamingTheTarget) {
  MX_SKIP_WITHOUT_TEST_SERVER();
  auto attributes =
      *ParseOdbcConnectionString(odbc_testing::DatabaseString("postgres"));
  for (auto& a : attributes) {
    if (strcasecmp(a.key.c_str(), "pwd") == 0) a.value = "wrong-secret";
  }
  const VbError refused = Raised([&] {
    OdbcConnection::Open(OdbcConnectionString(attributes), "Driver=X");
  });
  EXPECT_EQ(refused.number(), errors::kCannotConnect);
  EXPECT_THAT(refused.description(),
              StartsWith("Cannot connect through Driver=X: "));
  EXPECT_THAT(refused.description(),
              HasSubstr("password authentication failed"));
  EXPECT_THAT(refused.description(), Not(HasSubstr("wrong-secret")));

  for (auto& a : attributes) {
    if (strcasecmp(a.key.c_str(), "port") == 0) a.value = "1";
  }
  const VbError absent = Raised([&] {
    OdbcConnection::Open(OdbcConnectionString(attributes), "Driver=X");
  });
  EXPECT_EQ(absent.number(), errors::kCannotConnect);
  EXPECT_THAT(absent.description(), HasSubstr("Connection refused"));
}

}  // namespace
}  // namespace mx::repository
