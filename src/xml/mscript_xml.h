// The M-script document of the data-dictionary class: one document for the
// group of target tables that qxmap170 ties to a parent code, named and
// rooted after the parent. Every member is added to ListOfXMLGenerated before
// the document is built, so the run skips the other members.
#ifndef MX_XML_MSCRIPT_XML_H_
#define MX_XML_MSCRIPT_XML_H_

#include <string>

#include "interface/generator_context.h"
#include "xml/conversion_object.h"

namespace mx::dd {

// `object` is the member that the run met (the child).
bool Create_MScript_XML(GeneratorContext& ctx, const ConversionObject& object);

// The INFO section: per member its fields and indexes, then the parent's
// variables, the source fields and indexes, and the source tables.
bool Construct_MScript_info_Tag(GeneratorContext& ctx,
                                const ConversionObject& parent,
                                const std::string& members, std::string* text);

}  // namespace mx::dd

#endif  // MX_XML_MSCRIPT_XML_H_
