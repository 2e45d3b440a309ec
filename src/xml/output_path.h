// Where a document goes: the sub-folder of XMLPath named after package and
// module, and the file named after the table code. A code that could step
// outside XMLPath ("/", "\", NUL, "." or "..") is refused with error 75.
#ifndef MX_XML_OUTPUT_PATH_H_
#define MX_XML_OUTPUT_PATH_H_

#include <string>

#include "interface/generator_context.h"

namespace mx {

// Raises error 75 when `name` is not a plain file or folder name.
void CheckPlainName(const std::string& name);

// Creates XMLPath/folder when missing (one level; XMLPath must exist) and
// returns its path.
std::string EnsureOutputFolder(GeneratorContext& ctx,
                               const std::string& folder);

}  // namespace mx

#endif  // MX_XML_OUTPUT_PATH_H_
