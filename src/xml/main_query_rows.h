// The selecting condition of a conversion object's main-query rows in
// qxmap130: profile, working version and target table. The main-query
// builders of both classes read the same rows; they differ in how they ask
// for them and in the order they want them.
#ifndef MX_XML_MAIN_QUERY_ROWS_H_
#define MX_XML_MAIN_QUERY_ROWS_H_

#include <string>

#include "context/conversion_object.h"

namespace mx {

// " where mprf = N AND vers = '...' AND ... AND tflno = '...'".
std::string MainQueryRowsCondition(const ConversionObject& object);

}  // namespace mx

#endif  // MX_XML_MAIN_QUERY_ROWS_H_
