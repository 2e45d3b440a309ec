// The database server of the ODBC tests. scripts/test.sh starts a throwaway
// PostgreSQL cluster and sets
//   MX_TEST_ODBC             an ODBC connection string to it, without Database
//   MX_TEST_ODBC_SERVER_CTL  a command that takes "stop" or "start"
// Without MX_TEST_ODBC the tests that need the server skip, so that a plain
// ctest stays green; the fault tests also need the control command.
#ifndef MX_TESTS_ODBC_TEST_SERVER_H_
#define MX_TESTS_ODBC_TEST_SERVER_H_

#include <gtest/gtest.h>
#include <strings.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "movx20xmlgen/error.h"
#include "repository/odbc_connection.h"
#include "repository/provider_strings.h"
#include "repository/repository_copy.h"
#include "repository/schema.h"
#include "repository/sqlite_script.h"

namespace mx::odbc_testing {

inline std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

inline std::optional<std::string> ServerString() {
  return Environment("MX_TEST_ODBC");
}

#define MX_SKIP_WITHOUT_TEST_SERVER()                              \
  if (!::mx::odbc_testing::ServerString()) {                       \
    GTEST_SKIP() << "no database server: MX_TEST_ODBC is not set " \
                    "(scripts/test.sh starts one and sets it)";    \
  }

// The connection string of database `name` on the test server.
inline std::string DatabaseString(const std::string& name) {
  auto attributes = *repository::ParseOdbcConnectionString(*ServerString());
  std::erase_if(attributes, [](const repository::OdbcAttribute& a) {
    return strcasecmp(a.key.c_str(), "database") == 0;
  });
  attributes.push_back({"Database", name});
  return repository::OdbcConnectionString(attributes);
}

// Runs a statement on the server's maintenance database.
inline void Administer(const std::string& sql) {
  const auto admin = repository::OdbcConnection::Open(
      DatabaseString("postgres"), "the test server");
  admin->Execute(sql);
}

// An empty database of its own for one test, dropped at the end. The name is
// unique per test and process.
class TestDatabase {
 public:
  explicit TestDatabase(const std::string& purpose)
      : name_("mx_" + purpose + "_" + std::to_string(::getpid())) {
    Administer("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    Administer("CREATE DATABASE " + name_ +
               " TEMPLATE template0 ENCODING 'UTF8'");
  }
  ~TestDatabase() {
    try {
      Administer("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    } catch (const VbError&) {
      // The cluster is thrown away after the tests anyway.
    }
  }
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  std::string connection_string() const { return DatabaseString(name_); }

 private:
  std::string name_;
};

// An SQLite repository at `path` filled with `sql` (UTF-8, SQLite dialect).
inline void BuildSqliteRepository(const std::string& path,
                                  const std::string& sql) {
  repository::CreateSqliteRepository(path);
  repository::ExecuteSqliteScript(path, sql);
}

}  // namespace mx::odbc_testing

#endif  // MX_TESTS_ODBC_TEST_SERVER_H_
