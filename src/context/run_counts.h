// The summary counts of a generation run: what its closing block of the log
// says, and what a caller reads after the run.
#ifndef MX_CONTEXT_RUN_COUNTS_H_
#define MX_CONTEXT_RUN_COUNTS_H_

#include <cstdint>

namespace mx {

struct RunCounts {
  int32_t total = 0;
  int32_t success = 0;
  int32_t mscript = 0;
  int32_t no_mapping = 0;
  int32_t errors = 0;
};

}  // namespace mx

#endif  // MX_CONTEXT_RUN_COUNTS_H_
