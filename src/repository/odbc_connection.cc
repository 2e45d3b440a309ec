// The ODBC backend: runs the component's queries on a database server and
// reads every row into Variants of the same kinds the embedded backend gives.
// Each query gets its own statement handle, executed directly and read to its
// last row before Execute returns.
#include "repository/odbc_connection.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "platform/vb_text.h"
#include "repository/dialect.h"
#include "repository/odbc_api.h"
#include "repository/postgres_schema.h"

namespace mx::repository {

namespace {

using odbc::Handle;
using odbc::Session;
using odbc::Succeeded;
using odbc::WideText;

constexpr char kErrorSource[] = "Microsoft OLE DB Provider for ODBC Drivers";

// How a column is read, by the SQL type the driver describes.
enum class ColumnKind { kInteger, kBoolean, kDouble, kNumeric, kText };

struct Column {
  std::string name;
  ColumnKind kind = ColumnKind::kText;
};

ColumnKind KindOf(SQLSMALLINT sql_type, std::string_view type_name) {
  switch (sql_type) {
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
      return ColumnKind::kInteger;
    case SQL_BIT:
      return ColumnKind::kBoolean;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
      return ColumnKind::kDouble;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
      return ColumnKind::kNumeric;
    default:
      break;
  }
  // psqlODBC hands PostgreSQL Booleans over as characters by default.
  const std::string name = vb::LCase(type_name);
  if (name == "bool" || name == "boolean") return ColumnKind::kBoolean;
  return ColumnKind::kText;
}

std::string WideResult(const SQLWCHAR* text, size_t length) {
  std::optional<std::string> converted = odbc::WideToComponent(text, length);
  return converted ? *std::move(converted) : std::string("?");
}

Column DescribeColumn(Session& session, const Handle& statement,
                      SQLUSMALLINT number) {
  SQLWCHAR name[256] = {};
  SQLSMALLINT name_length = 0;
  SQLSMALLINT sql_type = 0;
  SQLULEN size = 0;
  SQLSMALLINT digits = 0;
  SQLSMALLINT nullable = 0;
  if (!Succeeded(SQLDescribeColW(statement.get(), number, name, 256,
                                 &name_length, &sql_type, &size, &digits,
                                 &nullable))) {
    session.RaiseFailure(statement);
  }
  SQLWCHAR type_name[64] = {};
  SQLSMALLINT type_name_bytes = 0;
  if (!Succeeded(SQLColAttributeW(statement.get(), number, SQL_DESC_TYPE_NAME,
                                  type_name, sizeof(type_name),
                                  &type_name_bytes, nullptr))) {
    type_name_bytes = 0;
  }
  const size_t name_units = std::min<size_t>(
      static_cast<size_t>(std::max<SQLSMALLINT>(name_length, 0)), 255);
  const size_t type_units = std::min<size_t>(
      static_cast<size_t>(std::max<SQLSMALLINT>(type_name_bytes, 0)) /
          sizeof(SQLWCHAR),
      63);
  return {WideResult(name, name_units),
          KindOf(sql_type, WideResult(type_name, type_units))};
}

std::vector<Column> DescribeColumns(Session& session, const Handle& statement) {
  SQLSMALLINT count = 0;
  if (!Succeeded(SQLNumResultCols(statement.get(), &count))) {
    session.RaiseFailure(statement);
  }
  std::vector<Column> columns;
  for (SQLSMALLINT i = 1; i <= count; ++i) {
    columns.push_back(
        DescribeColumn(session, statement, static_cast<SQLUSMALLINT>(i)));
  }
  return columns;
}

// The whole text of a column, read in pieces; nullopt for NULL.
std::optional<WideText> ReadWide(Session& session, const Handle& statement,
                                 SQLUSMALLINT number) {
  WideText text;
  WideText buffer(2048);
  const auto buffer_bytes =
      static_cast<SQLLEN>(buffer.size() * sizeof(SQLWCHAR));
  for (;;) {
    SQLLEN indicator = 0;
    const SQLRETURN rc = SQLGetData(statement.get(), number, SQL_C_WCHAR,
                                    buffer.data(), buffer_bytes, &indicator);
    if (rc == SQL_NO_DATA) break;
    if (!Succeeded(rc)) session.RaiseFailure(statement);
    if (indicator == SQL_NULL_DATA) return std::nullopt;
    // A piece that filled the buffer leaves room for the terminator only.
    const bool more =
        indicator == SQL_NO_TOTAL ||
        indicator >= buffer_bytes - static_cast<SQLLEN>(sizeof(SQLWCHAR));
    const size_t units =
        more ? buffer.size() - 1
             : static_cast<size_t>(indicator) / sizeof(SQLWCHAR);
    text.insert(text.end(), buffer.begin(),
                buffer.begin() + static_cast<std::ptrdiff_t>(units));
    if (!more || rc == SQL_SUCCESS) break;
  }
  return text;
}

// Text of digits, with a sign and a point, read as SQLite's NUMERIC affinity
// keeps it: a whole number when it is one, else a double.
Variant NumericValue(const std::string& text) {
  const size_t point = text.find('.');
  const std::string whole = text.substr(0, point);
  const bool integral =
      point == std::string::npos ||
      text.find_first_not_of('0', point + 1) == std::string::npos;
  if (integral && !whole.empty() && whole != "-" && whole != "+") {
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(whole.c_str(), &end, 10);
    if (errno == 0 && end != nullptr && *end == '\0') {
      return Variant(static_cast<int64_t>(value));
    }
  }
  return Variant(std::strtod(text.c_str(), nullptr));
}

// A Boolean the driver hands over as text ("1", "t", "true" for true): as
// the number 0 or 1, which is how the embedded backend holds Booleans.
Variant BooleanValue(const std::string& text) {
  const std::string v = vb::LCase(vb::Trim(text));
  const bool yes = v == "t" || v == "true" || v == "y" || v == "yes" ||
                   (vb::IsNumeric(v) && std::strtod(v.c_str(), nullptr) != 0.0);
  return Variant(int64_t{yes ? 1 : 0});
}

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

}  // namespace mx::repository
