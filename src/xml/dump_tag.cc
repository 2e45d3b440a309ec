#include "xml/dump_tag.h"

namespace mx::dd {

// The dump sections are not built yet: they contribute nothing.
bool Construct_Dump_Tag(GeneratorContext&, const ConversionObject&, bool,
                        std::string* text) {
  text->clear();
  return true;
}

}  // namespace mx::dd
