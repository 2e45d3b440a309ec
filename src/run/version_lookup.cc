#include "run/version_lookup.h"

#include <set>

#include "platform/vb_text.h"

namespace mx {

using repository::Recordset;

std::optional<Mapping> VersionLookup::Query(int32_t profile,
                                            const VersionTriple& working,
                                            const TargetTable& table) {
  Recordset rs =
      queries_.Query(MappingQuery(profile, working, table, status_filter_));
  if (rs.Eof()) return std::nullopt;
  return ReadMapping(rs, profile, working);
}

VersionTriple VersionLookup::CheckedOutOf(int32_t profile) {
  Recordset rs = queries_.Query(CheckedOutQuery(profile));
  if (rs.Eof()) return VersionTriple::Blank();
  return ReadTriple(rs, "dver", "drel", "dcus");
}

std::optional<Mapping> VersionLookup::Find(const TargetTable& table) {
  int32_t profile = run_profile_.number;
  int32_t depth_limit = run_profile_.depth;
  VersionTriple current = run_profile_.version;
  VersionTriple from = run_profile_.from;
  VersionTriple checked_out = run_checked_out_;
  bool checked_out_flag = run_profile_.checked_out;
  auto working_triple = [&] {
    return vb::IsBlank(checked_out.vers) ? current : checked_out;
  };
  VersionTriple working = working_triple();
  std::set<int32_t> searched = {profile};
  bool fell_back = false;

  for (int32_t depth = 1; depth <= depth_limit;) {
    if (auto found = Query(profile, working, table)) return found;
    if (!fell_back && working == checked_out) {
      working = current;
      fell_back = true;
      continue;
    }
    ++depth;
    // Without a profile to climb to, the next levels would repeat the
    // queries that just found nothing.
    if (!settings_.traverse_generation) return std::nullopt;
    Recordset parent = queries_.Query(ParentProfileQuery(from));
    if (parent.Eof()) return std::nullopt;
    const Profile p = rules_.read_profile_row(parent);
    if (!searched.insert(p.number).second) return std::nullopt;
    current = p.version;
    from = p.from;
    profile = p.number;
    fell_back = false;
    if (rules_.depth_restarts_at_parent) {
      depth = 1;
      depth_limit = p.depth;
    }
    if (rules_.parent_uses_own_checked_out_flag) {
      checked_out_flag = p.checked_out;
    }
    checked_out = (settings_.consider_checked_out_versions && checked_out_flag)
                      ? CheckedOutOf(profile)
                      : VersionTriple::Blank();
    working = working_triple();
  }
  return std::nullopt;
}

}  // namespace mx
