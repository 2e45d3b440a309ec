#include "split/split_queries.h"

namespace mx {

// Split runs are not built yet. Writing the document without its split
// queries would give a conversion that silently ignores the split, so the
// document fails with a line that says why.
bool AddSplitQueries_to_Precondition(BuildContext& ctx, const std::string&,
                                     const std::string&,
                                     const std::string& strTgtTable,
                                     std::string* StrReturnString) {
  StrReturnString->clear();
  ctx.ReportOperationError(438, "Split runs are not available yet: " +
                                    strTgtTable + " cannot be split");
  return false;
}

}  // namespace mx
