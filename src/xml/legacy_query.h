// The translation of legacy query text for the legacy main-query builder.
// Designers write main queries and their sections against the legacy names
// (a file or table, a period, a field); the conversion program knows the
// fields under underscore names (cust_CODE). The translators expand "*" and
// "qualifier.*" into field lists read from qxlgy150, bracket the text files
// of a from clause ([cust#txt]), alias the plain select items of a table
// query and turn qualified references into underscore names. String literals
// pass unchanged; a double quote of a select statement comes out as "@@@".
//
// Both translators format the text with the legacy formatter first, work on
// the words between single blanks and keep every blank, so the layout of the
// formatted text survives. They report a failure in the legacy class's words
// (ErrorDescription and one log line) and return false with an empty output.
#ifndef MX_XML_LEGACY_QUERY_H_
#define MX_XML_LEGACY_QUERY_H_

#include <string>

#include "context/build_context.h"

namespace mx::legacy {

// A section text other than the select statement (selectdo, selectempty,
// selecteos, selecterror, endselect, the variable text): qualified words
// become underscore names ("$" dropped; var. and get.code words keep their
// "$"; numbers and literals stay), and an embedded select statement, ended by
// the next section keyword, goes through Convert_Legacy_Query. "select case"
// and "end select" are not select statements.
bool Convert_Select_Section(BuildContext& ctx, const std::string& section,
                            const std::string& application,
                            std::string* output);

// One select statement of the source application `application`.
bool Convert_Legacy_Query(BuildContext& ctx, const std::string& statement,
                          const std::string& application, std::string* output);

// True when qxlgy150 describes `field` (file.field, read as file + field)
// with the data type U or T. Query errors are raised, not reported.
bool Is_Text_Or_Datetime_Field(BuildContext& ctx,
                               const std::string& application,
                               const std::string& field);

}  // namespace mx::legacy

#endif  // MX_XML_LEGACY_QUERY_H_
