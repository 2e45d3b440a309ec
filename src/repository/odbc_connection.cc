// The ODBC backend: runs the component's queries on a database server and
// reads every row into Variants of the same kinds the embedded backend gives.
// Each query gets its own statement handle, executed directly and read to its
// last row before Execute returns.
#include "repository/odbc_connection.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <utility>

#include "platform/encoding.h"
#include "platform/vb_text.h"
#include "repository/batch_queue.h"
#include "repository/dialect.h"
#include "repository/odbc_api.h"
#include "repository/postgres_schema.h"
#include "repository/schema.h"
#include "repository/snapshot_database.h"

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
  SQLULEN size = 0;  // as the driver describes it: characters of a text
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
          KindOf(sql_type, WideResult(type_name, type_units)), size};
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
  // Each value is read into it; zeroing a fresh one for every value of a
  // large result cost more than the reading.
  thread_local WideText buffer(2048);
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

// Rows read from the server in one round trip while a table is copied.
constexpr int kRowsPerFetch = 5000;

// The rows of a fetched result read a block at a time into arrays bound
// column by column: one driver call a block of rows instead of one a value.
// Whole numbers and floating-point values come as such; every other value
// as UTF-16 into a buffer as wide as the driver describes the column (within
// limits). A value longer than its buffer (its indicator tells) is read
// again whole with SQLGetData, after positioning on its row.
class BoundRows {
 public:
  static constexpr SQLULEN kBlockRows = 256;
  static constexpr SQLULEN kMinTextUnits = 64;
  static constexpr SQLULEN kMaxTextUnits = 512;

  BoundRows(Session& session, std::vector<Column> columns)
      : session_(session), columns_(std::move(columns)) {
    buffers_.resize(columns_.size());
    for (size_t i = 0; i < columns_.size(); ++i) {
      Buffer& buffer = buffers_[i];
      buffer.indicators.resize(kBlockRows);
      switch (columns_[i].kind) {
        case ColumnKind::kInteger:
          buffer.integers.resize(kBlockRows);
          break;
        case ColumnKind::kDouble:
          buffer.reals.resize(kBlockRows);
          break;
        default:
          buffer.units = std::clamp(columns_[i].size, kMinTextUnits,
                                    kMaxTextUnits) +
                         1;  // the terminator
          buffer.texts.resize(kBlockRows * buffer.units);
          break;
      }
    }
  }

  const std::vector<Column>& columns() const { return columns_; }

  // True when `described` are the columns the buffers were made for.
  bool Fits(const std::vector<Column>& described) const {
    if (described.size() != columns_.size()) return false;
    for (size_t i = 0; i < described.size(); ++i) {
      if (described[i].kind != columns_[i].kind ||
          described[i].size != columns_[i].size) {
        return false;
      }
    }
    return true;
  }

  // Binds the buffers to `statement`, executed and ready to fetch.
  void Attach(const Handle& statement) {
    statement_ = &statement;
    SetAttribute(SQL_ATTR_ROW_BIND_TYPE,
                 reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN));
    SetAttribute(SQL_ATTR_ROW_ARRAY_SIZE,
                 reinterpret_cast<SQLPOINTER>(kBlockRows));
    SetAttribute(SQL_ATTR_ROWS_FETCHED_PTR, &fetched_);
    SetAttribute(SQL_ATTR_ROW_STATUS_PTR, statuses_);
    for (size_t i = 0; i < buffers_.size(); ++i) {
      Buffer& buffer = buffers_[i];
      const auto number = static_cast<SQLUSMALLINT>(i + 1);
      SQLRETURN rc;
      if (!buffer.integers.empty()) {
        rc = SQLBindCol(statement.get(), number, SQL_C_SBIGINT,
                        buffer.integers.data(), sizeof(SQLBIGINT),
                        buffer.indicators.data());
      } else if (!buffer.reals.empty()) {
        rc = SQLBindCol(statement.get(), number, SQL_C_DOUBLE,
                        buffer.reals.data(), sizeof(SQLDOUBLE),
                        buffer.indicators.data());
      } else {
        rc = SQLBindCol(statement.get(), number, SQL_C_WCHAR,
                        buffer.texts.data(), TextBytes(buffer),
                        buffer.indicators.data());
      }
      if (!Succeeded(rc)) session_.RaiseFailure(statement);
    }
  }

  // Fetches the next block; how many rows it holds, 0 after the last.
  SQLULEN FetchBlock() {
    fetched_ = 0;
    const SQLRETURN rc = SQLFetch(statement_->get());
    if (rc == SQL_NO_DATA) return 0;
    if (!Succeeded(rc)) session_.RaiseFailure(*statement_);
    for (SQLULEN r = 0; r < fetched_; ++r) {
      if (statuses_[r] == SQL_ROW_ERROR) session_.RaiseFailure(*statement_);
    }
    return fetched_;
  }

  bool IsNull(SQLULEN row, size_t column) const {
    return buffers_[column].indicators[row] == SQL_NULL_DATA;
  }
  int64_t Integer(SQLULEN row, size_t column) const {
    return buffers_[column].integers[row];
  }
  double Real(SQLULEN row, size_t column) const {
    return buffers_[column].reals[row];
  }

  // The text of a value that is not NULL, as UTF-16.
  std::basic_string_view<SQLWCHAR> Text(SQLULEN row, size_t column) {
    const Buffer& buffer = buffers_[column];
    const SQLLEN length = buffer.indicators[row];
    if (length != SQL_NO_TOTAL && length >= 0 && length < TextBytes(buffer)) {
      return {buffer.texts.data() + row * buffer.units,
              static_cast<size_t>(length) / sizeof(SQLWCHAR)};
    }
    return LongText(row, column);
  }

 private:
  struct Buffer {
    std::vector<SQLLEN> indicators;
    std::vector<SQLBIGINT> integers;
    std::vector<SQLDOUBLE> reals;
    std::vector<SQLWCHAR> texts;  // `units` a row, the terminator included
    SQLULEN units = 0;
  };

  static SQLLEN TextBytes(const Buffer& buffer) {
    return static_cast<SQLLEN>(buffer.units * sizeof(SQLWCHAR));
  }

  void SetAttribute(SQLINTEGER attribute, SQLPOINTER value) {
    if (!Succeeded(SQLSetStmtAttr(statement_->get(), attribute, value, 0))) {
      session_.RaiseFailure(*statement_);
    }
  }

  std::basic_string_view<SQLWCHAR> LongText(SQLULEN row, size_t column) {
    if (!Succeeded(SQLSetPos(statement_->get(),
                             static_cast<SQLSETPOSIROW>(row + 1), SQL_POSITION,
                             SQL_LOCK_NO_CHANGE))) {
      session_.RaiseFailure(*statement_);
    }
    std::optional<WideText> text =
        ReadWide(session_, *statement_, static_cast<SQLUSMALLINT>(column + 1));
    long_text_ = text ? *std::move(text) : WideText();
    return {long_text_.data(), long_text_.size()};
  }

  Session& session_;
  std::vector<Column> columns_;
  std::vector<Buffer> buffers_;
  const Handle* statement_ = nullptr;
  SQLULEN fetched_ = 0;
  SQLUSMALLINT statuses_[kBlockRows] = {};
  WideText long_text_;
};

// The rows of one FETCH, each value converted into what the copy binds:
// read and converted while the copy inserts the rows fetched before.
struct FetchedRows {
  enum class Kind : uint8_t { kNull, kInteger, kReal, kText };
  // Sixteen bytes a value: batches wait in memory while the copy builds
  // the indexes of the table before.
  struct Value {
    Kind kind = Kind::kNull;
    uint32_t length = 0;  // of a text
    int64_t number = 0;   // an integer, a real's bits, a text's offset
  };

  std::vector<Value> values;  // row by row, each row's columns in order
  std::string texts;          // the texts, in UTF-8, one after the other
  SQLULEN rows = 0;
  bool last = false;  // fewer rows than asked for: the table ends here

  size_t Bytes() const {
    return values.capacity() * sizeof(Value) + texts.capacity();
  }
  std::string_view Text(const Value& value) const {
    return std::string_view(texts).substr(static_cast<size_t>(value.number),
                                          value.length);
  }

  void AddText(std::string_view utf8, const std::string& table) {
    if (utf8.size() > UINT32_MAX) {
      throw VbError(errors::kQueryRefused, kErrorSource,
                    "A text in table " + table + " is too long to copy");
    }
    values.push_back({Kind::kText, static_cast<uint32_t>(utf8.size()),
                      static_cast<int64_t>(texts.size())});
    texts.append(utf8);
  }
  void AddInteger(int64_t n) { values.push_back({Kind::kInteger, 0, n}); }
  void AddReal(double d) {
    values.push_back({Kind::kReal, 0, std::bit_cast<int64_t>(d)});
  }
  void AddNull() { values.push_back({}); }
};

// Value `column` of row `row` of `rows`, converted, into `fetched`.
void FetchValue(BoundRows& rows, SQLULEN row, size_t column,
                const std::string& table, std::string& utf8,
                FetchedRows& fetched) {
  if (rows.IsNull(row, column)) {
    fetched.AddNull();
    return;
  }
  const Column& described = rows.columns()[column];
  if (described.kind == ColumnKind::kInteger) {
    fetched.AddInteger(rows.Integer(row, column));
    return;
  }
  if (described.kind == ColumnKind::kDouble) {
    fetched.AddReal(rows.Real(row, column));
    return;
  }
  const std::basic_string_view<SQLWCHAR> wide = rows.Text(row, column);
  if (!odbc::WideToUtf8(wide.data(), wide.size(), &utf8)) {
    throw VbError(errors::kConversionFailed, kErrorSource,
                  "The text in column " + described.name + " of table " +
                      table + " is not valid UTF-16");
  }
  if (described.kind == ColumnKind::kText) {
    fetched.AddText(utf8, table);
    return;
  }
  const Variant value = described.kind == ColumnKind::kBoolean
                            ? BooleanValue(utf8)
                            : NumericValue(utf8);
  if (value.IsInteger()) {
    fetched.AddInteger(static_cast<int64_t>(value.ToDouble()));
  } else {
    fetched.AddReal(value.ToDouble());
  }
}

// Each fetched row into the copy.
void InsertRows(const FetchedRows& fetched, size_t columns,
                SnapshotDatabase::RowWriter& writer) {
  using Kind = FetchedRows::Kind;
  size_t at = 0;
  for (SQLULEN r = 0; r < fetched.rows; ++r) {
    for (size_t i = 0; i < columns; ++i, ++at) {
      const FetchedRows::Value& value = fetched.values[at];
      switch (value.kind) {
        case Kind::kNull:
          writer.BindNull(i);
          break;
        case Kind::kInteger:
          writer.BindInteger(i, value.number);
          break;
        case Kind::kReal:
          writer.BindReal(i, std::bit_cast<double>(value.number));
          break;
        case Kind::kText:
          writer.BindText(i, fetched.Text(value));
          break;
      }
    }
    writer.Insert();
  }
}

// Makes `rows` ready to read the FETCH statement `batch` of `table`: made
// for the table's first batch, checked against every later one, bound.
void PrepareRows(Session& session, const Handle& batch,
                 const std::string& table, size_t column_count,
                 std::optional<BoundRows>& rows) {
  if (!rows) {
    rows.emplace(session, DescribeColumns(session, batch));
  } else if (!rows->Fits(DescribeColumns(session, batch))) {
    throw VbError(errors::kQueryRefused, kErrorSource,
                  "The table " + table + " changed while it was read");
  }
  if (rows->columns().size() != column_count) {
    throw VbError(errors::kQueryRefused, kErrorSource,
                  "The table " + table + " changed while it was read");
  }
  rows->Attach(batch);
}

// The rows of the statement `rows` were made ready for, converted.
FetchedRows ReadRows(BoundRows& rows, const std::string& table,
                     size_t column_count) {
  FetchedRows fetched;
  fetched.values.reserve(static_cast<size_t>(kRowsPerFetch) * column_count);
  std::string utf8;
  for (SQLULEN block; (block = rows.FetchBlock()) > 0;) {
    fetched.rows += block;
    for (SQLULEN r = 0; r < block; ++r) {
      for (size_t i = 0; i < column_count; ++i) {
        FetchValue(rows, r, i, table, utf8, fetched);
      }
    }
  }
  fetched.last = fetched.rows < static_cast<SQLULEN>(kRowsPerFetch);
  return fetched;
}

using SendFunction = std::function<Handle(const std::string&)>;

// Converted rows waiting for the copy: while it builds the indexes of a
// large table, the next table is read into memory up to this bound.
constexpr size_t kQueuedBytes = size_t{64} << 20;

// Reads `table` through a cursor of the scope's transaction, a batch of
// rows a round trip, into `batches`. Two steps overlap: the server answers
// the FETCH of the next batch while this one is converted (the driver
// keeps a batch's rows once it has them, so the session is free for the
// next statement). One statement at a time is sent on the session: the
// next FETCH goes once the one before has been answered. Describing and
// binding a statement's columns never runs beside a statement being sent:
// psqlODBC 13 crashed when two threads described statements of one
// connection at once (tried: two batches converted side by side), and a
// description beside a send is not known to be safer; only the reading of
// fetched rows overlaps. False when the copy stopped taking batches.
bool ReadTable(Session& session, const SendFunction& send,
               const std::string& table, size_t column_count,
               BatchQueue<FetchedRows>& batches) {
  // A plain scan gives the rows in storage order (see TakeSnapshot) without
  // the sort that "ORDER BY ctid" costs: the server would sort a large
  // table on disk before answering the first FETCH.
  send("DECLARE mx_copy NO SCROLL CURSOR FOR SELECT * FROM " + table);
  const std::string fetch =
      "FETCH FORWARD " + std::to_string(kRowsPerFetch) + " FROM mx_copy";
  std::mutex driver;  // sends and column descriptions, one at a time
  const auto send_fetch = [&send, &fetch, &driver] {
    const std::lock_guard<std::mutex> lock(driver);
    return send(fetch);
  };
  std::optional<BoundRows> rows;
  std::future<Handle> answered = std::async(std::launch::async, send_fetch);
  for (bool last = false; !last;) {
    const Handle batch = answered.get();
    {
      const std::lock_guard<std::mutex> lock(driver);
      PrepareRows(session, batch, table, column_count, rows);
    }
    answered = std::async(std::launch::async, send_fetch);
    FetchedRows fetched = ReadRows(*rows, table, column_count);
    last = fetched.last;
    const size_t bytes = fetched.Bytes();
    if (!batches.Push(std::move(fetched), bytes)) return false;
  }
  answered.get();  // past the end: no rows
  send("CLOSE mx_copy");
  return true;
}

// The rows of `table` from `batches` into the copy, in the order read; then
// the table's indexes, while the next table is read.
void WriteTable(const std::string& table,
                const std::vector<SnapshotDatabase::Column>& columns,
                BatchQueue<FetchedRows>& batches, SnapshotDatabase& snapshot) {
  snapshot.CreateTable(table, columns);
  {
    SnapshotDatabase::RowWriter writer(snapshot, table, columns.size());
    for (bool last = false; !last;) {
      const FetchedRows fetched = batches.Pop();
      InsertRows(fetched, columns.size(), writer);
      last = fetched.last;
    }
  }
  snapshot.AddLookupIndexesOf(table);
}

// How much the copy's indexes on `table` cost to build, roughly.
int64_t IndexWork(const std::string& table, int64_t bytes) {
  int64_t indexes = 0;
  for (const LookupIndex& index : CopyIndexes()) {
    if (index.table == table) ++indexes;
  }
  return indexes * bytes;
}

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

std::optional<std::vector<OdbcConnection::CopiedTable>>
OdbcConnection::TablesToCopy(int64_t* bytes) {
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
  std::vector<CopiedTable> tables;
  for (const std::string& name : RepositoryTables()) {
    CopiedTable table{name, {}, 0};
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
  std::optional<std::vector<CopiedTable>> tables = TablesToCopy(&bytes);
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

// The tables in the order they go into the copy: those whose indexes take
// longest to build first, so that the indexes of each are built while the
// tables after it are read, and the last tables read have few or none.
std::vector<OdbcConnection::CopiedTable> OdbcConnection::InCopyOrder(
    std::vector<CopiedTable> tables) {
  std::stable_sort(tables.begin(), tables.end(),
                   [](const CopiedTable& a, const CopiedTable& b) {
                     return IndexWork(a.name, a.bytes) >
                            IndexWork(b.name, b.bytes);
                   });
  return tables;
}

// The tables read on a thread of their own while this one writes them into
// the copy, each table's indexes built as soon as its rows are in.
void OdbcConnection::CopyTables(const std::vector<CopiedTable>& tables,
                                SnapshotDatabase& snapshot) {
  BatchQueue<FetchedRows> batches(kQueuedBytes);
  const SendFunction send = [this](const std::string& sql) {
    return Send(sql);
  };
  std::thread reader([&] {
    try {
      for (const CopiedTable& table : tables) {
        if (!ReadTable(*session_, send, table.name, table.columns.size(),
                       batches)) {
          return;
        }
      }
    } catch (...) {
      batches.Fail(std::current_exception());
    }
  });
  try {
    for (const CopiedTable& table : tables) {
      std::vector<SnapshotDatabase::Column> columns;
      for (const CopiedColumn& column : table.columns) {
        columns.push_back({column.name, column.declared_type});
      }
      WriteTable(table.name, columns, batches, snapshot);
    }
  } catch (...) {
    batches.Cancel();
    reader.join();
    throw;
  }
  reader.join();
}

std::unique_ptr<Connection> OdbcConnection::TakeSnapshot() {
  if (!postgres_ || !in_scope_ || tables_to_copy_.empty()) return nullptr;
  try {
    SnapshotDatabase snapshot;
    // The session scans a table from its first page to its last, never in
    // parallel nor from where another session's scan stands (session
    // statements); for this transaction, never through an index either (a
    // server configured against sequential scans). So a table read whole
    // comes in storage order, as the component's queries read it.
    Send("SELECT set_config('enable_seqscan', 'on', true)");
    CopyTables(InCopyOrder(tables_to_copy_), snapshot);
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
