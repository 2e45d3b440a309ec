// The M-script document: one document for a group of target tables under a
// parent code.
#ifndef MX_XML_MSCRIPT_XML_H_
#define MX_XML_MSCRIPT_XML_H_

#include "interface/generator_context.h"
#include "xml/conversion_object.h"

namespace mx::dd {

bool Create_MScript_XML(GeneratorContext& ctx, const ConversionObject& object);

}  // namespace mx::dd

#endif  // MX_XML_MSCRIPT_XML_H_
