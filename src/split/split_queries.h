// The split queries added to a pre-condition text when a conversion is
// spread over several worker shells: before every migrate statement, the
// range code of the migrated source table; for the main query, the table's
// range condition in the document's range dictionary (key: the table in
// upper case); in the data-dictionary class, the declarations the range code
// needs, for the variables section.
#ifndef MX_SPLIT_SPLIT_QUERIES_H_
#define MX_SPLIT_SPLIT_QUERIES_H_

#include <string>

#include "context/build_context.h"

namespace mx::dd {

// Rewrites the pre-condition `InString` of target table `strTgtTable` into
// *StrReturnString. The range dictionary describes this one text: it starts
// empty, and a second migrate of the same table is error 457. The split
// declarations start with the two counters and end with the qxgct872 table
// line, whatever the text holds. The source table of a migrate is the 8
// characters after it (tabs dropped, leading blanks skipped). A target
// without split rows, or a text without migrate, comes back unchanged; a
// migrated table without split fields is error 1009. On failure the error is
// reported in the operation's own words, *StrReturnString is left as it was
// and the result is False.
[[nodiscard]] bool AddSplitQueries_to_Precondition(
    BuildContext& ctx, const std::string& StrSrcAppl,
    const std::string& InString, const std::string& strTgtTable,
    std::string* StrReturnString);

}  // namespace mx::dd

namespace mx::legacy {

// As the data-dictionary operation, with the legacy range code and no
// declarations; the source table of a migrate is the word after it (up to a
// blank, CR or LF).
[[nodiscard]] bool AddSplitQueries_to_Precondition(
    BuildContext& ctx, const std::string& StrSrcAppl,
    const std::string& InString, const std::string& strTgtTable,
    std::string* StrReturnString);

}  // namespace mx::legacy

#endif  // MX_SPLIT_SPLIT_QUERIES_H_
