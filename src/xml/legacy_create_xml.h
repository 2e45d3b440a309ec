// The documents of the legacy class: the conversion-object document and the
// M-script document, built from the legacy section builders and written
// enciphered, without extension, to XMLPath/cpaccmod/x<table code>0. The
// conversion-object document is not checked for well-formedness (it may
// carry names such as F08$, which the legacy tools read); the M-script
// document is checked as the data-dictionary one is.
#ifndef MX_XML_LEGACY_CREATE_XML_H_
#define MX_XML_LEGACY_CREATE_XML_H_

#include <optional>
#include <string>

#include "context/build_context.h"
#include "context/conversion_object.h"
#include "context/legacy_run_facts.h"
#include "platform/env.h"

namespace mx::legacy {

// Writes the conversion-object document. In a split run its pre-conditions
// first get the range code before every migrate (and the main query the
// range conditions); when that fails, no file is written. Errors are
// reported in the legacy class's words; False then.
[[nodiscard]] bool Create_XML(BuildContext& ctx, Env& env,
                              const LegacyRunFacts& facts,
                              const ConversionObject& object);

// Writes the M-script document of `child`'s parent. The member list (codes
// joined with ",") when it was written; nullopt when it failed (reported).
// A parent without members fails with error 1011.
std::optional<std::string> Create_MScript_XML(BuildContext& ctx, Env& env,
                                              const LegacyRunFacts& facts,
                                              const ConversionObject& child);

// The INFO section of an M-script: per member its legacy field element and
// indexes, then the parent's variables (which may extend *stbl), SRC_INFO and
// the source tables.
[[nodiscard]] bool Construct_MScript_info_Tag(BuildContext& ctx,
                                              const LegacyRunFacts& facts,
                                              const ConversionObject& parent,
                                              const std::string& members,
                                              std::string* stbl,
                                              std::string* text);

}  // namespace mx::legacy

#endif  // MX_XML_LEGACY_CREATE_XML_H_
