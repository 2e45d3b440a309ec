// The split information file of a legacy run: an XML skeleton listing, for
// every conversion object of the split table, its source tables with their
// connection data and split fields, each with an empty from- and to-value
// for an outside tool to fill. The file carries connection data, passwords
// included, so it is readable and writable by its owner only, and it is
// written whole.
#ifndef MX_SPLIT_SPLIT_INFO_FILE_H_
#define MX_SPLIT_SPLIT_INFO_FILE_H_

#include <cstdint>
#include <functional>
#include <string>

#include "context/build_context.h"
#include "platform/env.h"

namespace mx::legacy {

// The connection fragment of a legacy source table of an application (the
// <constr> element GetConnStr gives), "" when the table has none.
using ConnectionFragment =
    std::function<std::string(BuildContext& ctx, const std::string& application,
                              const std::string& table)>;

// Writes the file `StrSplitInfoFileName` for profile `IntMprf` (whose source
// application names the connection data; "" when the profile is not there)
// over the conversion objects of every profile. No row in the split table
// gives an empty file. Any error gives False with no message, and then no
// file remains: neither an earlier one nor a part of the new one.
[[nodiscard]] bool ConstructSplitInfoFile(
    BuildContext& ctx, Env& env, const ConnectionFragment& connection_of,
    int16_t IntMprf, const std::string& StrSplitInfoFileName);

}  // namespace mx::legacy

#endif  // MX_SPLIT_SPLIT_INFO_FILE_H_
