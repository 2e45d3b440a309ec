// The split fields of one conversion object and source table: the fields on
// which the source rows are spread over worker shells, as the split table
// (qxmap300: ttbl, stbl, flst) lists them. The data-dictionary class expands
// index references and combined fields into plain field names; the legacy
// class takes the list as stored. No handler: repository errors go to the
// caller.
#ifndef MX_SPLIT_SPLIT_FIELDS_H_
#define MX_SPLIT_SPLIT_FIELDS_H_

#include <string>

#include "context/build_context.h"

namespace mx::dd {

// The fields of the first qxmap300 row of the target and source table, in
// split order, joined with ",": an entry naming an index (INDEX2) gives the
// fields of that index of the source table, then a combined field gives its
// children in order. Entries are taken as stored, blanks included. No row
// gives "" and leaves *StrFlst unchanged; otherwise *StrFlst = the stored
// list.
std::string get_split_fields(BuildContext& ctx, const std::string& StrSrcAppl,
                             const std::string& strTgtTable,
                             const std::string& StrSrcTable,
                             std::string* StrFlst);

}  // namespace mx::dd

namespace mx::legacy {

// The stored list of the first qxmap300 row of the target and source table;
// "" when there is none. The application is not read.
std::string get_split_fields(BuildContext& ctx, const std::string& StrSrcAppl,
                             const std::string& strTgtTable,
                             const std::string& StrSrcTable);

}  // namespace mx::legacy

#endif  // MX_SPLIT_SPLIT_FIELDS_H_
