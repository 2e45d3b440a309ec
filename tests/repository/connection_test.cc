// Connection strings: how they are read, which ones open a repository, and
// what a string that cannot be opened here says (no server, no driver, or
// a provider this platform lacks).
#include "repository/connection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "repository/temp_repository.h"

namespace mx::repository {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::Pair;
using testing::RaisedError;
using testing::TempPath;
using testing::TempRepository;

TEST(ParseConnectionStringTest, TrimsKeysAndValuesLowersKeysAndUnquotes) {
  EXPECT_THAT(
      ParseConnectionString("  Provider = SQLite ;DATA Source=\"C:\\in;x\\a "
                            "b.db\" ; Password='it''s' ;;Mode=Read;"),
      ElementsAre(Pair("data source", "C:\\in;x\\a b.db"), Pair("mode", "Read"),
                  Pair("password", "it's"), Pair("provider", "SQLite")));
  EXPECT_THAT(ParseConnectionString("data source=a.db;Data Source=b.db"),
              ElementsAre(Pair("data source", "b.db")));
  EXPECT_THAT(ParseConnectionString("Data Source=\"\"\"a\"\"\""),
              ElementsAre(Pair("data source", "\"a\"")));
  EXPECT_THAT(ParseConnectionString(" ; "), ElementsAre());
}

TEST(ParseConnectionStringTest, RefusesMalformedEntries) {
  for (const char* text : {"Data Source", "Data Source=\"a.db",
                           "Data Source='a.db' x", "=a.db", "a=1;b"}) {
    EXPECT_EQ(RaisedError([&] { ParseConnectionString(text); }).number(),
              errors::kCannotConnect)
        << "for: " << text;
  }
}

TEST(OpenConnectionTest, WhatCannotBeOpenedHereFailsAndSaysWhat) {
  struct Case {
    const char* connection_string;
    const char* named;
  };
  const Case cases[] = {
      {"Provider=SQLOLEDB;Data Source=srv;Initial Catalog=repo", "SQLOLEDB"},
      {"Provider=MSDASQL;Data Source=repo.db", "MSDASQL"},
      {"Driver={SQL Server};Server=srv;Database=repo", "{SQL Server}"},
      {"DSN=repo;UID=sa;PWD=secret", "DSN=repo"},
      {"Provider=SQLite", "Data Source"},
      {"", "Data Source"},
  };
  for (const Case& c : cases) {
    const VbError error =
        RaisedError([&] { OpenConnection(c.connection_string); });
    EXPECT_EQ(error.number(), errors::kCannotConnect) << c.connection_string;
    EXPECT_THAT(error.description(), HasSubstr(c.named)) << c.connection_string;
    EXPECT_THAT(error.description(), Not(HasSubstr("secret")));
    EXPECT_FALSE(error.source().empty());
  }
}

TEST(OpenConnectionTest, AFileThatCannotBeOpenedIsAConnectionError) {
  const std::string missing = TempPath("_missing.db");
  VbError error =
      RaisedError([&] { OpenConnection("Data Source=" + missing); });
  EXPECT_EQ(error.number(), errors::kCannotConnect);
  EXPECT_THAT(error.description(), HasSubstr(missing));

  const std::string not_a_database = TempPath(".txt");
  std::ofstream(not_a_database) << "This is no SQLite file, just some text.\n";
  error = RaisedError([&] { OpenConnection("Data Source=" + not_a_database); });
  EXPECT_EQ(error.number(), errors::kCannotConnect);
  EXPECT_THAT(error.description(), HasSubstr(not_a_database));
  std::filesystem::remove(not_a_database);
}

TEST(OpenConnectionTest, OpensSqliteWithOrWithoutTheProvider) {
  TempRepository repository;
  for (const std::string& text :
       {"Data Source=" + repository.path(),
        "provider=sqlite; data source = '" + repository.path() + "'",
        "Provider=SQLite3;Data Source=\"" + repository.path() +
            "\";Mode=Read"}) {
    const auto connection = OpenConnection(text);
    EXPECT_EQ(connection->Execute("select count(*) from qxmap100").rows.size(),
              1u)
        << text;
  }
}

}  // namespace
}  // namespace mx::repository
