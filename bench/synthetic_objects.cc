#include "bench/synthetic_objects.h"

#include <cstdint>

namespace mx::bench {

std::string ObjectModule(int i) { return "m" + Digits(i / 1000, 2); }

std::string ObjectNumber(int i) { return Digits(i % 1000, 3); }

bool IsMScriptMember(const RepositoryShape& shape, int i) {
  return i >= shape.objects - 3 * shape.mscript_groups;
}

void WriteMScriptGroups(BulkWriter& db, const RepositoryShape& shape,
                        const std::function<void(const std::string& flno,
                                                 int first)>& write_parent) {
  for (int g = 0; g < shape.mscript_groups; ++g) {
    const std::string flno = Digits(g, 3);
    const int first = shape.objects - 3 * shape.mscript_groups + 3 * g;
    if (first < 0) continue;
    write_parent(flno, first);
    for (int m = first; m < first + 3; ++m) {
      db.Insert("qxmap170",
                "mprf, vers, rele, cust, cpac, cmod, cflno, bpac, bmod, bflno",
                {int64_t{kProfile}, kVers, kRele, kCust, "tb", ObjectModule(m),
                 ObjectNumber(m), "tb", "grp", flno});
    }
  }
}

}  // namespace mx::bench
