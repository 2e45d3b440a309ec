// The recordset operations the component uses: Open on a connection, BOF and
// EOF, fields by name (case-insensitive) or position, MoveNext, GetString in
// clip-string form, Close. The rows are read whole at Open; a recordset only
// reads them, so it shares them with the connection that may keep them.
#ifndef MX_REPOSITORY_RECORDSET_H_
#define MX_REPOSITORY_RECORDSET_H_

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "repository/connection.h"

namespace mx::repository {

class Recordset {
 public:
  Recordset();
  // Opens at once: Recordset rs(connection, sql).
  Recordset(Connection& connection, const std::string& source);

  void Open(Connection& connection, const std::string& source);
  void Close();

  // BOF and EOF of the original (EOF is a C macro, hence the spelling). Both
  // are true right after Open when there are no rows.
  bool Bof() const;
  bool Eof() const;
  void MoveNext();

  // Error 3265 when no column has that name or position; reading past the
  // last row is error 3021-like misuse and raises the same error.
  const Variant& Fields(std::string_view name) const;
  const Variant& Fields(size_t index) const;
  size_t FieldCount() const { return result_->columns.size(); }

  // From the current row to the end, each value followed by the column
  // delimiter except the last of a row, which is followed by the row
  // delimiter; nulls as `null_expr`. Leaves the recordset at EOF.
  std::string GetString(std::string_view column_delimiter,
                        std::string_view row_delimiter,
                        std::string_view null_expr);

 private:
  const std::vector<Variant>& CurrentRow() const;

  std::shared_ptr<const ResultSet> result_;  // never null
  size_t position_ = 0;
  bool open_ = false;
};

}  // namespace mx::repository

#endif  // MX_REPOSITORY_RECORDSET_H_
