#include "run/main_query.h"

namespace mx::dd {

// The main-query sections are not built yet: they contribute nothing.
bool Construct_MainQuery_Tag(GeneratorContext&, const ConversionObject&,
                             std::string* text) {
  text->clear();
  return true;
}

}  // namespace mx::dd
