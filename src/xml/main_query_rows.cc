#include "xml/main_query_rows.h"

#include <cstdint>

#include "platform/vb_text.h"
#include "repository/sql_value.h"

namespace mx {

std::string MainQueryRowsCondition(const ConversionObject& o) {
  using repository::SqlValue;
  return std::string(" where ") + "mprf" + " = " +
         vb::NumberToText(int64_t{o.profile}) + " AND " + "vers" + " = " + "'" +
         SqlValue(o.vers) + "'" + " AND " + "rele" + " = '" + SqlValue(o.rele) +
         "'" + " AND " + "cust" + " = '" + SqlValue(o.cust) + "'" + " AND " +
         "tcpac" + " = '" + SqlValue(o.cpac) + "'" + " AND " + "tcmod" +
         " = '" + SqlValue(o.cmod) + "'" + " AND " + "tflno" + " = '" +
         SqlValue(o.flno) + "'";
}

}  // namespace mx
