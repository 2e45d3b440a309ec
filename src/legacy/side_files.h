// The side files a legacy run writes after its summary, in this order: the
// conversion codes, Schema.ini, the lookup-application file and, for split
// runs, the split information.
#ifndef MX_LEGACY_SIDE_FILES_H_
#define MX_LEGACY_SIDE_FILES_H_

#include <cstdint>
#include <string>

#include "context/build_context.h"
#include "context/legacy_run_facts.h"
#include "platform/env.h"

namespace mx::legacy {

struct SideFileInputs {
  std::string sapp;                // the source application, 15 characters
  std::string lookup_application;  // the profile's apln; empty: no file
  LegacyRunFacts facts;
  int32_t profile = 0;  // the run's profile, for the split information
};

// Writes the side files. False ends the run without a further line (the
// conversion codes could not be built: their builder has reported why).
// Raises error 124 when Schema.ini or the lookup-application file fails.
// The split information (XMLPath/splitinfo.xml, split runs only) is written
// last, without a log line; its failure leaves no file and changes nothing
// else.
[[nodiscard]] bool WriteSideFiles(BuildContext& ctx, Env& env,
                                  const SideFileInputs& inputs);

}  // namespace mx::legacy

#endif  // MX_LEGACY_SIDE_FILES_H_
