// The SQLite backend of a repository connection. The file is opened
// read-only and must exist. Queries arrive in the original server's dialect
// and in Windows-1252; they are adapted (see dialect.h), converted to UTF-8
// and run to their last row. Integers come back as whole numbers, reals as
// doubles, NULL as Null, texts (and blobs) converted to Windows-1252.
#ifndef MX_REPOSITORY_SQLITE_CONNECTION_H_
#define MX_REPOSITORY_SQLITE_CONNECTION_H_

#include <memory>
#include <string>

#include "repository/connection.h"

struct sqlite3;

namespace mx::repository {

class SqliteConnection : public Connection {
 public:
  // Raises -2147467259 naming the file when it is missing or not a database.
  static std::unique_ptr<SqliteConnection> Open(const std::string& path_utf8);

  ~SqliteConnection() override;
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  // A query SQLite refuses raises -2147217900 with SQLite's message; a text
  // value that is not valid UTF-8 raises errors::kConversionFailed.
  ResultSet Execute(const std::string& sql) override;

 private:
  explicit SqliteConnection(sqlite3* db) : db_(db) {}

  sqlite3* db_;  // owned
};

}  // namespace mx::repository

#endif  // MX_REPOSITORY_SQLITE_CONNECTION_H_
