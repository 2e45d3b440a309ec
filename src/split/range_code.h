// The range pieces of one source table of a split conversion: the code,
// placed before the table's migrate statement, that loads the worker shell's
// from- and to-keys into range variables, and the condition that the main
// query adds to the table's where-clause. The data-dictionary class writes
// target-system 4GL that reads the keys from the worker-shell table
// qxgct872 (and declares its range variables); the legacy class writes
// script text that takes them from the split information through
// GetFromToRange. No handler: repository errors go to the caller.
#ifndef MX_SPLIT_RANGE_CODE_H_
#define MX_SPLIT_RANGE_CODE_H_

#include <string>

#include "context/build_context.h"

namespace mx {

struct SplitRangePieces {
  std::string declarations;  // data-dictionary class only
  std::string code;
  std::string condition;
};

}  // namespace mx

namespace mx::dd {

// `split_fields` is the list get_split_fields gives (comma-separated, in
// split order; each name is taken trimmed, in both classes) and
// `raw_field_list` the list as stored. The declarations and
// case branches cover the split fields found in qxddi150, in the order the
// repository returns them; each value is read from qxgct872 by the type of
// the field's domain. The condition names every split field.
SplitRangePieces Build_Split_Range_Code(BuildContext& ctx,
                                        const std::string& source_application,
                                        const std::string& target_table,
                                        const std::string& source_table,
                                        const std::string& split_fields,
                                        const std::string& raw_field_list);

}  // namespace mx::dd

namespace mx::legacy {

// The script that fills the range variables of `source_table` from the
// split information, and the chained condition over them. Variables of
// text and time fields (dtyp M, S, T) are named varstr_..., the others
// varint_.... Each value of the range text is taken from the position of its
// field in the split-field list, the order in which the range text lists
// them, whatever order the field query returns. The condition qualifies
// the fields by the table, or by the base name of a flat file (cust.txt:
// cust.CODE), as the file's select text names them. No declarations.
SplitRangePieces Build_Legacy_Split_Range_Code(BuildContext& ctx,
                                               const std::string& application,
                                               const std::string& target_table,
                                               const std::string& source_table,
                                               const std::string& split_fields);

}  // namespace mx::legacy

#endif  // MX_SPLIT_RANGE_CODE_H_
