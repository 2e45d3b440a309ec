#include "legacy/side_files.h"

namespace mx::legacy {

bool WriteSideFiles(BuildContext& /*ctx*/, Env& /*env*/,
                    const SideFileInputs& /*inputs*/) {
  return true;
}

}  // namespace mx::legacy
