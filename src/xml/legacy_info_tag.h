// The INFO section of a legacy conversion-object document: the target
// table's element (its TFLD and IND elements), the INCLUDE and VAR elements
// and the SRC_INFO element of the source tables and files. Unlike the
// data-dictionary section it has no SRCFIELD, SRCINDEX or SOURCETABLES
// element, and the target table's end tag has no line break after it.
#ifndef MX_XML_LEGACY_INFO_TAG_H_
#define MX_XML_LEGACY_INFO_TAG_H_

#include <string>

#include "context/build_context.h"
#include "context/conversion_object.h"
#include "context/legacy_run_facts.h"

namespace mx::legacy {

// *text = " <INFO>" CR LF " <" + U + ">" CR LF + TFLD + IND + " </" + U +
// ">" + INCLUDE and VAR + SRC_INFO + " </INFO>" CR LF, U being the upper-cased
// table code. *stbl is the object's source list; it leaves as the variables
// left it (grown by the tables that included functions declare), and the
// SRC_INFO element describes it so. Errors are reported in the legacy
// class's words and give False.
[[nodiscard]] bool Construct_Info_Tag(BuildContext& ctx,
                                      const LegacyRunFacts& facts,
                                      const ConversionObject& object,
                                      std::string* stbl, std::string* text);

}  // namespace mx::legacy

#endif  // MX_XML_LEGACY_INFO_TAG_H_
