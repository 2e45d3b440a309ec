// The index elements of the target table and the source-field and
// source-index lists of the INFO section.
#ifndef MX_DICTIONARY_INDEX_TAG_H_
#define MX_DICTIONARY_INDEX_TAG_H_

#include <string>

#include "interface/generator_context.h"

namespace mx::dd {

bool Construct_Index_Tag(GeneratorContext& ctx, const std::string& application,
                         const std::string& package, const std::string& module,
                         const std::string& table, std::string* text);
bool Construct_Source_Field_Tag(GeneratorContext& ctx,
                                const std::string& application,
                                const std::string& source_tables,
                                std::string* text);
bool Construct_Source_Index_Tag(GeneratorContext& ctx,
                                const std::string& application,
                                const std::string& source_tables,
                                std::string* text);

}  // namespace mx::dd

#endif  // MX_DICTIONARY_INDEX_TAG_H_
