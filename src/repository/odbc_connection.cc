// The ODBC backend: runs the component's queries on a database server and
// reads every row into Variants of the same kinds the embedded backend gives.
// Each query gets its own statement handle, executed directly and read to its
// last row before Execute returns.
#include "repository/odbc_connection.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/encoding.h"
#include "platform/vb_text.h"
#include "repository/dialect.h"
#include "repository/odbc_api.h"
#include "repository/odbc_columns.h"
#include "repository/odbc_table_copy.h"
#include "repository/postgres_schema.h"
#include "repository/schema.h"
#include "repository/snapshot_database.h"

namespace mx::repository {

namespace {

using odbc::BooleanValue;
using odbc::Column;
using odbc::ColumnKind;
using odbc::Handle;
using odbc::kErrorSource;
using odbc::NumericValue;
using odbc::Session;
using odbc::Succeeded;
using odbc::WideText;

template <typename T>
std::optional<T> ReadFixed(Session& session, const Handle& statement,
                           SQLUSMALLINT number, SQLSMALLINT c_type) {
  T value{};
  SQLLEN indicator = 0;
  if (!Succeeded(SQLGetData(statement.get(), number, c_type, &value,
                            sizeof(value), &indicator))) {
    session.RaiseFailure(statement);
  }
  if (indicator == SQL_NULL_DATA) return std::nullopt;
  return value;
}

Variant ReadValue(Session& session, const Handle& statement,
                  SQLUSMALLINT number, const Column& column,
                  size_t row_number) {
  switch (column.kind) {
    case ColumnKind::kInteger: {
      const auto v =
          ReadFixed<SQLBIGINT>(session, statement, number, SQL_C_SBIGINT);
      return v ? Variant(static_cast<int64_t>(*v)) : Variant::MakeNull();
    }
    case ColumnKind::kDouble: {
      const auto v =
          ReadFixed<SQLDOUBLE>(session, statement, number, SQL_C_DOUBLE);
      return v ? Variant(static_cast<double>(*v)) : Variant::MakeNull();
    }
    default:
      break;
  }
  const std::optional<WideText> wide = ReadWide(session, statement, number);
  if (!wide) return Variant::MakeNull();
  std::optional<std::string> text =
      odbc::WideToComponent(wide->data(), wide->size());
  if (!text) {
    throw VbError(errors::kConversionFailed, kErrorSource,
                  "The text in column " + column.name + " of row " +
                      std::to_string(row_number) + " is not valid UTF-16");
  }
  if (column.kind == ColumnKind::kBoolean) return BooleanValue(*text);
  if (column.kind == ColumnKind::kNumeric) return NumericValue(*text);
  return Variant(*std::move(text));
}

}  // namespace

QueryDialect DialectForDbms(std::string_view dbms_name) {
  const std::string name = vb::LCase(dbms_name);
  if (name.find("postgresql") != std::string::npos ||
      name.find("sqlite") != std::string::npos) {
    return QueryDialect::kPlusToConcat;
  }
  return QueryDialect::kAsBuilt;
}

OdbcConnection::OdbcConnection(std::unique_ptr<Session> session)
    : session_(std::move(session)) {}

OdbcConnection::~OdbcConnection() = default;

std::unique_ptr<OdbcConnection> OdbcConnection::Open(
    const std::string& connection_string, const std::string& target,
    OdbcTimeouts timeouts) {
  auto session = std::make_unique<Session>(
      connection_string, target,
      static_cast<SQLULEN>(std::max(timeouts.login_seconds, 0)),
      static_cast<SQLULEN>(std::max(timeouts.query_seconds, 0)));
  std::unique_ptr<OdbcConnection> connection(
      new OdbcConnection(std::move(session)));
  connection->dbms_name_ = connection->session_->DbmsName();
  connection->dialect_ = DialectForDbms(connection->dbms_name_);
  connection->postgres_ =
      vb::LCase(connection->dbms_name_).find("postgresql") != std::string::npos;
  if (connection->postgres_) {
    connection->session_->SetConnectStatements(PostgresSessionStatements());
  }
  return connection;
}

void OdbcConnection::BeginReadScope() {
  in_scope_ = true;
  lost_in_scope_.clear();
  if (!postgres_) return;
  session_->SetIsolation(SQL_TXN_REPEATABLE_READ);
  session_->SetAutoCommit(false);
}

void OdbcConnection::EndReadScope() noexcept {
  if (postgres_ && lost_in_scope_.empty() && !session_->lost()) {
    session_->Rollback();  // the transaction only read
    try {
      session_->SetAutoCommit(true);
    } catch (const VbError&) {
      // A connection lost now is opened again, in auto-commit, when next used.
    }
  }
  in_scope_ = false;
  lost_in_scope_.clear();
}

ResultSet OdbcConnection::Execute(const std::string& sql) {
  if (!lost_in_scope_.empty()) {
    throw VbError(errors::kCannotConnect, kErrorSource,
                  "The connection to the server was lost during the run: " +
                      lost_in_scope_);
  }
  try {
    return Run(sql);
  } catch (const VbError& e) {
    if (in_scope_ && postgres_) {
      if (session_->lost()) {
        lost_in_scope_ = e.description();
      } else {
        // PostgreSQL refuses every later statement of a transaction that
        // had an error; the scope goes on in a new one, as a run goes on
        // after a refused query.
        session_->Rollback();
      }
    }
    throw;
  }
}

ResultSet OdbcConnection::Run(const std::string& sql) {
  ++statements_sent_;
  const Handle statement = session_->NewStatement();
  std::string text_sql =
      dialect_ == QueryDialect::kPlusToConcat ? PlusToConcat(sql) : sql;
  if (postgres_) text_sql = KeepPostgresStorageOrder(text_sql);
  WideText text = odbc::ComponentToWide(text_sql);
  const SQLRETURN rc = SQLExecDirectW(statement.get(), text.data(), SQL_NTS);
  ResultSet result;
  if (rc == SQL_NO_DATA) return result;  // a statement without rows
  if (!Succeeded(rc)) session_->RaiseFailure(statement);

  const std::vector<Column> columns = DescribeColumns(*session_, statement);
  if (columns.empty()) return result;
  for (const Column& column : columns) result.columns.push_back(column.name);
  SQLRETURN fetched;
  while (Succeeded(fetched = SQLFetch(statement.get()))) {
    std::vector<Variant> row;
    row.reserve(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
      row.push_back(ReadValue(*session_, statement,
                              static_cast<SQLUSMALLINT>(i + 1), columns[i],
                              result.rows.size() + 1));
    }
    result.rows.push_back(std::move(row));
  }
  if (fetched != SQL_NO_DATA) session_->RaiseFailure(statement);
  return result;
}

namespace {

std::string InList(const std::vector<std::string>& tables) {
  std::string list;
  for (const std::string& table : tables) {
    if (!list.empty()) list += ", ";
    list += "to_regclass('" + table + "')";
  }
  return list;
}

// The texts of a row of a catalog query.
std::string TextOf(const Variant& value) {
  const std::string* text = value.text();
  return text ? *text : std::string();
}

bool ComparesBytewise(const std::string& collation,
                      const std::string& database_collation) {
  const std::string name =
      vb::LCase(collation == "default" ? database_collation : collation);
  return name == "c" || name == "posix" || name == "ucs_basic";
}

// The column's type in the copy, by its PostgreSQL type: the embedded
// schema's types, blank-padded text comparing without trailing blanks as
// RTRIM does and other text with every byte; "" for a type whose values or
// comparisons the copy would not give back as the server does.
std::string SnapshotType(const std::string& type, const std::string& collation,
                         const std::string& database_collation) {
  if (type == "int2" || type == "int4" || type == "int8") return "INTEGER";
  if (type == "bool") return "BOOLEAN";
  if (type == "float4" || type == "float8") return "REAL";
  if (type == "numeric") return "NUMERIC";
  if (type != "bpchar" && type != "varchar" && type != "text") return "";
  if (!ComparesBytewise(collation, database_collation)) return "";
  return type == "bpchar" ? "TEXT COLLATE RTRIM" : "TEXT";
}

}  // namespace

std::optional<std::vector<odbc::ServerTable>> OdbcConnection::TablesToCopy(
    int64_t* bytes) {
  const ResultSet columns = Execute(
      "SELECT c.relname, a.attname, t.typname, "
      "coalesce(co.collname, ''), (SELECT datcollate FROM pg_database "
      "WHERE datname = current_database()), pg_relation_size(c.oid) "
      "FROM pg_attribute a JOIN pg_class c ON c.oid = a.attrelid "
      "JOIN pg_type t ON t.oid = a.atttypid "
      "LEFT JOIN pg_collation co ON co.oid = a.attcollation "
      "WHERE a.attrelid IN (" +
      InList(RepositoryTables()) +
      ") AND a.attnum > 0 AND NOT a.attisdropped "
      "ORDER BY c.relname, a.attnum");
  std::vector<odbc::ServerTable> tables;
  for (const std::string& name : RepositoryTables()) {
    odbc::ServerTable table{name, {}, 0};
    for (const std::vector<Variant>& row : columns.rows) {
      if (TextOf(row[0]) != name) continue;
      if (table.columns.empty() && !row[5].IsNull()) {
        table.bytes = static_cast<int64_t>(row[5].ToDouble());
        *bytes += table.bytes;
      }
      const std::string type =
          SnapshotType(TextOf(row[2]), TextOf(row[3]), TextOf(row[4]));
      if (type.empty()) return std::nullopt;
      table.columns.push_back({Win1252ToUtf8(TextOf(row[1])), type});
    }
    if (!table.columns.empty()) tables.push_back(std::move(table));
  }
  return tables;
}

std::optional<int64_t> OdbcConnection::QueriesBeforeSnapshot() {
  tables_to_copy_.clear();
  if (!postgres_ || !in_scope_) return std::nullopt;
  int64_t bytes = 0;
  std::optional<std::vector<odbc::ServerTable>> tables = TablesToCopy(&bytes);
  if (!tables || tables->empty()) return std::nullopt;
  tables_to_copy_ = *std::move(tables);
  return bytes / kBytesPerQuery;
}

Handle OdbcConnection::Send(const std::string& sql) {
  ++statements_sent_;
  Handle statement = session_->NewStatementOnThisConnection();
  WideText text = odbc::ComponentToWide(sql);
  const SQLRETURN rc = SQLExecDirectW(statement.get(), text.data(), SQL_NTS);
  if (!Succeeded(rc) && rc != SQL_NO_DATA) session_->RaiseFailure(statement);
  return statement;
}

std::unique_ptr<Connection> OdbcConnection::TakeSnapshot() {
  if (!postgres_ || !in_scope_ || tables_to_copy_.empty()) return nullptr;
  try {
    SnapshotDatabase snapshot;
    // A table read whole, with no condition and no order, is scanned from
    // its first page to its last: never through an index (the planner
    // considers none without a condition or an order to serve, even on a
    // server configured against sequential scans), never in parallel nor
    // from where another session's scan stands (session statements). So
    // it comes in storage order, as the component's queries read it.
    odbc::CopyServerTables(
        *session_, [this](const std::string& sql) { return Send(sql); },
        odbc::InCopyOrder(tables_to_copy_), snapshot);
    snapshot.AddLookupIndexes();
    return snapshot.Connect();
  } catch (const VbError& e) {
    // The transaction refuses every later statement after an error; the
    // run goes on in a new one, as after a refused query.
    if (session_->lost()) {
      lost_in_scope_ = e.description();
    } else {
      session_->Rollback();
    }
    throw;
  }
}

}  // namespace mx::repository
