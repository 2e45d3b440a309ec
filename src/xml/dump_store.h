// The mapping rules of one target table as the dump builders of both classes
// read them from qxmap140: the dump store, keyed by dump number + table code
// + field name, and the dump numbers in the order first met. Also the parts
// of a DUMP element that both classes write alike, and the way the dump
// builders word their errors.
#ifndef MX_XML_DUMP_STORE_H_
#define MX_XML_DUMP_STORE_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "context/build_context.h"
#include "context/conversion_object.h"
#include "movx20xmlgen/error.h"
#include "movx20xmlgen/records.h"
#include "platform/ordered_dict.h"

namespace mx {

struct DumpStore {
  OrderedDict<CDumpInfo> rules;
  std::vector<int16_t> dump_list;

  // The rule of field `field_name` of table `table` in dump `dump_no`.
  const CDumpInfo* Find(int16_t dump_no, const std::string& table,
                        const std::string& field_name) const;
};

// Makes a rule as read ready for the store (rewrites StrMapRule, may change
// IntFieldType). False stops the reading: the callee has reported why.
using PrepareRule = std::function<bool(CDumpInfo* rule)>;

// Reads the rules of the object's target table (profile, version triple,
// cpac, cmod, flno) in dump-number order into `store`, each through
// `prepare`. Raises error 522 when the table has no rules. The first rule
// starts the dump list whatever its number, dump 0 included.
[[nodiscard]] bool ReadDumpRules(BuildContext& ctx,
                                 const ConversionObject& object,
                                 const PrepareRule& prepare, DumpStore* store);

// QTY for qty, QTY-10 for qty(10).
std::string DumpElementName(const std::string& field_name);

// "<DUMP-n TARGET="table">" CR LF and "</DUMP-n>" CR LF.
std::string DumpOpeningTag(int16_t dump_no, const std::string& table);
std::string DumpClosingTag(int16_t dump_no);

// The dump builders word their errors their own way: ErrorDescription holds
// `operation_text` + N + " - " + description; the log line has two TABs
// before it and ends in CR LF.
void ReportDumpError(BuildContext& ctx, std::string_view operation_text,
                     const VbError& error);

}  // namespace mx

#endif  // MX_XML_DUMP_STORE_H_
