// Connection strings for database servers, without a server: reading ODBC
// strings, translating the SQL Server provider strings, which providers we
// serve, the dialect by DBMS name and the PostgreSQL column types.
#include "repository/provider_strings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "interface/raised.h"
#include "repository/connection.h"
#include "repository/odbc_api.h"
#include "repository/odbc_connection.h"
#include "repository/postgres_schema.h"
#include "repository/repository_copy.h"
#include "repository/schema.h"
#include "testing/temp_dir.h"

namespace mx::repository {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr char kDriver[] = "ODBC Driver 18 for SQL Server";

SqlServerOdbcString Translate(const std::string& ado) {
  return TranslateSqlServerString(ParseConnectionString(ado), kDriver);
}

TEST(TranslateSqlServerStringTest, MapsTheProviderKeysToTheDriversKeywords) {
  EXPECT_EQ(
      Translate("Provider=SQLOLEDB.1;Persist Security Info=False;"
                "Data Source=tcp:db1,1433;Initial Catalog=Repo;User ID=mx;"
                "Password=\"p;w}d\";Application Name=workbench")
          .connection_string,
      "Driver={ODBC Driver 18 for SQL Server};Server={tcp:db1,1433};"
      "Database=Repo;UID=mx;PWD={p;w}}d};Encrypt=no;APP=workbench;");
  // Server and database under their other names; a named instance.
  EXPECT_EQ(Translate("provider=sqlncli11;server=DB1\\MIGRATION;"
                      "database=repo;uid=sa;pwd=x")
                .connection_string,
            "Driver={ODBC Driver 18 for SQL Server};Server=DB1\\MIGRATION;"
            "Database=repo;UID=sa;PWD=x;Encrypt=no;");
}

TEST(TranslateSqlServerStringTest, WindowsAuthenticationWinsOverAUserName) {
  for (const char* integrated : {"SSPI", "true", "Yes"}) {
    EXPECT_EQ(Translate(std::string("Provider=MSOLEDBSQL;Data Source=db1;"
                                    "Integrated Security=") +
                        integrated + ";User ID=ignored;Password=ignored")
                  .connection_string,
              "Driver={ODBC Driver 18 for SQL Server};Server=db1;"
              "Trusted_Connection=Yes;Encrypt=no;")
        << integrated;
  }
  EXPECT_THAT(Translate("Provider=SQLOLEDB;Data Source=db1;"
                        "Integrated Security=False;User ID=mx")
                  .connection_string,
              HasSubstr("UID=mx;"));
}

TEST(TranslateSqlServerStringTest, EncryptionAndTimeOutFollowTheProvider) {
  // The ODBC driver 18 encrypts unless told not to; the old providers did
  // not, MSOLEDBSQL19 does.
  EXPECT_THAT(
      Translate("Provider=MSOLEDBSQL19;Data Source=db1").connection_string,
      HasSubstr("Encrypt=yes;"));
  EXPECT_THAT(Translate("Provider=SQLOLEDB;Data Source=db1;Use Encryption for "
                        "Data=True;Trust Server Certificate=True")
                  .connection_string,
              HasSubstr("Encrypt=yes;TrustServerCertificate=yes;"));
  EXPECT_THAT(Translate("Provider=MSOLEDBSQL19;Data Source=db1;"
                        "Encrypt=Optional")
                  .connection_string,
              HasSubstr("Encrypt=no;"));

  EXPECT_EQ(Translate("Provider=SQLOLEDB;Data Source=db1;Connect Timeout=5")
                .login_timeout_seconds,
            5);
  EXPECT_EQ(
      Translate("Provider=SQLOLEDB;Data Source=db1").login_timeout_seconds,
      std::nullopt);
}

TEST(TranslateSqlServerStringTest, RefusesWhatItCannotTranslateAndSaysWhat) {
  struct Case {
    const char* ado;
    const char* named;
  };
  const Case cases[] = {
      {"Provider=SQLOLEDB;Initial Catalog=repo;Password=secret", "Data Source"},
      {"Provider=SQLOLEDB;Data Source=db1;Password=secret;Frobnicate=1",
       "frobnicate"},
      {"Provider=SQLOLEDB;Data Source=db1;Password=secret;"
       "Integrated Security=Kerberos",
       "Kerberos"},
      {"Provider=SQLOLEDB;Data Source=db1;Password=secret;Connect Timeout=soon",
       "soon"},
  };
  for (const Case& c : cases) {
    const VbError error = Raised([&] { Translate(c.ado); });
    EXPECT_EQ(error.number(), errors::kCannotConnect) << c.ado;
    EXPECT_THAT(error.description(), HasSubstr("Provider=SQLOLEDB")) << c.ado;
    EXPECT_THAT(error.description(), HasSubstr(c.named)) << c.ado;
    EXPECT_THAT(error.description(), Not(HasSubstr("secret"))) << c.ado;
  }
}

TEST(ClassifyProviderTest, KnowsTheProvidersByNameAnyCaseAndVersion) {
  EXPECT_EQ(ClassifyProvider(""), ProviderKind::kSqlite);
  EXPECT_EQ(ClassifyProvider("SQLite3"), ProviderKind::kSqlite);
  for (const char* sql_server : {"SQLOLEDB", "sqloledb.1", "MSOLEDBSQL",
                                 "MSOLEDBSQL19", "SQLNCLI11", "SQLNCLI11.1"}) {
    EXPECT_EQ(ClassifyProvider(sql_server), ProviderKind::kSqlServer)
        << sql_server;
  }
  for (const char* desktop :
       {"Microsoft.Jet.OLEDB.4.0", "Microsoft.ACE.OLEDB.12.0",
        "microsoft.ace.oledb.16.0"}) {
    EXPECT_EQ(ClassifyProvider(desktop), ProviderKind::kDesktopDatabase)
        << desktop;
  }
  EXPECT_EQ(ClassifyProvider("MSDASQL"), ProviderKind::kOther);
  EXPECT_EQ(ClassifyProvider("OraOLEDB.Oracle"), ProviderKind::kOther);
}

TEST(ChooseSqlServerDriverTest, TakesTheNewestInstalledDriver) {
  EXPECT_EQ(ChooseSqlServerDriver({"PostgreSQL Unicode",
                                   "ODBC Driver 17 for SQL Server",
                                   "ODBC Driver 18 for SQL Server"}),
            "ODBC Driver 18 for SQL Server");
  EXPECT_EQ(ChooseSqlServerDriver({"ODBC Driver 17 for SQL Server"}),
            "ODBC Driver 17 for SQL Server");
  EXPECT_EQ(ChooseSqlServerDriver({"PostgreSQL Unicode", "FreeTDS"}),
            std::nullopt);
}

TEST(OpenConnectionTest, ProvidersWithoutACounterpartAreRefusedByName) {
  const VbError desktop = Raised([] {
    OpenConnection("Provider=Microsoft.ACE.OLEDB.12.0;Data Source=repo.accdb");
  });
  EXPECT_EQ(desktop.number(), errors::kCannotConnect);
  EXPECT_THAT(desktop.description(),
              HasSubstr("Provider=Microsoft.ACE.OLEDB.12.0"));

  if (ChooseSqlServerDriver(odbc::InstalledDrivers())) {
    GTEST_SKIP() << "a SQL Server ODBC driver is installed here";
  }
  const VbError no_driver = Raised([] {
    OpenConnection("Provider=SQLOLEDB;Data Source=db1;Password=secret");
  });
  EXPECT_EQ(no_driver.number(), errors::kCannotConnect);
  EXPECT_THAT(no_driver.description(),
              HasSubstr("Provider=SQLOLEDB needs the SQL Server ODBC driver"));
  EXPECT_THAT(no_driver.description(), Not(HasSubstr("secret")));
}

TEST(OpenConnectionTest, AnOdbcStringThatReachesNothingNamesItsTarget) {
  // The driver manager answers these at once: no driver, no data source.
  const VbError no_driver = Raised([] {
    OpenConnection("Driver={No Such Driver};Server=db1;PWD={se;cret}");
  });
  EXPECT_EQ(no_driver.number(), errors::kCannotConnect);
  EXPECT_THAT(no_driver.description(),
              HasSubstr("Cannot connect through Driver={No Such Driver}: "));
  EXPECT_THAT(no_driver.description(), Not(HasSubstr("cret")));

  const VbError no_dsn =
      Raised([] { OpenConnection("DSN=mx_no_such_dsn;PWD=secret"); });
  EXPECT_THAT(no_dsn.description(),
              HasSubstr("Cannot connect through DSN=mx_no_such_dsn: "));
}

TEST(OdbcConnectionStringTest, ReadsBracesAndWritesThemWhereNeeded) {
  const auto attributes = ParseOdbcConnectionString(
      " Driver = {PostgreSQL Unicode} ;Server=db1;PWD={a;b}}c} ;; UID=mx");
  ASSERT_TRUE(attributes);
  ASSERT_EQ(attributes->size(), 4u);
  EXPECT_EQ((*attributes)[0].key, "Driver");
  EXPECT_EQ((*attributes)[0].value, "PostgreSQL Unicode");
  EXPECT_EQ((*attributes)[2].value, "a;b}c");
  EXPECT_EQ(OdbcConnectionString(*attributes),
            "Driver={PostgreSQL Unicode};Server=db1;PWD={a;b}}c};UID=mx;");
  EXPECT_EQ(
      OdbcConnectionString(
          {{"Server", "tcp:db1,1433"}, {"PWD", " padded "}, {"Database", ""}}),
      "Server={tcp:db1,1433};PWD={ padded };Database=;");

  for (const char* malformed : {"Driver={x;Server=db1", "Driver=x;Server",
                                "Driver={x}y;Server=db1", "=x"}) {
    EXPECT_FALSE(ParseOdbcConnectionString(malformed)) << malformed;
  }
}

TEST(OdbcTargetTest, NamesTheDriverOrDataSourceAsWritten) {
  EXPECT_EQ(OdbcTarget("Server=db1;DRIVER={PostgreSQL Unicode};PWD=x"),
            "DRIVER={PostgreSQL Unicode}");
  EXPECT_EQ(OdbcTarget("dsn=repo;uid=mx"), "dsn=repo");
  EXPECT_EQ(OdbcTarget("FILEDSN=/etc/repo.dsn"), "FILEDSN=/etc/repo.dsn");
  // Not ODBC strings: these are read ADO-style.
  EXPECT_EQ(OdbcTarget("Data Source=repo.sqlite"), std::nullopt);
  EXPECT_EQ(OdbcTarget("Provider=MSDASQL;DSN=repo"), std::nullopt);
  EXPECT_EQ(OdbcTarget("Data Source=\"a;b.sqlite\""), std::nullopt);
}

TEST(OdbcTextTest, ConvertsBetweenUtf8AndUtf16Strictly) {
  const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // aé€😀
  const auto wide = odbc::Utf8ToWide(text);
  ASSERT_TRUE(wide);
  EXPECT_EQ(*wide, (odbc::WideText{0x61, 0xE9, 0x20AC, 0xD83D, 0xDE00}));
  EXPECT_EQ(odbc::WideToUtf8(wide->data(), wide->size()), text);
  // Component text: é and € have their Windows-1252 bytes.
  EXPECT_EQ(odbc::WideToComponent(wide->data(), 3), "a\xE9\x80");

  for (const char* broken :
       {"\xC0\x80", "\xED\xA0\x80", "\xE2\x82", "\xF4\x90\x80\x80", "\xFF"}) {
    EXPECT_FALSE(odbc::Utf8ToWide(broken)) << broken;
  }
  const odbc::WideText lone = {0x61, 0xD83D, 0x62};
  EXPECT_FALSE(odbc::WideToUtf8(lone.data(), lone.size()));
}

TEST(DialectForDbmsTest, OnlySqlServerGetsThePlusSign) {
  EXPECT_EQ(DialectForDbms("Microsoft SQL Server"), QueryDialect::kAsBuilt);
  EXPECT_EQ(DialectForDbms("PostgreSQL"), QueryDialect::kPlusToConcat);
  EXPECT_EQ(DialectForDbms("SQLite"), QueryDialect::kPlusToConcat);
  EXPECT_EQ(DialectForDbms("Adaptive Server Enterprise"),
            QueryDialect::kAsBuilt);
}

TEST(PostgresSchemaTest, ColumnKindsFollowSqliteAffinity) {
  EXPECT_EQ(KindOfDeclaredType("INTEGER"), ColumnValueKind::kInteger);
  EXPECT_EQ(KindOfDeclaredType("bigint"), ColumnValueKind::kInteger);
  EXPECT_EQ(KindOfDeclaredType("BOOLEAN"), ColumnValueKind::kBoolean);
  EXPECT_EQ(KindOfDeclaredType("TEXT COLLATE RTRIM"), ColumnValueKind::kText);
  EXPECT_EQ(KindOfDeclaredType("VARCHAR(15)"), ColumnValueKind::kText);
  EXPECT_EQ(KindOfDeclaredType(""), ColumnValueKind::kText);
  EXPECT_EQ(KindOfDeclaredType("BLOB"), ColumnValueKind::kText);
  EXPECT_EQ(KindOfDeclaredType("DOUBLE PRECISION"), ColumnValueKind::kReal);
  EXPECT_EQ(KindOfDeclaredType("DECIMAL(10,2)"), ColumnValueKind::kNumeric);
  // SQLite's first rule wins: "INT" inside any name means integer.
  EXPECT_EQ(KindOfDeclaredType("FLOATING POINT"), ColumnValueKind::kInteger);

  EXPECT_EQ(PostgresName("qxMAP100"), "\"qxmap100\"");
  EXPECT_EQ(PostgresName("odd \"name\""), "\"odd \"\"name\"\"\"");
  EXPECT_EQ(
      PostgresCreateTable("qxmap101", {{"mprf", ColumnValueKind::kInteger},
                                       {"Note", ColumnValueKind::kText}}),
      "CREATE TABLE \"qxmap101\" (\n  \"mprf\" bigint,\n"
      "  \"note\" bpchar COLLATE \"C\"\n)");
}

TEST(PostgresSchemaTest, StatesStorageOrderForSingleTableSelectsOnly) {
  EXPECT_EQ(KeepPostgresStorageOrder(" select qxmap100.* from qxmap100 where "
                                     "mprf = 1"),
            " select qxmap100.* from qxmap100 where mprf = 1 ORDER BY ctid");
  EXPECT_EQ(KeepPostgresStorageOrder("select fdnm from qxmap140 where x = "
                                     "'a from b, c' order by dnum  "),
            "select fdnm from qxmap140 where x = 'a from b, c' order by dnum, "
            "ctid  ");
  EXPECT_EQ(KeepPostgresStorageOrder("Select cpac||cmod from qxmap170 t where "
                                     "upper(t.cpac) in ('A','B')"),
            "Select cpac||cmod from qxmap170 t where upper(t.cpac) in "
            "('A','B') ORDER BY ctid");
  for (const char* unchanged : {
           "select a from t1, t2 where t1.x = t2.x",
           "select a from t1 join t2 on t1.x = t2.x order by a",
           "select count(*) from qxmap100",
           "select a from t where b = (select max(b) from t)",
           "select distinct a from t order by a",
           "select distinct t.a from t",
           "select distinct upper(a) from t",
           "select a from t group by a",
           "select a from t union select b from u",
           "select a from t; drop table t",
           "select a from t where b = 'unterminated",
       }) {
    EXPECT_EQ(KeepPostgresStorageOrder(unchanged), unchanged);
  }
}

// A DISTINCT keeps the order in which each value first appears (the split
// information lists its conversion objects so).
TEST(PostgresSchemaTest, DistinctValuesComeInTheOrderTheyFirstAppear) {
  EXPECT_EQ(KeepPostgresStorageOrder("select distinct ttbl  from qxmap300"),
            "SELECT ttbl FROM (SELECT DISTINCT ON (ttbl) ttbl, ctid AS "
            "mx_first_row FROM qxmap300 ORDER BY ttbl, ctid) AS mx_distinct "
            "ORDER BY mx_first_row");
  EXPECT_EQ(KeepPostgresStorageOrder(
                "SELECT DISTINCT a, b FROM t WHERE c = 'x from y'"),
            "SELECT a, b FROM (SELECT DISTINCT ON (a, b) a, b, ctid AS "
            "mx_first_row FROM t WHERE c = 'x from y' ORDER BY a, b, ctid) "
            "AS mx_distinct ORDER BY mx_first_row");
}

TEST(RepositoryCopyTest, ReadsOnlySqliteAndWritesOnlyThroughOdbc) {
  EXPECT_EQ(SqliteRepositoryPath("repo.sqlite"), "repo.sqlite");
  EXPECT_EQ(SqliteRepositoryPath("Provider=SQLite;Data Source=/tmp/r.db"),
            "/tmp/r.db");
  for (const char* from : {"Driver={PostgreSQL Unicode};Server=db1",
                           "Provider=SQLOLEDB;Data Source=db1"}) {
    EXPECT_EQ(Raised([&] { SqliteRepositoryPath(from); }).number(),
              errors::kCannotConnect)
        << from;
  }
  VbError error =
      Raised([] { CopyRepository("/nonexistent/repo.sqlite", "DSN=repo"); });
  EXPECT_EQ(error.number(), errors::kCannotConnect);
  EXPECT_THAT(error.description(), HasSubstr("/nonexistent/repo.sqlite"));

  testing::TempDir tmp;
  const std::string repo = tmp / "repo.sqlite";
  CreateSqliteRepository(repo);
  error = Raised([&] { CopyRepository(repo, "Data Source=" + repo); });
  EXPECT_EQ(error.number(), errors::kCannotConnect);
  EXPECT_THAT(error.description(), HasSubstr("ODBC connection string"));
}

}  // namespace
}  // namespace mx::repository
