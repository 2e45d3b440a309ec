// The columns of a server's result as the ODBC backend reads them: each
// described by the driver (its name, the kind it is read as, its size),
// texts read whole in pieces, and the values a driver hands over as text
// (Booleans, numerics) turned into the kinds the embedded backend holds.
// Shared by the query path and the copy of a server's tables.
#ifndef MX_REPOSITORY_ODBC_COLUMNS_H_
#define MX_REPOSITORY_ODBC_COLUMNS_H_

#include <optional>
#include <string>
#include <vector>

#include "movx20xmlgen/variant.h"
#include "repository/odbc_api.h"

namespace mx::repository::odbc {

// How a column is read, by the SQL type the driver describes.
enum class ColumnKind { kInteger, kBoolean, kDouble, kNumeric, kText };

struct Column {
  std::string name;
  ColumnKind kind = ColumnKind::kText;
  SQLULEN size = 0;  // as the driver describes it: characters of a text
};

// The columns of the executed `statement`.
std::vector<Column> DescribeColumns(Session& session, const Handle& statement);

// The whole text of column `number` of the current row, read in pieces;
// nullopt for NULL.
std::optional<WideText> ReadWide(Session& session, const Handle& statement,
                                 SQLUSMALLINT number);

// Text of digits, with a sign and a point, read as SQLite's NUMERIC affinity
// keeps it: a whole number when it is one, else a double.
Variant NumericValue(const std::string& text);

// A Boolean the driver hands over as text ("1", "t", "true" for true): as
// the number 0 or 1, which is how the embedded backend holds Booleans.
Variant BooleanValue(const std::string& text);

}  // namespace mx::repository::odbc

#endif  // MX_REPOSITORY_ODBC_COLUMNS_H_
