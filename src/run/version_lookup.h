// The search for the mapping record of one target table: the profile's
// working version (its checked-out version when there is one, falling back
// to its own version once per level) and, with traversal, the profiles it
// derives from, level by level up the chain.
//
// The two classes climb the chain differently; the rules stand side by side:
//
//                            data-dictionary class     legacy class
//   depth at a parent        counts again from 1       keeps counting
//   depth limit at a parent  the parent's deph         the run profile's deph
//   parent's checked-out     its own scme flag         the run profile's flag
//   numbers read at          16 bits                   32 bits
//
// In both, a chain that comes back to a profile already searched, or a level
// with no profile to climb to, ends the search without a mapping.
#ifndef MX_RUN_VERSION_LOOKUP_H_
#define MX_RUN_VERSION_LOOKUP_H_

#include <optional>
#include <string>

#include "context/query_source.h"
#include "context/settings.h"
#include "run/run_records.h"

namespace mx {

struct ClimbRules {
  bool depth_restarts_at_parent;
  bool parent_uses_own_checked_out_flag;
  Profile (*read_profile_row)(const repository::Recordset&);

  static ClimbRules DataDictionary() { return {true, true, &ReadProfileRow16}; }
  static ClimbRules Legacy() { return {false, false, &ReadProfileRow32}; }
};

class VersionLookup {
 public:
  // `run_checked_out` is the run profile's checked-out triple (blanks when
  // none is considered); `status_filter` the run's in-list of statuses.
  VersionLookup(QuerySource& queries, const GeneratorSettings& settings,
                const ClimbRules& rules, const Profile& run_profile,
                const VersionTriple& run_checked_out,
                const std::string& status_filter)
      : queries_(queries),
        settings_(settings),
        rules_(rules),
        run_profile_(run_profile),
        run_checked_out_(run_checked_out),
        status_filter_(status_filter) {}

  std::optional<Mapping> Find(const TargetTable& table);
  // The same search over other queries (a builder's on another thread).
  VersionLookup OnQueries(QuerySource& queries) const {
    return VersionLookup(queries, settings_, rules_, run_profile_,
                         run_checked_out_, status_filter_);
  }

 private:
  std::optional<Mapping> Query(int32_t profile, const VersionTriple& working,
                               const TargetTable& table);
  VersionTriple CheckedOutOf(int32_t profile);

  QuerySource& queries_;
  const GeneratorSettings& settings_;
  const ClimbRules rules_;
  const Profile& run_profile_;
  const VersionTriple run_checked_out_;
  const std::string status_filter_;
};

}  // namespace mx

#endif  // MX_RUN_VERSION_LOOKUP_H_
