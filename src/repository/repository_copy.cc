// The copier reads the SQLite file with SQLite's own API (every table, every
// row, values by their storage class) and writes through one ODBC session with
// auto-commit off. Each value travels as text and is cast by the server to its
// column's type, so the driver's parameter typing never matters.
#include "repository/repository_copy.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "movx20xmlgen/error.h"
#include "platform/encoding.h"
#include "platform/utf8.h"
#include "platform/vb_text.h"
#include "repository/connection.h"
#include "repository/odbc_api.h"
#include "repository/odbc_connection.h"
#include "repository/postgres_schema.h"
#include "repository/provider_strings.h"
#include "repository/schema.h"
#include "repository/sqlite_handles.h"

namespace mx::repository {

namespace {

using odbc::Handle;
using odbc::Session;
using odbc::Succeeded;
using odbc::WideText;

constexpr char kErrorSource[] = "movx20xmlgen repo copy";

VbError CannotConnect(const std::string& description) {
  return VbError(errors::kCannotConnect, kErrorSource, description);
}

VbError Refused(const std::string& description) {
  return VbError(errors::kQueryRefused, kErrorSource, description);
}

// Messages are component text; names and values read from SQLite are UTF-8.
std::string Component(const std::string& utf8) {
  return Utf8ToWin1252(utf8).value_or(utf8);
}

// Statements built from the file's names are UTF-8.
WideText Utf8Statement(const std::string& sql) {
  std::optional<WideText> wide = odbc::Utf8ToWide(sql);
  if (!wide) throw Refused("A table or column name is not valid UTF-8");
  wide->push_back(0);
  return *std::move(wide);
}

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using SqliteDb = std::unique_ptr<sqlite3, SqliteCloser>;

SqliteDb OpenSqlite(const std::string& path) {
  sqlite3* raw = nullptr;
  const int rc =
      sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  SqliteDb db(raw);
  if (rc != SQLITE_OK || sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master",
                                      nullptr, nullptr, nullptr) != SQLITE_OK) {
    throw CannotConnect("Cannot open the repository file " + Component(path) +
                        ": " +
                        Component(raw ? sqlite3_errmsg(raw) : "out of memory"));
  }
  return db;
}

SqliteStatement PrepareSqlite(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
    throw Refused(Component(sqlite3_errmsg(db)));
  }
  return SqliteStatement(raw);
}

std::string ColumnText(sqlite3_stmt* statement, int column) {
  const auto* text = sqlite3_column_text(statement, column);
  return text == nullptr ? std::string()
                         : std::string(reinterpret_cast<const char*>(text),
                                       static_cast<size_t>(sqlite3_column_bytes(
                                           statement, column)));
}

struct SourceTable {
  std::string name;
  std::vector<PostgresColumn> columns;
};

// Every table of the file but SQLite's own, in the order they were created.
std::vector<SourceTable> ReadTables(sqlite3* db) {
  std::vector<SourceTable> tables;
  SqliteStatement list =
      PrepareSqlite(db,
                    "SELECT name FROM sqlite_master WHERE type = 'table' AND "
                    "name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid");
  while (sqlite3_step(list.get()) == SQLITE_ROW) {
    tables.push_back({ColumnText(list.get(), 0), {}});
  }
  for (SourceTable& table : tables) {
    SqliteStatement info = PrepareSqlite(
        db, "PRAGMA table_info(" + QuotedSqlName(table.name) + ")");
    while (sqlite3_step(info.get()) == SQLITE_ROW) {
      table.columns.push_back({ColumnText(info.get(), 1),
                               KindOfDeclaredType(ColumnText(info.get(), 2))});
    }
  }
  return tables;
}

// Where a value was met, for messages.
struct Place {
  const SourceTable& table;
  int64_t row;
  size_t column;

  std::string Describe() const {
    return Component("table " + table.name + ", row " + std::to_string(row) +
                     ", column " + table.columns[column].name);
  }
};

std::string RealText(double value) {
  char text[40];
  std::snprintf(text, sizeof(text), "%.17g", value);
  return text;
}

// The text the server casts to the column's type; nullopt for NULL.
std::optional<std::string> ValueText(sqlite3_stmt* row, int i,
                                     const Place& place) {
  const int type = sqlite3_column_type(row, i);
  if (type == SQLITE_NULL) return std::nullopt;
  const ColumnValueKind kind = place.table.columns[place.column].kind;
  const auto refuse = [&](const char* what) {
    return Refused("Cannot copy " + place.Describe() + ": the value \"" +
                   Component(ColumnText(row, i)) + "\" is not " + what);
  };
  switch (kind) {
    case ColumnValueKind::kText:
      return ColumnText(row, i);  // the text SQLite gives for any class
    case ColumnValueKind::kInteger:
      if (type == SQLITE_INTEGER) return ColumnText(row, i);
      if (type == SQLITE_FLOAT) {
        const double v = sqlite3_column_double(row, i);
        if (std::trunc(v) == v && std::fabs(v) < 9.2e18) {
          return std::to_string(static_cast<int64_t>(v));
        }
      }
      throw refuse("a whole number");
    case ColumnValueKind::kBoolean:
      if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        return sqlite3_column_double(row, i) != 0.0 ? "true" : "false";
      }
      if (vb::LCase(vb::Trim(ColumnText(row, i))) == "true") return "true";
      if (vb::LCase(vb::Trim(ColumnText(row, i))) == "false") return "false";
      throw refuse("a Boolean (a number, True or False)");
    case ColumnValueKind::kReal:
    case ColumnValueKind::kNumeric:
      if (type == SQLITE_INTEGER) return ColumnText(row, i);
      if (type == SQLITE_FLOAT) return RealText(sqlite3_column_double(row, i));
      throw refuse("a number");
  }
  return std::nullopt;
}

bool IsUtf8(std::string_view text) {
  uint32_t code_point = 0;
  for (size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const size_t length = DecodeUtf8(text, i, &code_point);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

// One value as an element of a PostgreSQL array literal: NULL, or the text
// in double quotes with quotes and backslashes escaped, which the server
// takes as it stands (blanks included) for any element type.
void AppendArrayElement(std::string& array,
                        const std::optional<std::string>& text) {
  if (!text) {
    array += "NULL";
    return;
  }
  array += '"';
  size_t plain = 0;
  for (size_t i = 0; i < text->size(); ++i) {
    const char c = (*text)[i];
    if (c != '"' && c != '\\') continue;
    array.append(*text, plain, i - plain);
    array += '\\';
    array += c;
    plain = i + 1;
  }
  array.append(*text, plain, std::string::npos);
  array += '"';
}

// The rows of a table on their way to the server, column by column: each
// column's values in one array literal, the arrays bound as the parameters
// of one INSERT that unnests them. A batch of thousands of rows costs one
// round trip, and the driver hands each array over as one value instead of
// reading a statement text character by character.
class ColumnArrays {
 public:
  static constexpr size_t kRows = 10000;
  static constexpr size_t kBytes = size_t{8} << 20;

  explicit ColumnArrays(size_t columns) : arrays_(columns) { Clear(); }

  void Add(size_t column, const std::optional<std::string>& text) {
    std::string& array = arrays_[column];
    const size_t before = array.size();
    if (rows_ > 0) array += ',';
    AppendArrayElement(array, text);
    bytes_ += array.size() - before;
  }
  void EndRow() { ++rows_; }

  bool full() const { return rows_ >= kRows || bytes_ >= kBytes; }
  size_t rows() const { return rows_; }
  // Each column's array as the driver takes it, leaving the batch empty.
  std::vector<WideText> Take() {
    std::vector<WideText> wide;
    wide.reserve(arrays_.size());
    for (std::string& array : arrays_) {
      array += '}';
      // Every element was checked to be UTF-8 before it was added.
      wide.push_back(*odbc::Utf8ToWide(array));
    }
    Clear();
    return wide;
  }

 private:
  void Clear() {
    for (std::string& array : arrays_) array.assign("{");
    rows_ = 0;
    bytes_ = 0;
  }

  std::vector<std::string> arrays_;
  size_t rows_ = 0;
  size_t bytes_ = 0;
};

// PostgreSQL's INSERT puts a row into an earlier page that still has room
// for it, ahead of rows inserted before, so a table whose rows differ much in
// length would land in another storage order than the file's. CREATE TABLE AS
// appends its rows page after page in the order its query gives them. So a
// table's rows are first gathered, numbered in the file's order, in a
// temporary table of the transaction (columns c1, c2, ... of the table's
// types, then mx_row), and the table is then created from them in that order.
constexpr char kStaging[] = "pg_temp.mx_copy_rows";

std::string StagingColumn(size_t i) { return "c" + std::to_string(i + 1); }

// CREATE TEMP TABLE of the staging table for `table`.
std::string StagingCreate(const SourceTable& table) {
  std::string columns;
  for (size_t i = 0; i < table.columns.size(); ++i) {
    columns +=
        StagingColumn(i) + " " + PostgresType(table.columns[i].kind) + ", ";
  }
  return std::string("CREATE TEMP TABLE ") + kStaging + " (" + columns +
         "mx_row bigint)";
}

// INSERT into the staging table of one array parameter per column, after a
// first parameter that counts the rows before the batch.
std::string StagingInsert(const SourceTable& table) {
  std::string columns;
  std::string arrays;
  for (size_t i = 0; i < table.columns.size(); ++i) {
    const std::string separator = i == 0 ? "" : ", ";
    const ColumnValueKind kind = table.columns[i].kind;
    columns += separator + StagingColumn(i);
    arrays += separator + "CAST(? AS " +
              (kind == ColumnValueKind::kText ? std::string("bpchar")
                                              : PostgresType(kind)) +
              "[])";
  }
  return std::string("INSERT INTO ") + kStaging + " SELECT " + columns +
         ", mx_place + CAST(? AS bigint) FROM unnest(" + arrays +
         ") WITH ORDINALITY AS mx_batch(" + columns + ", mx_place)";
}

// CREATE TABLE AS of `table` from the staging table, in the file's order.
std::string CreateFromStaging(const SourceTable& table) {
  std::string columns;
  for (size_t i = 0; i < table.columns.size(); ++i) {
    columns += (i == 0 ? "" : ", ") + StagingColumn(i) + " AS " +
               PostgresName(table.columns[i].name);
  }
  return "CREATE TABLE " + PostgresName(table.name) + " AS SELECT " + columns +
         " FROM " + kStaging + " ORDER BY mx_row";
}

// A batch of a table's rows, ready for the server.
struct RowBatch {
  std::vector<WideText> arrays;  // ColumnArrays::Take
  int64_t first_row = 0;         // counting from 1
  int64_t last_row = 0;
};

// A table's rows read from the file a batch at a time, each value checked
// and written as the server takes it.
class BatchReader {
 public:
  BatchReader(sqlite3* db, const SourceTable& table)
      : db_(db),
        table_(table),
        rows_(PrepareSqlite(db, "SELECT * FROM " + QuotedSqlName(table.name))),
        batch_(table.columns.size()) {}

  // The next batch; nullopt after the last row.
  std::optional<RowBatch> Next() {
    while (!done_) {
      const int stepped = sqlite3_step(rows_.get());
      if (stepped == SQLITE_DONE) {
        done_ = true;
        break;
      }
      if (stepped != SQLITE_ROW) throw Refused(Component(sqlite3_errmsg(db_)));
      AddRow();
      if (batch_.full()) break;
    }
    if (batch_.rows() == 0) return std::nullopt;
    RowBatch batch;
    batch.first_row = count_ - static_cast<int64_t>(batch_.rows()) + 1;
    batch.last_row = count_;
    batch.arrays = batch_.Take();
    return batch;
  }

  int64_t rows_read() const { return count_; }

 private:
  void AddRow() {
    ++count_;
    for (size_t c = 0; c < table_.columns.size(); ++c) {
      const Place place{table_, count_, c};
      const std::optional<std::string> text =
          ValueText(rows_.get(), static_cast<int>(c), place);
      if (text && !IsUtf8(*text)) {
        throw Refused("Cannot copy " + place.Describe() +
                      ": the text is not valid UTF-8");
      }
      batch_.Add(c, text);
    }
    batch_.EndRow();
  }

  sqlite3* db_;
  const SourceTable& table_;
  SqliteStatement rows_;
  ColumnArrays batch_;
  int64_t count_ = 0;
  bool done_ = false;
};

// One ODBC session on the target, in one transaction.
class Target {
 public:
  explicit Target(const std::string& connection_string);
  ~Target() { session_.Rollback(); }  // no effect after Commit

  // Runs `sql` (UTF-8).
  void Run(const std::string& sql);
  // `sql` (UTF-8) prepared, to be run with parameters.
  Handle Prepare(const std::string& sql);
  // Creates `table` with its rows from `db`, in the file's order; returns
  // how many rows.
  int64_t CopyTable(sqlite3* db, const SourceTable& table);
  // The lookup indexes of the tables copied.
  void CreateIndexes(const std::vector<SourceTable>& tables);
  void Commit() { session_.Commit(); }

 private:
  // Sets the server's memory setting `name` to `size` ("256MB") for this
  // transaction, unless the server's own setting is larger.
  void RaiseSetting(const std::string& name, const std::string& size);
  // Sends the rows of `table` from `db` to the staging table; returns how
  // many.
  int64_t StageRows(sqlite3* db, const SourceTable& table);
  // Sends `batch` through `insert` (StagingInsert of `table`, prepared).
  void Insert(const SourceTable& table, const Handle& insert, RowBatch& batch);

  Session session_;
};

std::string TargetLabel(const std::string& connection_string) {
  const std::optional<std::string> target = OdbcTarget(connection_string);
  if (!target) {
    throw CannotConnect(
        "repo copy writes through an ODBC connection string "
        "(\"Driver=...;...\" or \"DSN=...;...\")");
  }
  return *target;
}

Target::Target(const std::string& connection_string)
    : session_(connection_string, TargetLabel(connection_string),
               static_cast<SQLULEN>(OdbcTimeouts().login_seconds),
               static_cast<SQLULEN>(OdbcTimeouts().query_seconds)) {
  const std::string dbms = session_.DbmsName();
  if (vb::LCase(dbms).find("postgresql") == std::string::npos) {
    throw CannotConnect("repo copy writes PostgreSQL databases; " +
                        session_.label() + " reaches " + dbms);
  }
  session_.SetAutoCommit(false);
  Run("SET standard_conforming_strings = on");
  // The staging table of a large table (40 MB at the reference size, 56 MB
  // to sort) stays in the server process's memory instead of going through
  // files; temp_buffers counts only before the first temporary table.
  RaiseSetting("temp_buffers", "256MB");
  RaiseSetting("work_mem", "256MB");
}

void Target::RaiseSetting(const std::string& name, const std::string& size) {
  Run("SELECT set_config('" + name + "', '" + size +
      "', true) WHERE pg_size_bytes(current_setting('" + name +
      "')) < pg_size_bytes('" + size + "')");
}

void Target::Run(const std::string& sql) {
  const Handle statement = session_.NewStatement();
  // The texts hold values, never ODBC escapes or parameter markers.
  SQLSetStmtAttr(statement.get(), SQL_ATTR_NOSCAN,
                 reinterpret_cast<SQLPOINTER>(SQL_NOSCAN_ON), 0);
  WideText text = Utf8Statement(sql);
  const SQLRETURN rc = SQLExecDirectW(statement.get(), text.data(), SQL_NTS);
  if (!Succeeded(rc) && rc != SQL_NO_DATA) session_.RaiseFailure(statement);
}

void Target::Insert(const SourceTable& table, const Handle& insert,
                    RowBatch& batch) {
  try {
    SQLBIGINT rows_before = batch.first_row - 1;
    if (!Succeeded(SQLBindParameter(insert.get(), 1, SQL_PARAM_INPUT,
                                    SQL_C_SBIGINT, SQL_BIGINT, 0, 0,
                                    &rows_before, 0, nullptr))) {
      session_.RaiseFailure(insert);
    }
    std::vector<WideText>& arrays = batch.arrays;
    std::vector<SQLLEN> lengths(arrays.size());
    for (size_t i = 0; i < arrays.size(); ++i) {
      lengths[i] = static_cast<SQLLEN>(arrays[i].size() * sizeof(SQLWCHAR));
      if (!Succeeded(SQLBindParameter(
              insert.get(), static_cast<SQLUSMALLINT>(i + 2), SQL_PARAM_INPUT,
              SQL_C_WCHAR, SQL_WLONGVARCHAR, arrays[i].size(), 0,
              arrays[i].data(), lengths[i], &lengths[i]))) {
        session_.RaiseFailure(insert);
      }
    }
    const SQLRETURN rc = SQLExecute(insert.get());
    if (!Succeeded(rc) && rc != SQL_NO_DATA) session_.RaiseFailure(insert);
  } catch (const VbError& e) {
    throw VbError(e.number(), e.source(),
                  "Cannot copy table " + Component(table.name) + ", rows " +
                      std::to_string(batch.first_row) + " to " +
                      std::to_string(batch.last_row) + ": " + e.description());
  }
}

Handle Target::Prepare(const std::string& sql) {
  Handle statement = session_.NewStatement();
  WideText text = Utf8Statement(sql);
  if (!Succeeded(SQLPrepareW(statement.get(), text.data(), SQL_NTS))) {
    session_.RaiseFailure(statement);
  }
  return statement;
}

int64_t Target::CopyTable(sqlite3* db, const SourceTable& table) {
  const auto create = [&](const std::string& statement) {
    try {
      Run(statement);
    } catch (const VbError& e) {
      throw VbError(e.number(), e.source(),
                    "Cannot create table " + Component(table.name) + ": " +
                        e.description());
    }
  };
  if (table.columns.empty()) {
    create(PostgresCreateTable(table.name, table.columns));
    return 0;
  }
  Run(StagingCreate(table));
  const int64_t rows = StageRows(db, table);
  create(CreateFromStaging(table));
  Run(std::string("DROP TABLE ") + kStaging);
  return rows;
}

int64_t Target::StageRows(sqlite3* db, const SourceTable& table) {
  BatchReader reader(db, table);
  const Handle insert = Prepare(StagingInsert(table));
  // The file's next batch is read on a thread of its own while the server
  // inserts the one before, so reading the file and writing the arrays (a
  // third of the server's time for the inserts) cost no wall time.
  const auto read_next = [&reader] { return reader.Next(); };
  std::future<std::optional<RowBatch>> next =
      std::async(std::launch::async, read_next);
  while (std::optional<RowBatch> batch = next.get()) {
    next = std::async(std::launch::async, read_next);
    Insert(table, insert, *batch);
  }
  return reader.rows_read();
}

void Target::CreateIndexes(const std::vector<SourceTable>& tables) {
  // The index builds sort the largest tables (400,000 rows at the reference
  // size) in memory and on more than one process with more memory than the
  // server's default gives.
  RaiseSetting("maintenance_work_mem", "256MB");
  std::map<std::string, std::vector<std::string>> columns;
  for (const SourceTable& table : tables) {
    for (const PostgresColumn& column : table.columns) {
      columns[table.name].push_back(column.name);
    }
  }
  for (const std::string& statement : PostgresIndexStatements(columns)) {
    try {
      Run(statement);
    } catch (const VbError& e) {
      throw VbError(e.number(), e.source(),
                    "Cannot create an index: " + e.description());
    }
  }
}

}  // namespace

std::string SqliteRepositoryPath(const std::string& from) {
  std::error_code ignored;
  if (std::filesystem::exists(from, ignored) ||
      from.find('=') == std::string::npos) {
    return from;
  }
  const std::optional<std::string> component = Utf8ToWin1252(from);
  const auto pairs = ParseConnectionString(component.value_or(from));
  const auto provider = pairs.find("provider");
  const auto data_source = pairs.find("data source");
  if (OdbcTarget(from) ||
      (provider != pairs.end() &&
       ClassifyProvider(provider->second) != ProviderKind::kSqlite) ||
      data_source == pairs.end()) {
    throw CannotConnect(
        "repo copy reads SQLite repositories: a file, or \"Data "
        "Source=FILE\"");
  }
  return Win1252ToUtf8(data_source->second);
}

CopySummary CopyRepository(const std::string& sqlite_path,
                           const std::string& to) {
  const SqliteDb db = OpenSqlite(sqlite_path);
  const std::vector<SourceTable> tables = ReadTables(db.get());
  Target target(to);
  for (const std::string& statement : PostgresSupportStatements()) {
    target.Run(statement);
  }
  CopySummary summary;
  for (const SourceTable& table : tables) {
    summary.rows += target.CopyTable(db.get(), table);
    ++summary.tables;
  }
  target.CreateIndexes(tables);
  target.Commit();
  return summary;
}

}  // namespace mx::repository
