// The Schema.ini of a legacy run: the layout of every flat file of the source
// application (qxlgy141, fields from qxlgy150) as the text-file driver reads
// it, one section per file, written whole into SchemaINIPath.
#ifndef MX_LEGACY_SCHEMA_INI_H_
#define MX_LEGACY_SCHEMA_INI_H_

#include <string>

#include "context/build_context.h"
#include "platform/env.h"

namespace mx::legacy {

// The text of Schema.ini for the application's files; "" when it has none.
// Errors (a failed query) go to the caller.
std::string SchemaIniText(BuildContext& ctx, const std::string& application);

// Writes SchemaINIPath/Schema.ini. An application without files writes
// nothing and gives True. An error (a failed query, an empty or unwritable
// SchemaINIPath) is reported in the legacy class's words and gives False;
// an earlier Schema.ini is then left as it was.
[[nodiscard]] bool Build_Schema_ini(BuildContext& ctx, Env& env,
                                    const std::string& application);

}  // namespace mx::legacy

#endif  // MX_LEGACY_SCHEMA_INI_H_
