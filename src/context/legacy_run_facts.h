// What the legacy run learns once, before its first conversion object, and
// its builders read: whether the target is a legacy source, and the profile
// numbers that the function library is searched in.
#ifndef MX_CONTEXT_LEGACY_RUN_FACTS_H_
#define MX_CONTEXT_LEGACY_RUN_FACTS_H_

#include <string>

namespace mx {

struct LegacyRunFacts {
  // True when the target application has no qxddi100 row with extn = 1: its
  // tables are described in qxlgy150, and rule rewriting leaves target(...)
  // references alone.
  bool target_source = false;
  // The profile's parents from qxmap101 joined with ",", or the profile's own
  // number when it has none: the inside of an SQL in-list.
  std::string profile_list;
};

}  // namespace mx

#endif  // MX_CONTEXT_LEGACY_RUN_FACTS_H_
