// Large synthetic repositories for the benchmark: one migration profile with
// a chosen number of conversion objects, each a target table with its own
// source table, fields with domains, dumps of rules (source-field
// references, target(...) enumeration constants, empty(), literals, rules of
// type 1), a main query with sections, variables, functions, indexes with a
// combined part, and M-script groups. The same parameters and seed give the
// same file, byte for byte.
#ifndef MX_BENCH_SYNTHETIC_REPOSITORY_H_
#define MX_BENCH_SYNTHETIC_REPOSITORY_H_

#include <cstdint>
#include <string>

namespace mx::bench {

struct RepositoryShape {
  int objects = 5000;             // target tables (conversion objects)
  int fields = 40;                // per target table and per source table
  int dumps = 2;                  // rules of every field in each dump
  int domains = 500;              // half target, half source application
  int enum_constants = 8;         // per enumeration domain
  int special_rule_percent = 20;  // rules with target(...) or empty()
  int sections = 3;               // main-query sections per object (1-6)
  int mscript_groups = 10;        // groups of three M-script members
  // When above 0, the first object's pre-condition and a type-1 rule of its
  // first dump are each about this many bytes of statements with empty()
  // (a check that long texts cost time in proportion to their length).
  int long_text_bytes = 0;
  uint64_t seed = 1;
};

// The profile, applications and range the repository holds.
inline constexpr int kProfile = 1;
inline constexpr char kRangeFrom[] = "tbm00000";
inline constexpr char kRangeTo[] = "tbm99999";

// Creates FILE (it must not exist) with the shipped schema and fills it.
void WriteSyntheticRepository(const std::string& path,
                              const RepositoryShape& shape);

}  // namespace mx::bench

#endif  // MX_BENCH_SYNTHETIC_REPOSITORY_H_
