// The main query of a conversion object with its select sections: one element
// per source table, named by the source-table key, holding the select text
// and its SelectDo, SelectEmpty, SelectError, SelectEos and EndSelect parts.
// The texts are written escaped twice (once as read, once as written), as the
// downstream generator expects them.
#ifndef MX_XML_MAIN_QUERY_H_
#define MX_XML_MAIN_QUERY_H_

#include <string>

#include "context/build_context.h"
#include "context/conversion_object.h"

namespace mx::dd {

// Reads the qxmap130 rows of the object's target table (profile, working
// version, cpac/cmod/flno: an M-script passes its parent's) and builds the
// elements. The number of source tables is bounded by the migrate count the
// PRE-CONDITIONS builder left in ctx.doc; a migrate count of -1 gives True
// and an empty text without reading anything. A split condition stored for a
// source table is added to its where-clause. On failure the error is
// reported (errors 120, 121, 9 and any other), *text is empty and the result
// is False.
[[nodiscard]] bool Construct_MainQuery_Tag(BuildContext& ctx,
                                           const ConversionObject& object,
                                           std::string* text);

}  // namespace mx::dd

#endif  // MX_XML_MAIN_QUERY_H_
