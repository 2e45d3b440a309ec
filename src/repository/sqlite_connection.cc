// The SQLite backend: opens a repository file read-only and runs the
// component's queries on it. Text crosses this boundary in both directions:
// query text goes from Windows-1252 to UTF-8, result texts come back from
// UTF-8 to Windows-1252. Each query is stepped to its last row before Execute
// returns; its prepared statement is kept for the next query of the same
// form, with the values bound anew.
#include "repository/sqlite_connection.h"

#include <sqlite3.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string_view>
#include <variant>

#include "movx20xmlgen/error.h"
#include "platform/encoding.h"
#include "repository/dialect.h"
#include "repository/row_map_lookup.h"
#include "repository/row_map_module.h"
#include "repository/row_order.h"
#include "repository/schema.h"
#include "repository/snapshot_database.h"
#include "repository/sql_parameters.h"
#include "repository/sqlite_handles.h"

namespace mx::repository {

namespace {

constexpr char kErrorSource[] = "Microsoft OLE DB Provider for SQLite";
// A writer holding the file briefly (a repository being loaded) is waited for
// rather than failing the query at once.
constexpr int kBusyTimeoutMs = 5000;

using Statement = SqliteStatement;

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
  const int rc =
      sqlite3_prepare_v3(db, sql_utf8.data(), static_cast<int>(sql_utf8.size()),
                         SQLITE_PREPARE_PERSISTENT, &raw, &tail);
  Statement statement(raw);
  if (rc != SQLITE_OK) throw QueryRefused(db);
  if (!statement) throw QueryRefused("The query text is empty");
  RefuseFurtherStatements(db, tail, sql_utf8.data() + sql_utf8.size());
  return statement;
}

// The statement of the parameterised form with its values bound, or nothing
// when that form does not prepare as the text itself would (the text's own
// statement then gives the same rows, or SQLite's message for the text).
Statement PrepareParameterised(sqlite3* db, const std::string& text,
                               size_t value_count) {
  Statement statement;
  try {
    statement = Prepare(db, text);
  } catch (const VbError&) {
    return nullptr;
  }
  if (sqlite3_bind_parameter_count(statement.get()) !=
      static_cast<int>(value_count)) {
    return nullptr;
  }
  return statement;
}

// The values of a query's scalar subqueries, in order; a null pointer is
// SQL NULL (the subquery gave no row).
class SubqueryValues {
 public:
  SubqueryValues() = default;
  ~SubqueryValues() {
    for (sqlite3_value* value : values_) sqlite3_value_free(value);
  }
  SubqueryValues(const SubqueryValues&) = delete;
  SubqueryValues& operator=(const SubqueryValues&) = delete;

  void Add(sqlite3_value* value) { values_.push_back(value); }
  sqlite3_value* operator[](size_t i) const { return values_[i]; }

 private:
  std::vector<sqlite3_value*> values_;
};

bool BindText(sqlite3_stmt* statement, int position, const std::string& text) {
  return sqlite3_bind_text(statement, position, text.data(),
                           static_cast<int>(text.size()),
                           SQLITE_TRANSIENT) == SQLITE_OK;
}

bool BindScalar(sqlite3_stmt* statement, int position, sqlite3_value* value) {
  return (value != nullptr
              ? sqlite3_bind_value(statement, position, value)
              : sqlite3_bind_null(statement, position)) == SQLITE_OK;
}

bool BindValues(sqlite3_stmt* statement, const ParameterisedSql& query,
                const SubqueryValues& subqueries) {
  int position = 1;
  size_t subquery = 0;
  for (const auto& value : query.values) {
    bool bound;
    if (const auto* text = std::get_if<std::string>(&value)) {
      bound = BindText(statement, position, *text);
    } else if (const auto* number = std::get_if<int64_t>(&value)) {
      bound = sqlite3_bind_int64(statement, position, *number) == SQLITE_OK;
    } else {
      bound = BindScalar(statement, position, subqueries[subquery++]);
    }
    if (!bound) return false;
    ++position;
  }
  return true;
}

// The same binding, from a query's form and its literals.
bool BindFormValues(sqlite3_stmt* statement, const StatementForm& form,
                    const QueryLiterals& literals,
                    const SubqueryValues& subqueries) {
  using Kind = StatementForm::Value::Kind;
  int position = 1;
  size_t subquery = 0;
  for (const StatementForm::Value& value : form.values) {
    bool bound;
    switch (value.kind) {
      case Kind::kLiteral:
        bound = BindText(statement, position, literals[value.literal]);
        break;
      case Kind::kNumber:
        bound =
            sqlite3_bind_int64(statement, position, value.number) == SQLITE_OK;
        break;
      default:
        bound = BindScalar(statement, position, subqueries[subquery++]);
    }
    if (!bound) return false;
    ++position;
  }
  return true;
}

// Leaves a kept statement ready for its next use, however Execute ends. Its
// values stay bound: every use binds each parameter anew.
class StatementReset {
 public:
  explicit StatementReset(sqlite3_stmt* statement) : statement_(statement) {}
  ~StatementReset() { sqlite3_reset(statement_); }
  StatementReset(const StatementReset&) = delete;
  StatementReset& operator=(const StatementReset&) = delete;

 private:
  sqlite3_stmt* statement_;
};

std::vector<std::string> ColumnNames(sqlite3_stmt* statement) {
  const int count = sqlite3_column_count(statement);
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    names.push_back(ToComponentText(sqlite3_column_name(statement, i)));
  }
  return names;
}

Variant ReadText(sqlite3_stmt* statement, int column, int type,
                 const std::string& column_name, size_t row_number) {
  const void* bytes = type == SQLITE_BLOB
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
  const int type = sqlite3_column_type(statement, column);
  switch (type) {
    case SQLITE_INTEGER:
      return Variant(
          static_cast<int64_t>(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
      return Variant(sqlite3_column_double(statement, column));
    case SQLITE_NULL:
      return Variant::MakeNull();
    default:  // SQLITE_TEXT, SQLITE_BLOB
      return ReadText(statement, column, type, column_name, row_number);
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

// Bytes 18 and 19 of an SQLite file are 2 in write-ahead-log mode.
bool InWriteAheadLogMode(const std::string& path_utf8) {
  std::ifstream in(path_utf8, std::ios::binary);
  char header[20] = {};
  if (!in.read(header, sizeof header)) return false;
  return header[18] == 2 && header[19] == 2;
}

// A file name as an SQLite URI that opens it as an unchanging file.
std::string ImmutableUri(const std::string& path_utf8) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string uri = "file:";
  for (const char c : path_utf8) {
    const auto b = static_cast<unsigned char>(c);
    if (std::isalnum(b) || c == '/' || c == '.' || c == '-' || c == '_' ||
        c == '~') {
      uri += c;
    } else {
      uri += '%';
      uri += kHex[b >> 4];
      uri += kHex[b & 15];
    }
  }
  return uri + "?immutable=1";
}

}  // namespace

std::unique_ptr<SqliteConnection> SqliteConnection::Open(
    const std::string& path_utf8) {
  ConfigureSqliteOnce();
  try {
    return OpenAs(path_utf8, path_utf8, SQLITE_OPEN_READONLY);
  } catch (const VbError&) {
    // A repository in write-ahead-log mode needs its shared-memory file
    // beside it even to be read; in a folder the user may not write, it is
    // read as an unchanging file instead.
    if (!InWriteAheadLogMode(path_utf8)) throw;
    return OpenAs(path_utf8, ImmutableUri(path_utf8),
                  SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
  }
}

std::unique_ptr<SqliteConnection> SqliteConnection::OpenAs(
    const std::string& path_utf8, const std::string& name, int flags) {
  sqlite3* db = nullptr;
  // A connection belongs to one generator object and is used by one thread
  // at a time, so SQLite need not lock it on every call.
  const int rc =
      sqlite3_open_v2(name.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
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
  connection->path_utf8_ = path_utf8;
  connection->open_name_ = name;
  connection->open_flags_ = flags;
  return connection;
}

std::unique_ptr<SqliteConnection> SqliteConnection::Adopt(sqlite3* db) {
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  return std::unique_ptr<SqliteConnection>(new SqliteConnection(db));
}

std::unique_ptr<SqliteConnection> SqliteConnection::AdoptTemporary(
    sqlite3* db, const std::string& path_utf8) {
  std::unique_ptr<SqliteConnection> connection = Adopt(db);
  connection->path_utf8_ = path_utf8;
  connection->open_name_ = path_utf8;
  connection->open_flags_ = SQLITE_OPEN_READONLY;
  connection->remove_on_close_ = true;
  return connection;
}

SqliteConnection::~SqliteConnection() {
  statements_.Clear();
  sqlite3_close_v2(db_);
  if (remove_on_close_) std::remove(path_utf8_.c_str());
}

sqlite3_stmt* SqliteConnection::StatementCache::Find(const std::string& text) {
  const auto found = by_text_.find(text);
  if (found == by_text_.end()) return nullptr;
  entries_.splice(entries_.begin(), entries_, found->second);
  return found->second->statement;
}

void SqliteConnection::StatementCache::Add(std::string text,
                                           sqlite3_stmt* statement) {
  if (entries_.size() >= kCapacity) Drop(std::prev(entries_.end()));
  entries_.push_front(Entry{std::move(text), statement, std::nullopt});
  by_text_.emplace(entries_.front().text, entries_.begin());
  by_statement_.emplace(statement, entries_.begin());
}

void SqliteConnection::StatementCache::Drop(Entries::iterator entry) {
  by_text_.erase(entry->text);
  by_statement_.erase(entry->statement);
  sqlite3_finalize(entry->statement);
  entries_.erase(entry);
}

void SqliteConnection::StatementCache::Remove(sqlite3_stmt* statement) {
  const auto found = by_statement_.find(statement);
  if (found != by_statement_.end()) Drop(found->second);
}

void SqliteConnection::StatementCache::Clear() {
  by_text_.clear();
  by_statement_.clear();
  for (Entry& entry : entries_) sqlite3_finalize(entry.statement);
  entries_.clear();
}

const std::vector<std::string>& SqliteConnection::StatementCache::Columns(
    sqlite3_stmt* statement) {
  Entry& entry = *by_statement_.at(statement);
  if (!entry.columns) entry.columns = ColumnNames(statement);
  return *entry.columns;
}

// The value of a scalar subquery run on its own, as the engine runs it
// inside its query: the first row (in storage order) of its only column.
// False when it cannot run on its own (it refers to the outer query) or does
// not give one column; the query is then prepared as it stands.
bool SqliteConnection::ScalarValue(const std::string& subquery,
                                   sqlite3_value** value) {
  *value = nullptr;
  const std::string ordered = KeepStorageOrder(subquery);
  sqlite3_stmt* statement = nullptr;
  for (const std::string* text : {&ordered, &subquery}) {
    try {
      statement = StatementFor(*text);
      break;
    } catch (const VbError&) {
      if (text == &subquery || ordered == subquery) return false;
    }
  }
  const StatementReset reset(statement);
  if (sqlite3_column_count(statement) != 1) return false;
  const int rc = sqlite3_step(statement);
  if (rc == SQLITE_DONE) return true;
  if (rc != SQLITE_ROW) return false;
  *value = sqlite3_value_dup(sqlite3_column_value(statement, 0));
  return *value != nullptr;
}

// The kept statement for the text's form, its values bound; prepared and
// kept when it is new. Scalar subqueries are run first, so that no statement
// in use is pushed out of the cache. A text that cannot be parameterised is
// kept under its own text.
sqlite3_stmt* SqliteConnection::StatementFor(const std::string& sql_utf8) {
  std::optional<ParameterisedSql> query = Parameterise(sql_utf8);
  if (query && row_maps_) AddRowMapLookup(*row_maps_, &*query);
  if (query) {
    SubqueryValues subqueries;
    bool resolved = true;
    for (const auto& value : query->values) {
      const auto* subquery = std::get_if<ScalarSubquery>(&value);
      if (subquery == nullptr) continue;
      sqlite3_value* scalar = nullptr;
      resolved = ScalarValue(subquery->text, &scalar);
      subqueries.Add(scalar);
      if (!resolved) break;
    }
    sqlite3_stmt* statement =
        resolved ? statements_.Find(query->text) : nullptr;
    if (resolved && statement == nullptr) {
      Statement prepared =
          PrepareParameterised(db_, query->text, query->values.size());
      if (prepared) {
        statement = prepared.get();
        statements_.Add(query->text, prepared.release());
      }
    }
    if (statement != nullptr) {
      if (BindValues(statement, *query, subqueries)) return statement;
      statements_.Remove(statement);
    }
  }
  sqlite3_stmt* statement = statements_.Find(sql_utf8);
  if (statement != nullptr) return statement;
  Statement prepared = Prepare(db_, sql_utf8);
  statement = prepared.get();
  statements_.Add(sql_utf8, prepared.release());
  return statement;
}

// StatementFor and ScalarValue again, for a query of a known form: each step
// gives what the query's own adaptation would give, or nothing where that
// adaptation would take another turn (a statement SQLite refuses, a
// subquery that does not give one value); the query is then adapted as it
// stands, from the start.
sqlite3_stmt* SqliteConnection::StatementOfForm(const std::string& sql) {
  const StatementForm* form = forms_.Find(sql, &literals_);
  if (form == nullptr) return nullptr;
  sqlite3_stmt* statement = BoundStatement(*form);
  if (statement == nullptr) forms_.Refuse(sql);
  return statement;
}

sqlite3_stmt* SqliteConnection::BoundStatement(const StatementForm& form) {
  SubqueryValues subqueries;
  for (const StatementForm& subquery : form.subqueries) {
    sqlite3_value* scalar = nullptr;
    if (!ScalarValueOfForm(subquery, &scalar)) return nullptr;
    subqueries.Add(scalar);
  }
  std::string text = form.Text(literals_);
  sqlite3_stmt* statement = statements_.Find(text);
  if (statement == nullptr) {
    Statement prepared = PrepareParameterised(db_, text, form.values.size());
    if (!prepared) return nullptr;
    statement = prepared.get();
    statements_.Add(std::move(text), prepared.release());
  }
  if (BindFormValues(statement, form, literals_, subqueries)) return statement;
  statements_.Remove(statement);
  return nullptr;
}

bool SqliteConnection::ScalarValueOfForm(const StatementForm& subquery,
                                         sqlite3_value** value) {
  *value = nullptr;
  sqlite3_stmt* statement = BoundStatement(subquery);
  if (statement == nullptr) return false;
  const StatementReset reset(statement);
  if (sqlite3_column_count(statement) != 1) return false;
  const int rc = sqlite3_step(statement);
  if (rc == SQLITE_DONE) return true;
  if (rc != SQLITE_ROW) return false;
  *value = sqlite3_value_dup(sqlite3_column_value(statement, 0));
  return *value != nullptr;
}

std::string SqliteQueryText(const std::string& component_sql) {
  return KeepStorageOrder(Win1252ToUtf8(PlusToConcat(component_sql)));
}

// Memory statistics sit behind a process-wide mutex taken on every
// allocation SQLite makes; nothing here reads them. The setting only takes
// effect before SQLite first initialises itself.
void ConfigureSqliteOnce() {
  static const bool done = [] {
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    return true;
  }();
  (void)done;
}

ResultSet SqliteConnection::Execute(const std::string& sql) {
  sqlite3_stmt* statement = StatementOfForm(sql);
  if (statement == nullptr) {
    const std::string adapted = Win1252ToUtf8(PlusToConcat(sql));
    const std::string ordered = KeepStorageOrder(adapted);
    if (ordered != adapted) {
      // A table that is a view has no rowid: its rows keep the view's order.
      try {
        statement = StatementFor(ordered);
      } catch (const VbError&) {
      }
    }
    if (statement == nullptr) statement = StatementFor(adapted);
  }
  const StatementReset reset(statement);
  ResultSet result;
  result.columns =
      in_read_scope_ ? statements_.Columns(statement) : ColumnNames(statement);
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    result.rows.push_back(
        ReadRow(statement, result.columns, result.rows.size() + 1));
  }
  if (rc != SQLITE_DONE) throw QueryRefused(db_);
  return result;
}

void SqliteConnection::BeginReadScope() {
  // Statements prepared before may describe an older schema.
  statements_.Clear();
  if (sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) {
    throw QueryRefused(db_);
  }
  in_read_scope_ = true;
}

void SqliteConnection::EndReadScope() noexcept {
  in_read_scope_ = false;
  if (sqlite3_get_autocommit(db_) != 0) return;  // no transaction open
  if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
}

namespace {

// Whether the file has an index of every lookup's name on its table.
bool HasLookupIndexes(sqlite3* db) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db,
                         "SELECT 1 FROM sqlite_master WHERE type = 'index' "
                         "AND name = ?1 AND tbl_name = ?2",
                         -1, &raw, nullptr) != SQLITE_OK) {
    return false;
  }
  const Statement lookup(raw);
  for (const LookupIndex& index : LookupIndexes()) {
    BindText(raw, 1, index.name);
    BindText(raw, 2, index.table);
    const bool found = sqlite3_step(raw) == SQLITE_ROW;
    sqlite3_reset(raw);
    if (!found) return false;
  }
  return true;
}

}  // namespace

std::optional<int64_t> SqliteConnection::QueriesBeforeSnapshot() {
  if (HasLookupIndexes(db_)) return std::nullopt;
  return 0;
}

// A read transaction takes its shared lock at its first read; reading the
// schema makes sure it holds it before another connection starts reading.
bool SqliteConnection::HoldsSharedLock() {
  return in_read_scope_ &&
         sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr,
                      nullptr, nullptr) == SQLITE_OK &&
         sqlite3_get_autocommit(db_) == 0;
}

std::unique_ptr<Connection> SqliteConnection::OpenReader() {
  if (open_name_.empty() || !HoldsSharedLock()) return nullptr;
  const bool unchanging = (open_flags_ & SQLITE_OPEN_URI) != 0;
  if (!unchanging && InWriteAheadLogMode(path_utf8_)) return nullptr;
  try {
    std::unique_ptr<SqliteConnection> reader =
        OpenAs(path_utf8_, open_name_, open_flags_);
    if (row_maps_ && !reader->UseRowMaps(row_maps_)) return nullptr;
    return reader;
  } catch (const VbError&) {
    return nullptr;
  }
}

bool SqliteConnection::UseRowMaps(std::shared_ptr<const RowMaps> maps) {
  if (!RegisterRowMapModule(db_, maps)) return false;
  statements_.Clear();
  forms_ = QueryForms();
  row_maps_ = std::move(maps);
  forms_.UseRowMaps(row_maps_.get());
  return true;
}

std::unique_ptr<Connection> SqliteConnection::TakeSnapshot() {
  SnapshotDatabase snapshot;
  snapshot.CopyPagesOf(db_);
  snapshot.AddLookupIndexes();
  return snapshot.Connect();
}

}  // namespace mx::repository
