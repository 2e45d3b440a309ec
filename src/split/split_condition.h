// The split-condition rule: how a worker shell's range condition is added to
// the where-clause of a formatted select text. Both classes' main-query
// builders use it on the output of their own Format_String, which always ends
// in a blank; the rule relies on that blank and drops it where it cuts the
// text.
#ifndef MX_SPLIT_SPLIT_CONDITION_H_
#define MX_SPLIT_SPLIT_CONDITION_H_

#include <string>

namespace mx {

// Inserts `condition` into `formatted_query`. Searches ignore case:
//  - no " where " and no closing clause (" group ", else " having ", else
//    " order "): the query, CR LF, "where " + condition;
//  - a closing clause but no where: "where " + condition on a new line
//    before the clause;
//  - a where: the existing where-clause in parentheses, then " and " and the
//    condition, then the closing clause if any.
// Where the text is cut after the condition, its last character (the
// formatter's trailing blank) is dropped. A closing clause only counts when
// it follows the where: one met earlier (inside a column list, say) would cut
// the where-clause at a negative length.
std::string InsertSplitCondition(const std::string& formatted_query,
                                 const std::string& condition);

}  // namespace mx

#endif  // MX_SPLIT_SPLIT_CONDITION_H_
