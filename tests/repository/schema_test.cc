// Creating an empty repository, and the layout that positional readers rely
// on.
#include "repository/schema.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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

}  // namespace
}  // namespace mx::repository
