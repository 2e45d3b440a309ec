#include "repository/odbc_table_copy.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <exception>
#include <future>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <utility>

#include "movx20xmlgen/error.h"
#include "movx20xmlgen/variant.h"
#include "repository/batch_queue.h"
#include "repository/odbc_columns.h"
#include "repository/schema.h"

namespace mx::repository::odbc {

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
bool ReadTable(Session& session, const SendStatement& send,
               const std::string& table, size_t column_count,
               BatchQueue<FetchedRows>& batches) {
  // A plain scan gives the rows in storage order, as the session scans
  // (odbc_table_copy.h), without the sort that "ORDER BY ctid" costs: the
  // server would sort a large table on disk before the first FETCH.
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

}  // namespace

std::vector<ServerTable> InCopyOrder(std::vector<ServerTable> tables) {
  std::stable_sort(tables.begin(), tables.end(),
                   [](const ServerTable& a, const ServerTable& b) {
                     return IndexWork(a.name, a.bytes) >
                            IndexWork(b.name, b.bytes);
                   });
  return tables;
}

void CopyServerTables(Session& session, const SendStatement& send,
                      const std::vector<ServerTable>& tables,
                      SnapshotDatabase& snapshot) {
  BatchQueue<FetchedRows> batches(kQueuedBytes);
  std::thread reader([&] {
    try {
      for (const ServerTable& table : tables) {
        if (!ReadTable(session, send, table.name, table.columns.size(),
                       batches)) {
          return;
        }
      }
    } catch (...) {
      batches.Fail(std::current_exception());
    }
  });
  try {
    for (const ServerTable& table : tables) {
      WriteTable(table.name, table.columns, batches, snapshot);
    }
  } catch (...) {
    batches.Cancel();
    reader.join();
    throw;
  }
  reader.join();
}

}  // namespace mx::repository::odbc
