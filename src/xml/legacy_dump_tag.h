// The DUMP elements of a legacy document: for every dump number of the
// target table's mapping rules, every field of the field store with its rule
// or its neutral value, written without VALUE elements. The rules are
// rewritten and translated to the conversion program's names as they are
// read. The field store must already hold the table's fields.
#ifndef MX_XML_LEGACY_DUMP_TAG_H_
#define MX_XML_LEGACY_DUMP_TAG_H_

#include <string>

#include "context/build_context.h"
#include "context/conversion_object.h"
#include "context/legacy_run_facts.h"

namespace mx::legacy {

// The DUMP-n elements of the object's target table (profile, version triple,
// cpac, cmod, flno, sapp and tapp are read; `stbl` is the source-table
// list, which the translation of a rule does not need). A rule holding
// get_code is written as a rule of type 1 whatever its stored type. False
// (reported as "ERROR in Construct_Dump_Tag :-" N " - " description, *text
// empty) when the table has no rules (error 522) or a rule cannot be
// rewritten or translated (error 126).
[[nodiscard]] bool Construct_Dump_Tag(BuildContext& ctx,
                                      const LegacyRunFacts& facts,
                                      const ConversionObject& object,
                                      const std::string& stbl,
                                      std::string* text);

// The dumps of every member of an M-script, in list order, each member's
// block followed by CR LF. `members` holds table codes joined by ","; each
// splits into package (characters 1-2), module (3-5) and table number (the
// rest, whatever its length). Of `object` the profile, version triple, sapp
// and tapp are read.
[[nodiscard]] bool Construct_MScript_Dump_Tag(BuildContext& ctx,
                                              const LegacyRunFacts& facts,
                                              const ConversionObject& object,
                                              const std::string& members,
                                              const std::string& stbl,
                                              std::string* text);

}  // namespace mx::legacy

#endif  // MX_XML_LEGACY_DUMP_TAG_H_
