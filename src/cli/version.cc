#include "cli/version.h"

namespace mx::cli {

const char* ProgramVersion() { return MX_PROJECT_VERSION; }

}  // namespace mx::cli
