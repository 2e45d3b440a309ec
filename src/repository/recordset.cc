#include "repository/recordset.h"

#include "movx20xmlgen/error.h"
#include "platform/vb_text.h"

namespace mx::repository {

namespace {

const std::shared_ptr<const ResultSet>& NoRows() {
  static const auto no_rows = std::make_shared<const ResultSet>();
  return no_rows;
}

}  // namespace

Recordset::Recordset() : result_(NoRows()) {}

Recordset::Recordset(Connection& connection, const std::string& source)
    : Recordset() {
  Open(connection, source);
}

void Recordset::Open(Connection& connection, const std::string& source) {
  result_ = connection.ExecuteShared(source);
  position_ = 0;
  open_ = true;
}

void Recordset::Close() {
  result_ = NoRows();
  position_ = 0;
  open_ = false;
}

bool Recordset::Bof() const { return result_->rows.empty(); }

bool Recordset::Eof() const { return position_ >= result_->rows.size(); }

void Recordset::MoveNext() {
  if (Eof()) throw errors::ItemNotFound();
  ++position_;
}

const std::vector<Variant>& Recordset::CurrentRow() const {
  if (Eof()) throw errors::ItemNotFound();
  return result_->rows[position_];
}

const Variant& Recordset::Fields(std::string_view name) const {
  const std::vector<std::string>& columns = result_->columns;
  for (size_t i = 0; i < columns.size(); ++i) {
    if (vb::EqualText(columns[i], name)) return CurrentRow()[i];
  }
  throw errors::ItemNotFound();
}

const Variant& Recordset::Fields(size_t index) const {
  if (index >= result_->columns.size()) throw errors::ItemNotFound();
  return CurrentRow()[index];
}

std::string Recordset::GetString(std::string_view column_delimiter,
                                 std::string_view row_delimiter,
                                 std::string_view null_expr) {
  std::string out;
  for (; position_ < result_->rows.size(); ++position_) {
    const auto& row = result_->rows[position_];
    for (size_t i = 0; i < row.size(); ++i) {
      if (row[i].IsNull()) {
        out.append(null_expr);
      } else {
        out.append(row[i].ToTextOrEmpty());
      }
      out.append(i + 1 < row.size() ? column_delimiter : row_delimiter);
    }
  }
  return out;
}

}  // namespace mx::repository
