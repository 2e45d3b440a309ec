// The SQLite backend: opens a repository file read-only and runs the
// component's queries on it. Text crosses this boundary in both directions:
// query text goes from Windows-1252 to UTF-8, result texts come back from
// UTF-8 to Windows-1252. Each query is prepared, stepped to its last row and
// finalized before Execute returns.
#include "repository/sqlite_connection.h"

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/encoding.h"
#include "platform/error.h"
#include "repository/dialect.h"

namespace mx::repository {

namespace {

constexpr char kErrorSource[] = "Microsoft OLE DB Provider for SQLite";
// A writer holding the file briefly (a repository being loaded) is waited for
// rather than failing the query at once.
constexpr int kBusyTimeoutMs = 5000;

struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
  }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// SQLite's own texts (messages, column names, file names) are UTF-8; the
// component's are Windows-1252. Bytes that are not UTF-8 are kept as they are.
std::string ToComponentText(std::string_view utf8) {
  std::optional<std::string> text = Utf8ToWin1252(utf8);
  return text ? *std::move(text) : std::string(utf8);
}

VbError QueryRefused(sqlite3* db) {
  return VbError(errors::kQueryRefused, kErrorSource,
                 ToComponentText(sqlite3_errmsg(db)));
}

VbError QueryRefused(const char* description) {
  return VbError(errors::kQueryRefused, kErrorSource, description);
}

VbError CannotOpen(const std::string& path_utf8, sqlite3* db) {
  return VbError(errors::kCannotConnect, kErrorSource,
                 "Cannot open the repository file " +
                     ToComponentText(path_utf8) + ": " +
                     ToComponentText(sqlite3_errmsg(db)));
}

// The component sends one statement per query. Anything after it other than
// blanks, ";" or comments is refused rather than silently ignored.
void RefuseFurtherStatements(sqlite3* db, const char* tail, const char* end) {
  sqlite3_stmt* raw = nullptr;
  const int rc =
      sqlite3_prepare_v2(db, tail, static_cast<int>(end - tail), &raw, nullptr);
  const Statement next(raw);
  if (rc != SQLITE_OK) throw QueryRefused(db);
  if (next) throw QueryRefused("A query must hold a single statement");
}

Statement Prepare(sqlite3* db, const std::string& sql_utf8) {
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  const int rc = sqlite3_prepare_v2(
      db, sql_utf8.data(), static_cast<int>(sql_utf8.size()), &raw, &tail);
  Statement statement(raw);
  if (rc != SQLITE_OK) throw QueryRefused(db);
  if (!statement) throw QueryRefused("The query text is empty");
  RefuseFurtherStatements(db, tail, sql_utf8.data() + sql_utf8.size());
  return statement;
}

std::vector<std::string> ColumnNames(sqlite3_stmt* statement) {
  const int count = sqlite3_column_count(statement);
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    names.push_back(ToComponentText(sqlite3_column_name(statement, i)));
  }
  return names;
}

Variant ReadText(sqlite3_stmt* statement, int column,
                 const std::string& column_name, size_t row_number) {
  const void* bytes = sqlite3_column_type(statement, column) == SQLITE_BLOB
                          ? sqlite3_column_blob(statement, column)
                          : sqlite3_column_text(statement, column);
  const int size = sqlite3_column_bytes(statement, column);
  const std::string_view utf8 =
      bytes == nullptr ? std::string_view()
                       : std::string_view(static_cast<const char*>(bytes),
                                          static_cast<size_t>(size));
  std::optional<std::string> text = Utf8ToWin1252(utf8);
  if (!text) {
    throw VbError(errors::kConversionFailed, kErrorSource,
                  "The text in column " + column_name + " of row " +
                      std::to_string(row_number) + " is not valid UTF-8");
  }
  return Variant(*std::move(text));
}

Variant ReadValue(sqlite3_stmt* statement, int column,
                  const std::string& column_name, size_t row_number) {
  switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
      return Variant(
          static_cast<int64_t>(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
      return Variant(sqlite3_column_double(statement, column));
    case SQLITE_NULL:
      return Variant::MakeNull();
    default:  // SQLITE_TEXT, SQLITE_BLOB
      return ReadText(statement, column, column_name, row_number);
  }
}

std::vector<Variant> ReadRow(sqlite3_stmt* statement,
                             const std::vector<std::string>& columns,
                             size_t row_number) {
  std::vector<Variant> row;
  row.reserve(columns.size());
  for (size_t i = 0; i < columns.size(); ++i) {
    row.push_back(
        ReadValue(statement, static_cast<int>(i), columns[i], row_number));
  }
  return row;
}

}  // namespace

std::unique_ptr<SqliteConnection> SqliteConnection::Open(
    const std::string& path_utf8) {
  sqlite3* db = nullptr;
  const int rc =
      sqlite3_open_v2(path_utf8.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  // The handle is owned from here on, even when the open failed.
  std::unique_ptr<SqliteConnection> connection(new SqliteConnection(db));
  if (rc != SQLITE_OK) throw CannotOpen(path_utf8, db);
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  // SQLite opens lazily; reading the schema now turns a file that is not a
  // database into a connection error instead of a failure of the first query.
  if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr,
                   nullptr) != SQLITE_OK) {
    throw CannotOpen(path_utf8, db);
  }
  return connection;
}

SqliteConnection::~SqliteConnection() { sqlite3_close_v2(db_); }

ResultSet SqliteConnection::Execute(const std::string& sql) {
  const Statement statement = Prepare(db_, Win1252ToUtf8(PlusToConcat(sql)));
  ResultSet result;
  result.columns = ColumnNames(statement.get());
  int rc;
  while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
    result.rows.push_back(
        ReadRow(statement.get(), result.columns, result.rows.size() + 1));
  }
  if (rc != SQLITE_DONE) throw QueryRefused(db_);
  return result;
}

}  // namespace mx::repository
