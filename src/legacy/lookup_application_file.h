// The lookup-application file of a legacy run: the data source, login and
// password of the profile's lookup application (qxddi101), one per line, in
// XMLPath/LookupApplication.txt. It carries a password, so only its owner
// may read it.
#ifndef MX_LEGACY_LOOKUP_APPLICATION_FILE_H_
#define MX_LEGACY_LOOKUP_APPLICATION_FILE_H_

#include <string>

#include "context/build_context.h"
#include "platform/env.h"

namespace mx::legacy {

// Writes the file whole, mode 0600. An application without a qxddi101 row
// gives an empty file and False. Errors (a failed query, an empty or
// unwritable XMLPath) go to the caller.
[[nodiscard]] bool Create_LookupApplication_File(
    BuildContext& ctx, Env& env, const std::string& application);

}  // namespace mx::legacy

#endif  // MX_LEGACY_LOOKUP_APPLICATION_FILE_H_
