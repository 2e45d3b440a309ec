// The order of rows that a query leaves open. A repository without indexes
// returns the rows of a single-table query in storage order (rowid order in
// SQLite), and a sort leaves rows with equal keys in that order; the
// component's documents depend on it (index lines, source fields, the
// selection). The indexes that make lookups fast would return rows in index
// order instead. So the SQLite backend states the storage order: a single-
// table SELECT without an ORDER BY gets " ORDER BY rowid", and one with an
// ORDER BY gets ", rowid" as its last key. Without indexes that is the order
// the engine gave anyway; with them it is the same order, whatever plan the
// engine picks.
#ifndef MX_REPOSITORY_ROW_ORDER_H_
#define MX_REPOSITORY_ROW_ORDER_H_

#include <string>
#include <string_view>

namespace mx::repository {

// SQLite text in, SQLite text out. Texts outside the simple shape (a join, a
// subquery in FROM, grouping, DISTINCT, LIMIT, aggregates, compound
// selects, comments, several statements, anything not understood) come back
// unchanged.
std::string KeepStorageOrder(std::string_view sql);

}  // namespace mx::repository

#endif  // MX_REPOSITORY_ROW_ORDER_H_
