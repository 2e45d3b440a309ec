// The table-valued function through which a query of the run's copy reads a
// map of row_maps.h:
//
//   SELECT ... FROM mx_rows(KEY, LITERAL..., TERM..., ALTERNATIVE...) AS m
//       CROSS JOIN table WHERE table.rowid = m.mx_rid AND ...
//
// gives in column mx_rid the rowids (ascending) of the rows of key number
// KEY whose terms may equal the TERMs followed by one of the ALTERNATIVEs of
// the last term; the LITERALs are the texts the query joins where the key
// has literal parts (see RowMaps::Find). At most kRowMapArguments
// arguments. Every column is hidden: `*` leaves them out.
#ifndef MX_REPOSITORY_ROW_MAP_MODULE_H_
#define MX_REPOSITORY_ROW_MAP_MODULE_H_

#include <memory>

#include "repository/row_maps.h"

struct sqlite3;

namespace mx::repository {

inline constexpr int kRowMapArguments = 32;
inline constexpr char kRowMapFunction[] = "mx_rows";
inline constexpr char kRowMapRowid[] = "mx_rid";

// Makes mx_rows known to `db`, which keeps `maps` for as long as it is
// open. False when SQLite refuses.
bool RegisterRowMapModule(sqlite3* db, std::shared_ptr<const RowMaps> maps);

}  // namespace mx::repository

#endif  // MX_REPOSITORY_ROW_MAP_MODULE_H_
