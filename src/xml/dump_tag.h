// The DUMP elements of a document: for every dump number, every field of the
// field store with its rewritten rule or its neutral value.
#ifndef MX_XML_DUMP_TAG_H_
#define MX_XML_DUMP_TAG_H_

#include <string>

#include "interface/generator_context.h"
#include "xml/conversion_object.h"

namespace mx::dd {

bool Construct_Dump_Tag(GeneratorContext& ctx, const ConversionObject& object,
                        bool for_mscript, std::string* text);

}  // namespace mx::dd

#endif  // MX_XML_DUMP_TAG_H_
