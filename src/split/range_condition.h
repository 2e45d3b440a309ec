// The range condition that restricts a source table's select to the rows of
// one worker shell: the rows after the shell's from-key, up to and including
// its to-key. The data-dictionary class compares the key as one value (a
// field, or an index or combined field against a compound key in braces);
// the legacy class chains the fields one by one, as its script engine has no
// compound comparison. Both are pure text.
#ifndef MX_SPLIT_RANGE_CONDITION_H_
#define MX_SPLIT_RANGE_CONDITION_H_

#include <string>
#include <vector>

namespace mx {

// What one split field is compared with: the from- and to-value of the
// worker shell's range.
struct RangeVariables {
  std::string from;
  std::string to;
};

}  // namespace mx

namespace mx::dd {

// `table` is the source table, `fields` the split fields in split order and
// `raw_field_list` the field list as the split table stores it (an index
// reference such as INDEX1, a combined field, or the fields themselves).
// One field: (T.f > :from.T.f and T.f <= :to.T.f). Several fields of one
// entry: the entry, prefixed "._" when it names an index, compared with the
// compound from- and to-keys {:from.T.f1 , :from.T.f2 ...}, the
// to-comparison on a line of its own. A list of several entries names no
// one key that could be compared ("T.k1, k2 > {...}" is no condition at
// all), so its fields are chained as the legacy class chains them, against
// :from.T.f and :to.T.f.
std::string Split_Range_Condition(const std::string& table,
                                  const std::vector<std::string>& fields,
                                  const std::string& raw_field_list);

}  // namespace mx::dd

namespace mx::legacy {

// The condition over T.f1 ... T.fn: greater than the from-key and not
// greater than the to-key, in key order, each written as a chain of
// equalities on the leading fields and one comparison on the next. `fields`
// and `variables` run in step and are not empty.
std::string Legacy_Split_Range_Condition(
    const std::string& table, const std::vector<std::string>& fields,
    const std::vector<RangeVariables>& variables);

}  // namespace mx::legacy

#endif  // MX_SPLIT_RANGE_CONDITION_H_
