#include "split/row_size.h"

#include <limits>

#include "movx20xmlgen/error.h"
#include "platform/vb_convert.h"
#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx {

using repository::SqlValue;

namespace {

// A number column of the domain: the number its text starts with; empty,
// non-numeric and null count 0, as they do in every domain lookup.
int16_t NumberColumn(const repository::Recordset& rs, const char* column) {
  const Variant& value = rs.Fields(column);
  return value.IsNull() ? int16_t{0} : vb::IntOfVal(value.ToText());
}

// The field size is held in 16 bits.
int16_t FieldSize(int64_t size) {
  if (size < std::numeric_limits<int16_t>::min() ||
      size > std::numeric_limits<int16_t>::max()) {
    throw errors::Overflow();
  }
  return static_cast<int16_t>(size);
}

// The bytes one field of the current row takes, by its domain type.
int16_t SizeOfField(const repository::Recordset& rs) {
  const std::string type = vb::Trim(rs.Fields("type").ToTextOrEmpty());
  if (type == "B" || type == "U") return 1;
  if (type == "E" || type == "P") return 3;
  if (type == "K" || type == "T") return 22;
  if (type == "S") return NumberColumn(rs, "leng");
  if (type == "M") return FieldSize(int64_t{NumberColumn(rs, "leng")} * 4);
  if (type == "D" || type == "F" || type == "I" || type == "L") {
    return FieldSize(int64_t{NumberColumn(rs, "digb")} +
                     int64_t{NumberColumn(rs, "diga")});
  }
  // A type the runtime gives no size takes none.
  return 0;
}

}  // namespace

int32_t RowSizeofTable(BuildContext& ctx, const std::string& i_StrAppl,
                       const std::string& i_StrTable) {
  repository::Recordset rs = ctx.Query(
      std::string("select qxddi150.cpac+qxddi150.cmod+qxddi150.flno, "
                  "qxddi220.type,qxddi220.leng,qxddi220.digb,qxddi220.diga") +
      " From QXDDI150, QXDDI220 " + " where qxddi150.appl = '" +
      SqlValue(i_StrAppl) +
      "' and qxddi150.appl = qxddi220.appl and "
      "qxddi150.cpac+qxddi150.cmod+qxddi150.flno = '" +
      SqlValue(i_StrTable) +
      "' and qxddi150.cdom = qxddi220.cpac+qxddi220.cdom");
  if (rs.Eof()) return 1;
  int64_t total = 0;
  for (; !rs.Eof(); rs.MoveNext()) {
    total += SizeOfField(rs);
    if (total > std::numeric_limits<int32_t>::max() ||
        total < std::numeric_limits<int32_t>::min()) {
      throw errors::Overflow();
    }
  }
  rs.Close();
  return static_cast<int32_t>(total);
}

}  // namespace mx
