#include "repository/sqlite_script.h"

#include <sqlite3.h>

#include "movx20xmlgen/error.h"

namespace mx::repository {

namespace {

VbError ScriptError(const std::string& message) {
  return VbError(errors::kQueryRefused, "SQLite", message);
}

}  // namespace

void ExecuteSqliteScript(const std::string& path_utf8,
                         const std::string& sql_utf8) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path_utf8.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
      SQLITE_OK) {
    std::string message = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    throw VbError(errors::kCannotConnect, "SQLite",
                  "cannot open " + path_utf8 + ": " + message);
  }
  const std::string script = "BEGIN;\n" + sql_utf8 + "\n;COMMIT;";
  char* error = nullptr;
  if (sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : "unknown error";
    sqlite3_free(error);
    sqlite3_exec(db, "ROLLBACK;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    throw ScriptError(message);
  }
  sqlite3_close(db);
}

}  // namespace mx::repository
