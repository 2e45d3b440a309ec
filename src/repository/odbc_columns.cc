#include "repository/odbc_columns.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "platform/vb_text.h"

namespace mx::repository::odbc {

namespace {

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

}  // namespace

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

Variant BooleanValue(const std::string& text) {
  const std::string v = vb::LCase(vb::Trim(text));
  const bool yes = v == "t" || v == "true" || v == "y" || v == "yes" ||
                   (vb::IsNumeric(v) && std::strtod(v.c_str(), nullptr) != 0.0);
  return Variant(int64_t{yes ? 1 : 0});
}

}  // namespace mx::repository::odbc
