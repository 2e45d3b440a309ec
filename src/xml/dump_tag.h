// The DUMP elements of a document: for every dump number of the target
// table's mapping rules, every field of the field store with its rewritten
// rule or its neutral value. The field store must already hold the table's
// fields (the field builders fill it earlier in the same document).
#ifndef MX_XML_DUMP_TAG_H_
#define MX_XML_DUMP_TAG_H_

#include <string>

#include "context/build_context.h"
#include "context/conversion_object.h"

namespace mx::dd {

// The DUMP-n elements of the object's target table (profile, version triple,
// cpac, cmod, flno, sapp and tapp are read). `for_mscript` says the call
// comes from an M-script; it changes nothing. False (reported, *text empty)
// when the table has no rules (error 522) or a rule cannot be rewritten.
[[nodiscard]] bool Construct_Dump_Tag(BuildContext& ctx,
                                      const ConversionObject& object,
                                      bool for_mscript, std::string* text);

// The dumps of every member of an M-script, in list order, each member's
// block followed by CR LF. `member_list` holds table codes joined by ",";
// each splits into package (characters 1-2), module (3-5) and table number
// (6-8). Of `object` the profile, version triple, sapp and tapp are read.
[[nodiscard]] bool Construct_MScript_Dump_Tag(BuildContext& ctx,
                                              const ConversionObject& object,
                                              const std::string& member_list,
                                              std::string* text);

}  // namespace mx::dd

#endif  // MX_XML_DUMP_TAG_H_
