// Test helpers: unique temporary file names, an empty repository created with
// the shipped schema (removed when the test ends) with a writable handle for
// filling it, catching the VbError an operation raises, and comparing what
// two connections answer.
#ifndef MX_TESTS_REPOSITORY_TEMP_REPOSITORY_H_
#define MX_TESTS_REPOSITORY_TEMP_REPOSITORY_H_

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "movx20xmlgen/error.h"
#include "repository/connection.h"
#include "repository/schema.h"

namespace mx::repository::testing {

// A path in the temporary folder, unique per test and process, ending in
// `suffix`.
inline std::string TempPath(const std::string& suffix) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  return ::testing::TempDir() + "mx_" + test->test_suite_name() + "_" +
         test->name() + "_" + std::to_string(::getpid()) + suffix;
}

class TempRepository {
 public:
  TempRepository() : path_(TempPath(".db")) {
    std::filesystem::remove(path_);
    CreateSqliteRepository(path_);
    EXPECT_EQ(sqlite3_open_v2(path_.c_str(), &writer_, SQLITE_OPEN_READWRITE,
                              nullptr),
              SQLITE_OK);
  }
  ~TempRepository() {
    sqlite3_close_v2(writer_);
    std::filesystem::remove(path_);
  }
  TempRepository(const TempRepository&) = delete;
  TempRepository& operator=(const TempRepository&) = delete;

  const std::string& path() const { return path_; }

  // Runs SQL (UTF-8, SQLite's own dialect) on the writable handle.
  void Exec(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(writer_, sql.c_str(), nullptr, nullptr, &message) !=
        SQLITE_OK) {
      ADD_FAILURE() << sql << ": " << message;
    }
    sqlite3_free(message);
  }

 private:
  std::string path_;
  sqlite3* writer_ = nullptr;
};

// The VbError that `operation` raises; a test failure when it raises none.
template <typename Operation>
VbError RaisedError(Operation&& operation) {
  try {
    operation();
  } catch (const VbError& error) {
    return error;
  }
  ADD_FAILURE() << "no VbError was raised";
  return VbError(0, "", "(none)");
}

// What `expected` answers and what `actual` answers, query by query: the
// same columns, and the same rows in the same order, value for value.
inline void ExpectSameAnswers(Connection& expected, Connection& actual,
                              const std::vector<std::string>& queries) {
  for (const std::string& sql : queries) {
    SCOPED_TRACE(sql);
    const ResultSet want = expected.Execute(sql);
    const ResultSet got = actual.Execute(sql);
    EXPECT_EQ(got.columns, want.columns);
    ASSERT_EQ(got.rows.size(), want.rows.size());
    for (size_t r = 0; r < want.rows.size(); ++r) {
      for (size_t c = 0; c < want.columns.size(); ++c) {
        EXPECT_TRUE(got.rows[r][c].IsNull() == want.rows[r][c].IsNull() &&
                    got.rows[r][c].ToTextOrEmpty() ==
                        want.rows[r][c].ToTextOrEmpty())
            << "row " << r << ", column " << want.columns[c];
      }
    }
  }
}

}  // namespace mx::repository::testing

#endif  // MX_TESTS_REPOSITORY_TEMP_REPOSITORY_H_
