// GenerateXMLFile of the data-dictionary class: reads the profile, selects the
// target tables of the range or list, finds the mapping of each in the
// profile's versions, skips or builds it, and writes the progress log and the
// summary. True when the run got to its end.
#ifndef MX_RUN_DD_GENERATION_RUN_H_
#define MX_RUN_DD_GENERATION_RUN_H_

#include "context/generator_context.h"

namespace mx::dd {

bool GenerateXMLFile(GeneratorContext& ctx);

}  // namespace mx::dd

#endif  // MX_RUN_DD_GENERATION_RUN_H_
