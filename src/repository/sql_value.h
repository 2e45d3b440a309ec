// Text values placed between single quotes in a query: an embedded single
// quote is doubled, so that a value such as O'Neil reads as itself and no
// value can change the query around it. A value without quotes is unchanged.
#ifndef MX_REPOSITORY_SQL_VALUE_H_
#define MX_REPOSITORY_SQL_VALUE_H_

#include <string>
#include <string_view>

namespace mx::repository {

inline std::string SqlValue(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    out.push_back(c);
    if (c == '\'') out.push_back('\'');
  }
  return out;
}

}  // namespace mx::repository

#endif  // MX_REPOSITORY_SQL_VALUE_H_
