// The main query of a legacy conversion object: one element per source table,
// named by its table or file name (cust.txt gives CUST_TXT), holding one
// element per qxmap130 row named by the row's section code, in the order
// read (X, S, O, F, E, D). The texts of legacy tables (module TBL) and files
// (FIL) are translated to the names the conversion program knows; every text
// is escaped for the document.
#ifndef MX_XML_LEGACY_MAIN_QUERY_H_
#define MX_XML_LEGACY_MAIN_QUERY_H_

#include <string>

#include "context/build_context.h"
#include "context/conversion_object.h"
#include "context/legacy_run_facts.h"

namespace mx::legacy {

// Reads the rows of the object's target table (profile, working version,
// cpac/cmod/flno; sapp and tapp for the translation) and writes the elements
// as it reads them. No rows: True and an empty text. A split condition stored
// under the upper-cased table or file name goes into the where-clause of its
// select text. A failed translation or rule rewriting is error 125: reported
// in the legacy words, *text empty, False. `stbl`, the source-table list, is
// not needed by the translation.
[[nodiscard]] bool Construct_MainQuery_Tag(BuildContext& ctx,
                                           const LegacyRunFacts& facts,
                                           const ConversionObject& object,
                                           const std::string& stbl,
                                           std::string* text);

}  // namespace mx::legacy

#endif  // MX_XML_LEGACY_MAIN_QUERY_H_
