// Sends a query of the run's copy to a map of its table (row_maps.h). A
// single-table query whose WHERE clause is conditions joined by AND, among
// them `TERM = VALUE` for every term of one of the table's mapped keys
// (VALUE a parameter or a literal, or upper() of one; the last term may be
// `TERM IN (?, ...)`), reads the table through the map (a
// query that joins a second table after it with a comma keeps that order,
// and its conditions on the mapped table must name it):
//
//   SELECT ... FROM mx_rows(KEY, LITERAL..., ?1, ...) AS mx_rows_m
//       CROSS JOIN table WHERE ... AND table.rowid = mx_rows_m.mx_rid
//       ORDER BY ..., mx_rows_m.mx_rid
//
// Its parameters are numbered, so that the call names the same values as
// the conditions it serves. The query keeps every condition of its own and
// its order (the rowid it ends with is the map's rowid, which is the
// table's), so it gives the same rows in the same order; only the way
// SQLite finds them changes. Joining the map (rather than `rowid IN` it)
// spares SQLite a temporary table per query, which cost as much as the
// lookup itself. A query outside that shape is left as it is.
#ifndef MX_REPOSITORY_ROW_MAP_LOOKUP_H_
#define MX_REPOSITORY_ROW_MAP_LOOKUP_H_

#include "repository/row_maps.h"
#include "repository/sql_parameters.h"

namespace mx::repository {

// True when `query` (SQLite text, parameterised) was given a map.
bool AddRowMapLookup(const RowMaps& maps, ParameterisedSql* query);

}  // namespace mx::repository

#endif  // MX_REPOSITORY_ROW_MAP_LOOKUP_H_
