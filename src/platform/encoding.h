// Conversion between UTF-8 (the repository, the command line, file names) and
// Windows-1252 (every text inside the component). Characters that the code
// page lacks are transliterated, or become "?" when there is no likeness.
#ifndef MX_PLATFORM_ENCODING_H_
#define MX_PLATFORM_ENCODING_H_

#include <optional>
#include <string>
#include <string_view>

namespace mx {

// nullopt when the input is not valid UTF-8.
std::optional<std::string> Utf8ToWin1252(std::string_view utf8);
std::string Win1252ToUtf8(std::string_view text);

}  // namespace mx

#endif  // MX_PLATFORM_ENCODING_H_
