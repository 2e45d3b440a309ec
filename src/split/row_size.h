// The size in bytes of one record of a data-dictionary table, as the split
// and 2 GB checks of the target runtime count it: the sum of the sizes of its
// fields by domain type. Public through ClsXMLGenerator.
#ifndef MX_SPLIT_ROW_SIZE_H_
#define MX_SPLIT_ROW_SIZE_H_

#include <cstdint>
#include <string>

#include "context/build_context.h"

namespace mx {

// The row size of table `i_StrTable` (package + module + table number) of
// application `i_StrAppl`; 1 for a table without fields. One field's size is
// a 16-bit number and the sum a 32-bit one (error 6 past either). A type the
// runtime does not size counts 0. Has no handler: repository errors go to the
// caller.
int32_t RowSizeofTable(BuildContext& ctx, const std::string& i_StrAppl,
                       const std::string& i_StrTable);

}  // namespace mx

#endif  // MX_SPLIT_ROW_SIZE_H_
