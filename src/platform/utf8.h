// Code points to and from UTF-8, strictly: a decoded character is well
// formed (no overlong form, no surrogate, nothing past U+10FFFF), so that
// every converter of the component refuses the same broken texts.
#ifndef MX_PLATFORM_UTF8_H_
#define MX_PLATFORM_UTF8_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace mx {

// Appends the UTF-8 bytes of code point `cp` (at most U+10FFFF).
void AppendUtf8(std::string& out, uint32_t cp);

// The length of the character at byte `i` of `s`, with its code point in
// `*cp`; 0 when the bytes there are not a well-formed character.
size_t DecodeUtf8(std::string_view s, size_t i, uint32_t* cp);

}  // namespace mx

#endif  // MX_PLATFORM_UTF8_H_
