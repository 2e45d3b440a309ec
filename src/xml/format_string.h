// The query formatter of the main-query builders: one clause per line,
// operator characters set apart by blanks, quoted text left alone, the result
// escaped for element content. The two classes format differently.
#ifndef MX_XML_FORMAT_STRING_H_
#define MX_XML_FORMAT_STRING_H_

#include <string>
#include <string_view>

#include "context/build_context.h"

namespace mx {

[[nodiscard]] bool Is_Operator_Char(GeneratorKind kind, char c);

// The bare algorithms. The data-dictionary one raises error 124 ("Closing
// double quotes missing.") on an unbalanced double quote.
std::string FormatStringDictionary(std::string_view input);
std::string FormatStringLegacy(std::string_view input);

// Format_String as the builders call it: errors reported in the class's
// words, false then.
[[nodiscard]] bool Format_String(BuildContext& ctx, const std::string& input,
                                 std::string* output);

}  // namespace mx

#endif  // MX_XML_FORMAT_STRING_H_
