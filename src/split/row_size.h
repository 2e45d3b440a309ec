// The size in bytes of one record of a data-dictionary table.
#ifndef MX_SPLIT_ROW_SIZE_H_
#define MX_SPLIT_ROW_SIZE_H_
#endif  // MX_SPLIT_ROW_SIZE_H_
