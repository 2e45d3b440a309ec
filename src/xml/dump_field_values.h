// What a dump rule of either class takes from its field's record: the
// field's initial value in place of default(), its neutral value in place of
// empty(), and whether the field holds a string.
#ifndef MX_XML_DUMP_FIELD_VALUES_H_
#define MX_XML_DUMP_FIELD_VALUES_H_

#include <string>

#include "movx20xmlgen/records.h"

namespace mx {

// A field whose type (compared in upper case) is "S" or "M".
[[nodiscard]] bool IsStringField(const CFieldInfo& field);

// Every default() (any case) becomes the field's initial value
// (StrDefaultValue). A rule holding one, blanks aside, loses its blanks; any
// other rule comes back as it is.
std::string ReplaceDefaults(const std::string& rule, const CFieldInfo& field);

// The first empty() (any case) becomes the field's neutral value
// (StrInitialValue), under the same rule about blanks.
std::string ReplaceFirstEmpty(const std::string& rule, const CFieldInfo& field);

}  // namespace mx

#endif  // MX_XML_DUMP_FIELD_VALUES_H_
