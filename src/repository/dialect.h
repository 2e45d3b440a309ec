// Adapting the original server's SQL text to another engine. For SQLite every
// "+" outside a string literal becomes "||" and nothing else changes.
#ifndef MX_REPOSITORY_DIALECT_H_
#define MX_REPOSITORY_DIALECT_H_

#include <string>
#include <string_view>

namespace mx::repository {

std::string PlusToConcat(std::string_view sql);

}  // namespace mx::repository

#endif  // MX_REPOSITORY_DIALECT_H_
