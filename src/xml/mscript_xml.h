// The M-script document of the data-dictionary class: one document for the
// group of target tables that qxmap170 ties to a parent code, named and
// rooted after the parent. The members are handed back to the run, which adds
// them to ListOfXMLGenerated, so it skips the other members.
#ifndef MX_XML_MSCRIPT_XML_H_
#define MX_XML_MSCRIPT_XML_H_

#include <optional>
#include <string>

#include "context/build_context.h"
#include "context/conversion_object.h"
#include "platform/env.h"

namespace mx::dd {

// `child` is the member that the run met. The member list (codes joined
// with ",") when the document was written; nullopt when it failed (reported).
// A parent without members fails with error 1011.
std::optional<std::string> Create_MScript_XML(BuildContext& ctx, Env& env,
                                              const ConversionObject& child);

// The INFO section: per member its fields and indexes, then the parent's
// variables, the source fields and indexes, and the source tables.
[[nodiscard]] bool Construct_MScript_info_Tag(BuildContext& ctx,
                                              const ConversionObject& parent,
                                              const std::string& members,
                                              std::string* text);

}  // namespace mx::dd

#endif  // MX_XML_MSCRIPT_XML_H_
