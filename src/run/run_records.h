// What both generation runs read from the repository: the profile, the
// target tables, the mapping record of a conversion object, and the queries
// that find them. The two classes read numbers at different widths (16-bit
// profile numbers and depths in the data-dictionary class, 32-bit in the
// legacy class), so a profile row is read by the class's own reader.
#ifndef MX_RUN_RUN_RECORDS_H_
#define MX_RUN_RUN_RECORDS_H_

#include <cstdint>
#include <optional>
#include <string>

#include "context/query_source.h"
#include "movx20xmlgen/error.h"
#include "repository/recordset.h"
#include "run/run_log.h"

namespace mx {

struct Profile {
  int32_t number = 0;
  std::string sapp, tapp;
  VersionTriple version;
  VersionTriple from;
  int32_t depth = 0;
  bool checked_out = false;  // scme = "Y"
};

struct TargetTable {
  std::string cpac, cmod, flno;
  std::string Code() const { return cpac + cmod + flno; }
};

// The mapping record of a conversion object and where it was found.
struct Mapping {
  int32_t profile = 0;
  VersionTriple working;
  std::string stat, prtx, comt;
  std::optional<std::string> stbl;  // null stays null: the legacy run says so
  bool isms = false;
};

VersionTriple ReadTriple(const repository::Recordset& rs, const char* v,
                         const char* r, const char* c);

// A qxmap100 row, its numbers read at 16 or 32 bits (error 6 beyond).
Profile ReadProfileRow16(const repository::Recordset& rs);
Profile ReadProfileRow32(const repository::Recordset& rs);

std::string ProfileQuery(int32_t number);
VbError MissingProfileError(int32_t number);
std::string CheckedOutQuery(int32_t profile);
// The version of `profile` that is checked out; blank when none is.
VersionTriple ReadCheckedOutTriple(QuerySource& source, int32_t profile);
std::string ParentProfileQuery(const VersionTriple& from);
std::string MappingQuery(int32_t profile, const VersionTriple& working,
                         const TargetTable& table,
                         const std::string& status_filter);
Mapping ReadMapping(const repository::Recordset& rs, int32_t profile,
                    const VersionTriple& working);

}  // namespace mx

#endif  // MX_RUN_RUN_RECORDS_H_
