// The split queries added to a pre-condition text when a conversion is spread
// over several worker shells.
#ifndef MX_SPLIT_SPLIT_QUERIES_H_
#define MX_SPLIT_SPLIT_QUERIES_H_

#include <string>

#include "context/build_context.h"

namespace mx {

[[nodiscard]] bool AddSplitQueries_to_Precondition(
    BuildContext& ctx, const std::string& StrSrcAppl,
    const std::string& InString, const std::string& strTgtTable,
    std::string* StrReturnString);

}  // namespace mx

#endif  // MX_SPLIT_SPLIT_QUERIES_H_
