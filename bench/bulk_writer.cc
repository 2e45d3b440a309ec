#include "bench/bulk_writer.h"

#include <sqlite3.h>

#include <cstdio>
#include <stdexcept>

#include "repository/schema.h"

namespace mx::bench {

std::string Digits(int64_t value, int width) {
  std::string text = std::to_string(value);
  while (static_cast<int>(text.size()) < width) text = "0" + text;
  return text;
}

BulkWriter::BulkWriter(const std::string& path) {
  if (std::FILE* existing = std::fopen(path.c_str(), "rb")) {
    std::fclose(existing);
    throw std::runtime_error(path + " exists already");
  }
  if (sqlite3_open_v2(path.c_str(), &db_,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                      nullptr) != SQLITE_OK) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    throw std::runtime_error("cannot create " + path);
  }
  Exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;");
  Exec("BEGIN;\n" + repository::SqliteSchema());
}

BulkWriter::~BulkWriter() {
  for (auto& [sql, statement] : statements_) sqlite3_finalize(statement);
  sqlite3_close_v2(db_);
}

void BulkWriter::Finish() { Exec(repository::SqliteIndexes() + "COMMIT;"); }

void BulkWriter::Exec(const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message == nullptr ? "?" : message;
    sqlite3_free(message);
    throw std::runtime_error(text);
  }
}

void BulkWriter::Insert(const std::string& table, const std::string& columns,
                        const std::vector<Value>& values) {
  sqlite3_stmt* statement = StatementFor(table, columns, values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    const int position = static_cast<int>(i) + 1;
    if (const auto* n = std::get_if<int64_t>(&values[i])) {
      sqlite3_bind_int64(statement, position, *n);
    } else if (const auto* s = std::get_if<std::string>(&values[i])) {
      sqlite3_bind_text(statement, position, s->data(),
                        static_cast<int>(s->size()), SQLITE_TRANSIENT);
    } else {
      sqlite3_bind_null(statement, position);
    }
  }
  if (sqlite3_step(statement) != SQLITE_DONE) {
    throw std::runtime_error(sqlite3_errmsg(db_));
  }
  sqlite3_reset(statement);
}

sqlite3_stmt* BulkWriter::StatementFor(const std::string& table,
                                       const std::string& columns,
                                       size_t count) {
  const std::string key = table + "(" + columns + ")";
  for (auto& [sql, statement] : statements_) {
    if (sql == key) return statement;
  }
  std::string sql = "INSERT INTO " + key + " VALUES (";
  for (size_t i = 0; i < count; ++i) sql += i == 0 ? "?" : ",?";
  sql += ")";
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) !=
      SQLITE_OK) {
    throw std::runtime_error(sqlite3_errmsg(db_));
  }
  statements_.emplace_back(key, statement);
  return statement;
}

}  // namespace mx::bench
