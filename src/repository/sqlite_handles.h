// What every user of SQLite's C interface in this folder needs: a prepared
// statement that finalizes itself, and a table or column name quoted for
// SQL text whatever it holds.
#ifndef MX_REPOSITORY_SQLITE_HANDLES_H_
#define MX_REPOSITORY_SQLITE_HANDLES_H_

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>

namespace mx::repository {

struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
  }
};
using SqliteStatement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// "name", with every " in it doubled.
inline std::string QuotedSqlName(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

}  // namespace mx::repository

#endif  // MX_REPOSITORY_SQLITE_HANDLES_H_
