// Making repository text safe inside document elements. The data-dictionary
// class escapes three characters; the legacy class four. Both replace plainly,
// so an entity already present is escaped again. A platform helper, so that
// every layer that writes element text (connection details of legacy tables
// included) escapes it the same way.
#ifndef MX_PLATFORM_XML_ESCAPING_H_
#define MX_PLATFORM_XML_ESCAPING_H_

#include <string>
#include <string_view>

namespace mx {

// "&", then "<", then ">"; double quotes stay.
std::string EscapeThreeEntities(std::string_view text);
// As above, then the double quote as &quot;.
std::string Escape_XML_Text(std::string_view text);

}  // namespace mx

#endif  // MX_PLATFORM_XML_ESCAPING_H_
