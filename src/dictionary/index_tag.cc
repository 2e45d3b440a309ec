#include "dictionary/index_tag.h"

namespace mx::dd {

// The index sections are not built yet: they contribute nothing.

bool Construct_Index_Tag(GeneratorContext&, const std::string&,
                         const std::string&, const std::string&,
                         const std::string&, std::string* text) {
  text->clear();
  return true;
}

bool Construct_Source_Field_Tag(GeneratorContext&, const std::string&,
                                const std::string&, std::string* text) {
  text->clear();
  return true;
}

bool Construct_Source_Index_Tag(GeneratorContext&, const std::string&,
                                const std::string&, std::string* text) {
  text->clear();
  return true;
}

}  // namespace mx::dd
