// Numbers read from repository text (a length, digits, an initial value): the
// number the text starts with, as Val read it, then converted to a 16- or
// 32-bit integer with the original rounding and overflow (error 6). An empty
// or non-numeric text counts 0.
#ifndef MX_PLATFORM_VB_CONVERT_H_
#define MX_PLATFORM_VB_CONVERT_H_

#include <cstdint>
#include <string_view>

#include "movx20xmlgen/variant.h"
#include "platform/vb_text.h"

namespace mx::vb {

inline int16_t IntOfVal(std::string_view text) {
  return Variant(Val(text)).ToInt16();
}
inline int32_t LongOfVal(std::string_view text) {
  return Variant(Val(text)).ToInt32();
}

}  // namespace mx::vb

#endif  // MX_PLATFORM_VB_CONVERT_H_
