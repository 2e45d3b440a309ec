#include "dictionary/variable_tag.h"

namespace mx::dd {

// Variables, includes and functions are not built yet: they contribute
// nothing, and the declared-variables text stays empty.

bool Construct_Variable_Tag(GeneratorContext& ctx, const ConversionObject&,
                            const std::string&, std::string* text) {
  ctx.doc.declared_variables.clear();
  text->clear();
  return true;
}

bool Construct_Function_Tag(GeneratorContext&, const ConversionObject&,
                            std::string* text) {
  text->clear();
  return true;
}

}  // namespace mx::dd
