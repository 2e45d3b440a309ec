// The VAR and INCLUDE elements of a conversion object (which also set the
// declared-variables text that rule rewriting reads) and its FUNCTION element.
#ifndef MX_DICTIONARY_VARIABLE_TAG_H_
#define MX_DICTIONARY_VARIABLE_TAG_H_

#include <string>

#include "interface/generator_context.h"
#include "xml/conversion_object.h"

namespace mx::dd {

// `tables` is the table code of the document, or the member list of an
// M-script.
bool Construct_Variable_Tag(GeneratorContext& ctx,
                            const ConversionObject& object,
                            const std::string& tables, std::string* text);
bool Construct_Function_Tag(GeneratorContext& ctx,
                            const ConversionObject& object, std::string* text);

}  // namespace mx::dd

#endif  // MX_DICTIONARY_VARIABLE_TAG_H_
