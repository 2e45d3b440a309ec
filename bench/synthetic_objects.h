// What the two synthetic repositories share: the version of the mapping every
// row carries, the codes of conversion object i (package "tb", module
// "m" + i / 1000, number i % 1000), and the M-script groups of three (the
// last objects of the range, members of the parents tbgrp000, tbgrp001, ...).
#ifndef MX_BENCH_SYNTHETIC_OBJECTS_H_
#define MX_BENCH_SYNTHETIC_OBJECTS_H_

#include <functional>
#include <string>

#include "bench/bulk_writer.h"
#include "bench/synthetic_repository.h"

namespace mx::bench {

inline constexpr char kVers[] = "V100";
inline constexpr char kRele[] = "01";
inline constexpr char kCust[] = "BENC";

std::string ObjectModule(int i);  // "m00", "m01", ...
std::string ObjectNumber(int i);  // "000" to "999"

// Whether object i is a member of an M-script group.
bool IsMScriptMember(const RepositoryShape& shape, int i);

// For each group: its number as a table code ("000", ...) and its first
// member, after the group's members are written into qxmap170;
// `write_parent` writes the parent's own rows.
void WriteMScriptGroups(BulkWriter& db, const RepositoryShape& shape,
                        const std::function<void(const std::string& flno,
                                                 int first)>& write_parent);

}  // namespace mx::bench

#endif  // MX_BENCH_SYNTHETIC_OBJECTS_H_
