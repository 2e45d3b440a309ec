// Index questions of the data dictionary that the split runs ask: the fields
// of an index, the ordered children of a combined field, whether a field is
// combined, and index references such as INDEX3. The lookups have no error
// handler: a repository or conversion error goes to the caller, which reports
// it. Also the reading of an index row's parts, shared by every reader.
#ifndef MX_DICTIONARY_INDEX_LOOKUPS_H_
#define MX_DICTIONARY_INDEX_LOOKUPS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "context/build_context.h"
#include "repository/recordset.h"

namespace mx {

// The part columns of a qxddi200 row sit at positions 7 to 30 (from 0),
// after appl, cpac, cmod, flno, indn, dupl and acti; they are read by
// position, never by name.
inline constexpr size_t kFirstIndexPartPosition = 7;
inline constexpr size_t kLastIndexPartPosition = 30;

// The parts of the current qxddi200 row, in order and as read (not trimmed).
// The first part that is null or holds only blanks ends the list: the
// columns are fixed-width, so an unused part comes back blank-padded, and an
// empty part is never a field.
std::vector<std::string> IndexPartsOf(const repository::Recordset& row);

}  // namespace mx

namespace mx::dd {

// The fields of index `index_number` of `table` (package + module + table
// number), joined with ","; a combined part gives its ordered children.
// "" when the index is not there.
std::string Get_Index_Fields(BuildContext& ctx, const std::string& application,
                             const std::string& table, int32_t index_number);

// The child fields of a combined field in sern order, joined with ",".
std::string Get_Ordered_Child_Fields(BuildContext& ctx,
                                     const std::string& application,
                                     const std::string& table,
                                     const std::string& field);

// True when the field exists and its comb is exactly "Y".
[[nodiscard]] bool Is_Combined_Field(BuildContext& ctx,
                                     const std::string& application,
                                     const std::string& table,
                                     const std::string& field);

// True when the text names an index: it contains "INDEX" in any case.
[[nodiscard]] bool Is_Index_Reference(const std::string& text);

// The number after the first "INDEX" (any case): xindex12 gives 12; a text
// without "INDEX" gives 0. A remainder that is not a 16-bit number raises
// the conversion error (13 or 6).
int16_t Get_Index_Number(const std::string& text);

}  // namespace mx::dd

#endif  // MX_DICTIONARY_INDEX_LOOKUPS_H_
