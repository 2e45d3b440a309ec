// Creating an empty repository, and the layout that positional readers rely
// on.
#include "repository/schema.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "repository/postgres_schema.h"
#include "repository/sqlite_connection.h"
#include "repository/temp_repository.h"

namespace mx::repository {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::RaisedError;
using testing::TempPath;

TEST(CreateSqliteRepositoryTest, NeverOverwritesAFile) {
  const std::string path = TempPath(".db");
  std::ofstream(path) << "keep me";
  EXPECT_EQ(RaisedError([&] { CreateSqliteRepository(path); }).number(), 58);
  std::stringstream content;
  content << std::ifstream(path).rdbuf();
  EXPECT_EQ(content.str(), "keep me");
  std::filesystem::remove(path);
}

TEST(CreateSqliteRepositoryTest, AMissingFolderIsPathNotFound) {
  const std::string path = TempPath("_no_such_folder/repository.db");
  EXPECT_EQ(RaisedError([&] { CreateSqliteRepository(path); }).number(),
            errors::kPathNotFound);
}

TEST(SqliteSchemaTest, IndexRowsHoldSevenColumnsThenTwentyFourParts) {
  testing::TempRepository repository;
  const auto columns =
      SqliteConnection::Open(repository.path())
          ->Execute(" select * from  qxddi200 where appl = 'none'")
          .columns;
  ASSERT_EQ(columns.size(), 31u);
  EXPECT_THAT(
      std::vector<std::string>(columns.begin(), columns.begin() + 7),
      ElementsAre("appl", "cpac", "cmod", "flno", "indn", "dupl", "acti"));
}

TEST(PostgresSchemaTest, ServerIndexesKeepTheirFunctionTerms) {
  // "upper" in "upper(flno)" names a function, not a column the table
  // lacks: the legacy lookups by upper-cased name get their indexes too.
  std::map<std::string, std::vector<std::string>> columns = {
      {"qxlgy140", {"appl", "cpac", "cmod", "flno"}},
      {"qxlgy150", {"appl", "cpac", "cmod", "flno", "seqn"}},
      {"qxddi220", {"appl", "cpac", "cdom"}}};
  const std::vector<std::string> statements = PostgresIndexStatements(columns);
  EXPECT_THAT(statements,
              ::testing::IsSupersetOf(
                  {"CREATE INDEX IF NOT EXISTS mx_qxlgy140_2 ON \"qxlgy140\" "
                   "(appl, cpac, cmod, upper(flno))",
                   "CREATE INDEX IF NOT EXISTS mx_qxlgy150_3 ON \"qxlgy150\" "
                   "(appl, upper(flno))",
                   "CREATE INDEX IF NOT EXISTS mx_qxddi220_1 ON \"qxddi220\" "
                   "(appl, (cpac||cdom))"}));
  // A key over a column the table lacks is still left out.
  columns["qxlgy150"] = {"appl", "cpac", "cmod"};
  for (const std::string& statement : PostgresIndexStatements(columns)) {
    EXPECT_EQ(statement.find("ON \"qxlgy150\""), std::string::npos)
        << statement;
  }
}

}  // namespace
}  // namespace mx::repository
