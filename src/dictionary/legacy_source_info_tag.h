// The SRC_INFO element of a legacy conversion-object document: for every
// source table or flat file of the object, its connection data (tables) or
// header rows to skip (files, named *.txt or *.csv), and the underscore names
// under which the conversion program knows its fields.
#ifndef MX_DICTIONARY_LEGACY_SOURCE_INFO_TAG_H_
#define MX_DICTIONARY_LEGACY_SOURCE_INFO_TAG_H_

#include <string>

#include "context/build_context.h"

namespace mx::legacy {

// *text = "<SRC_INFO>" + one element per entry of `stbl` (split at ",",
// each entry trimmed) + "</SRC_INFO>". An entry is named by its upper-cased
// text with "." as "_"; a source without details (no qxlgy140 row of a
// table, a failed qxlgy141 read of a file) is error 124. Errors are reported
// in the legacy class's words and give False.
[[nodiscard]] bool Construct_Source_Info_Tag(BuildContext& ctx,
                                             const std::string& sapp,
                                             const std::string& stbl,
                                             std::string* text);

}  // namespace mx::legacy

#endif  // MX_DICTIONARY_LEGACY_SOURCE_INFO_TAG_H_
