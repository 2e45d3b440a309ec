// GenerateXMLFile of the legacy class. It follows the data-dictionary run
// step by step (profile, checked-out version, selection, version lookup,
// status rules, builder calls, log lines, summary) and differs where the
// legacy class differs: the profile's parent list, the target kind, the
// fixed status filter, 32-bit numbers, table numbers at their full length,
// the null source-table line, its own generated list, its own log wording,
// and the side files written after the summary.
#ifndef MX_RUN_LEGACY_GENERATION_RUN_H_
#define MX_RUN_LEGACY_GENERATION_RUN_H_

#include "context/generator_context.h"

namespace mx::legacy {

// True when the run got to its end (side files included).
[[nodiscard]] bool GenerateXMLFile(GeneratorContext& ctx);

}  // namespace mx::legacy

#endif  // MX_RUN_LEGACY_GENERATION_RUN_H_
