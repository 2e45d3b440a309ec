#include "repository/snapshot_database.h"

#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <new>
#include <optional>
#include <thread>

#include "movx20xmlgen/error.h"
#include "platform/encoding.h"
#include "repository/row_map_module.h"
#include "repository/schema.h"
#include "repository/sqlite_connection.h"
#include "repository/sqlite_handles.h"

namespace mx::repository {

namespace {

constexpr char kErrorSource[] = "movx20xmlgen snapshot";

// An empty file of the run's own in the temporary folder (mode 0600); ""
// when none can be made.
std::string MakeTemporaryFile() {
  std::error_code error;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path(error);
  if (error) return "";
  std::string name = (folder / "movx20xmlgen-copy-XXXXXX").string();
  const int fd = mkstemp(name.data());
  if (fd < 0) return "";
  close(fd);
  return name;
}

}  // namespace

SnapshotDatabase::SnapshotDatabase() : path_(MakeTemporaryFile()) {
  ConfigureSqliteOnce();
  // A file of the run's own, so that builders on other threads can read the
  // copy too (Connection::OpenReader); it is removed when the copy's
  // connection closes. Failing that, an empty file name: a private
  // temporary database that only this connection reads, in memory up to the
  // page cache's bound, in a file of its own beyond it, gone on close.
  const int rc = sqlite3_open_v2(
      path_.c_str(), &db_,
      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
      nullptr);
  if (rc != SQLITE_OK) {
    if (!path_.empty()) std::remove(path_.c_str());
    const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close_v2(db_);
    db_ = nullptr;
    throw VbError(errors::kCannotConnect, kErrorSource,
                  "Cannot open a temporary database: " + message);
  }
  Run("PRAGMA cache_size = -" + std::to_string(kCacheBytes / 1024));
  Run("PRAGMA journal_mode = OFF");
  Run("PRAGMA synchronous = OFF");
  // Sorting the index keys may use worker threads.
  Run("PRAGMA threads = " + std::to_string(kSortThreads));
}

SnapshotDatabase::~SnapshotDatabase() {
  if (db_ == nullptr) return;  // the connection has it
  sqlite3_close_v2(db_);
  if (!path_.empty()) std::remove(path_.c_str());
}

void SnapshotDatabase::Fail(const std::string& what) {
  throw VbError(
      errors::kQueryRefused, kErrorSource,
      what + ": " + Utf8ToWin1252(sqlite3_errmsg(db_)).value_or("error"));
}

void SnapshotDatabase::Run(const std::string& sql) {
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    Fail("Cannot build the run's copy of the repository");
  }
}

void SnapshotDatabase::CopyPagesOf(sqlite3* source) {
  sqlite3_backup* backup = sqlite3_backup_init(db_, "main", source, "main");
  if (backup == nullptr) Fail("Cannot copy the repository");
  const int rc = sqlite3_backup_step(backup, -1);
  sqlite3_backup_finish(backup);
  if (rc != SQLITE_DONE) {
    throw VbError(
        errors::kQueryRefused, kErrorSource,
        std::string("Cannot copy the repository: ") + sqlite3_errstr(rc));
  }
}

void SnapshotDatabase::CreateTable(std::string_view name,
                                   const std::vector<Column>& columns) {
  BeginIfNeeded();
  rows_written_ = true;
  std::string sql = "CREATE TABLE " + QuotedSqlName(name) + " (";
  const char* separator = "";
  for (const Column& column : columns) {
    sql += separator + QuotedSqlName(column.name) + " " + column.declared_type;
    separator = ", ";
  }
  Run(sql + ")");
}

SnapshotDatabase::RowWriter::RowWriter(SnapshotDatabase& database,
                                       std::string_view table, size_t columns)
    : database_(database) {
  std::string sql = "INSERT INTO " + QuotedSqlName(table) + " VALUES (";
  for (size_t i = 0; i < columns; ++i) sql += i == 0 ? "?" : ", ?";
  sql += ")";
  if (sqlite3_prepare_v2(database_.db_, sql.c_str(), -1, &statement_,
                         nullptr) != SQLITE_OK) {
    database_.Fail("Cannot copy table " + std::string(table));
  }
}

SnapshotDatabase::RowWriter::~RowWriter() { sqlite3_finalize(statement_); }

void SnapshotDatabase::RowWriter::BindNull(size_t column) {
  sqlite3_bind_null(statement_, static_cast<int>(column + 1));
}

void SnapshotDatabase::RowWriter::BindInteger(size_t column, int64_t value) {
  sqlite3_bind_int64(statement_, static_cast<int>(column + 1), value);
}

void SnapshotDatabase::RowWriter::BindReal(size_t column, double value) {
  sqlite3_bind_double(statement_, static_cast<int>(column + 1), value);
}

void SnapshotDatabase::RowWriter::BindText(size_t column,
                                           std::string_view utf8) {
  sqlite3_bind_text(statement_, static_cast<int>(column + 1), utf8.data(),
                    static_cast<int>(utf8.size()), SQLITE_STATIC);
}

void SnapshotDatabase::RowWriter::Insert() {
  const int rc = sqlite3_step(statement_);
  sqlite3_reset(statement_);
  if (rc != SQLITE_DONE) database_.Fail("Cannot copy a row");
}

void SnapshotDatabase::BeginIfNeeded() {
  if (in_transaction_) return;
  Run("BEGIN");
  in_transaction_ = true;
}

void SnapshotDatabase::BuildIndexes(std::string_view table) {
  BeginIfNeeded();
  AddMaps(table);
  // SQLite sorts an index's keys in memory up to the page cache's size and
  // merges sorted runs beyond it: with a small cache, runs are sorted on
  // worker threads (PRAGMA threads) while the table is still being read,
  // and the large tables' indexes build in about 15 % less time.
  Run("PRAGMA cache_size = -" + std::to_string(kSortRunBytes / 1024));
  for (const LookupIndex& index : CopyIndexes()) {
    if (!table.empty() && index.table != table) continue;
    if (maps_->Replaces(index.table, index.key)) continue;
    const std::string sql = "CREATE INDEX IF NOT EXISTS " + index.name +
                            " ON " + index.table + " (" + index.key + ")";
    // A table without one of the columns, or no such table: its queries
    // read it whole, as they would read the repository.
    sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
  }
  Run("PRAGMA cache_size = -" + std::to_string(kCacheBytes / 1024));
}

// The maps of a table read through a connection of its own to the copy's
// file, which shows what the copy's own connection has committed.
std::optional<RowMaps::TableMaps> SnapshotDatabase::ReadMapsApart(
    const std::string& table) const {
  sqlite3* db = nullptr;
  std::optional<RowMaps::TableMaps> maps;
  if (sqlite3_open_v2(path_.c_str(), &db,
                      SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                      nullptr) == SQLITE_OK &&
      sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK) {
    try {
      maps = RowMaps::Read(db, table);
    } catch (const std::bad_alloc&) {
      maps.reset();
    }
  }
  sqlite3_close_v2(db);
  return maps;
}

// A table or view of the repository named as the maps' function would
// take its place in the queries that join it: its tables get indexes then.
bool SnapshotDatabase::NamesTheMapFunction() {
  sqlite3_stmt* raw = nullptr;
  const std::string sql =
      std::string("SELECT 1 FROM sqlite_master WHERE lower(name) = '") +
      kRowMapFunction + "'";
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
    sqlite3_finalize(raw);
    return true;
  }
  const bool named = sqlite3_step(raw) != SQLITE_DONE;
  sqlite3_finalize(raw);
  return named;
}

void SnapshotDatabase::AddMaps(std::string_view table) {
  std::vector<std::string> tables;
  for (const RowMapKey& key : RowMapKeys()) {
    if ((table.empty() || key.table == table) &&
        maps_tried_.insert(key.table).second) {
      tables.push_back(key.table);
    }
  }
  if (tables.empty() || NamesTheMapFunction()) return;
  // A page copy's tables are all in the file: each table but the first is
  // read on a thread of its own, whose connection sees them there. Rows
  // written here are seen only by this connection until they are
  // committed.
  const bool apart = !rows_written_ && !path_.empty();
  std::vector<std::optional<RowMaps::TableMaps>> read(tables.size());
  std::vector<std::thread> readers;
  for (size_t i = 1; apart && i < tables.size(); ++i) {
    readers.emplace_back([&, i] { read[i] = ReadMapsApart(tables[i]); });
  }
  for (size_t i = 0; i < tables.size(); ++i) {
    if (i == 0 || !apart) read[i] = RowMaps::Read(db_, tables[i]);
  }
  for (std::thread& reader : readers) reader.join();
  for (std::optional<RowMaps::TableMaps>& maps : read) {
    if (maps) maps_->Add(*std::move(maps));
  }
}

void SnapshotDatabase::AddLookupIndexesOf(std::string_view table) {
  if (!table.empty()) BuildIndexes(table);
}

void SnapshotDatabase::AddLookupIndexes() {
  BuildIndexes("");
  Run("COMMIT");
  in_transaction_ = false;
  Run("PRAGMA query_only = 1");
}

std::unique_ptr<Connection> SnapshotDatabase::Connect() {
  if (in_transaction_) Run("COMMIT");
  in_transaction_ = false;
  std::unique_ptr<SqliteConnection> connection =
      path_.empty() ? SqliteConnection::Adopt(db_)
                    : SqliteConnection::AdoptTemporary(db_, path_);
  db_ = nullptr;
  // Without its maps the copy's connection would find the rows of a mapped
  // table by reading it whole: no copy is better than that.
  if (!connection->UseRowMaps(maps_)) {
    throw VbError(errors::kQueryRefused, kErrorSource,
                  "Cannot read the run's copy of the repository");
  }
  connection->BeginReadScope();
  return connection;
}

}  // namespace mx::repository
