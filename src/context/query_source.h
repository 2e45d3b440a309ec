// Where builders read the repository: one recordset per query, on the
// object's connection. Tests answer from a fake repository.
#ifndef MX_CONTEXT_QUERY_SOURCE_H_
#define MX_CONTEXT_QUERY_SOURCE_H_

#include <string>

#include "repository/recordset.h"

namespace mx {

class QuerySource {
 public:
  virtual ~QuerySource() = default;
  virtual repository::Recordset Query(const std::string& sql) = 0;
};

}  // namespace mx

#endif  // MX_CONTEXT_QUERY_SOURCE_H_
