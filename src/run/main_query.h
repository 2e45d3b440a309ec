// The main query of a conversion object with its select sections, one element
// per source table and section.
#ifndef MX_RUN_MAIN_QUERY_H_
#define MX_RUN_MAIN_QUERY_H_

#include <string>

#include "interface/generator_context.h"
#include "xml/conversion_object.h"

namespace mx::dd {

bool Construct_MainQuery_Tag(GeneratorContext& ctx,
                             const ConversionObject& object, std::string* text);

}  // namespace mx::dd

#endif  // MX_RUN_MAIN_QUERY_H_
