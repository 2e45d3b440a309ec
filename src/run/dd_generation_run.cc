#include "run/dd_generation_run.h"

namespace mx::dd {

bool GenerateXMLFile(GeneratorContext& ctx) {
  (void)ctx;
  return false;
}

}  // namespace mx::dd
