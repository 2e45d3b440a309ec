// Large synthetic repositories of a legacy profile for the benchmark: a
// chosen number of conversion objects, each a legacy target table (its
// layout in qxlgy150) read from a source of its own that is, in turn, a
// comma-separated flat file, a fixed-length flat file or a foreign table.
// Main queries need translation (select * and qualifier.* expanded from the
// source fields, qualified names, aliases), rules reference source fields,
// conversion codes and declared variables; some objects include a function
// from the function repository or carry functions of their own; M-script
// groups; the side files get a Schema.ini section per flat file, conversion
// codes and a lookup application. The same shape and seed give the same
// file, byte for byte.
#ifndef MX_BENCH_SYNTHETIC_LEGACY_REPOSITORY_H_
#define MX_BENCH_SYNTHETIC_LEGACY_REPOSITORY_H_

#include <string>

#include "bench/synthetic_repository.h"

namespace mx::bench {

// Creates FILE (it must not exist) with the shipped schema and fills it with
// the legacy profile kProfile over the range kRangeFrom to kRangeTo. Uses
// objects, fields, dumps, sections, mscript_groups, special_rule_percent
// and seed of the shape.
void WriteSyntheticLegacyRepository(const std::string& path,
                                    const RepositoryShape& shape);

}  // namespace mx::bench

#endif  // MX_BENCH_SYNTHETIC_LEGACY_REPOSITORY_H_
