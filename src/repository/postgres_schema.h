// The repository on a PostgreSQL server, shaped so that the component's
// queries give the same rows as on the embedded SQLite repository.
//
// Text columns are `bpchar COLLATE "C"`: blank-padded character without a
// length keeps every value exactly as loaded, yet compares without trailing
// blanks (as the original server's fixed-width columns, and the embedded
// schema's COLLATE RTRIM, do); the "C" collation sorts by bytes as SQLite
// does. PostgreSQL drops those trailing blanks wherever such a value is turned
// into text (||, upper, replace), where SQLite keeps them; the support
// functions below keep them, so `cpac || cmod || flno`, `upper(flno)` and
// `replace(flna, '$', '')` read as on SQLite. Integer columns are bigint,
// Boolean columns boolean (read back as 0 and 1).
#ifndef MX_REPOSITORY_POSTGRES_SCHEMA_H_
#define MX_REPOSITORY_POSTGRES_SCHEMA_H_

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace mx::repository {

// What a column holds, from the type an SQLite table declares for it, by
// SQLite's affinity rules; BOOLEAN (NUMERIC affinity there) is its own kind.
// Columns without affinity (BLOB or no type) are copied as text.
enum class ColumnValueKind { kText, kInteger, kBoolean, kReal, kNumeric };

ColumnValueKind KindOfDeclaredType(std::string_view sqlite_declared_type);

// The PostgreSQL type of a column of that kind.
std::string PostgresType(ColumnValueKind kind);

struct PostgresColumn {
  std::string name;
  ColumnValueKind kind = ColumnValueKind::kText;
};

// A name as written in PostgreSQL: a plain identifier lower-cased (what the
// server makes of the component's unquoted names), any other name quoted as
// it stands.
std::string PostgresName(std::string_view name);

// CREATE TABLE for `table` with `columns` in their order (queries such as
// "select * from qxddi200" read columns by position).
std::string PostgresCreateTable(std::string_view table,
                                const std::vector<PostgresColumn>& columns);

// The functions and operators that keep trailing blanks of text columns in
// concatenations and in upper, lower and replace. Each statement may run
// again on a database that has them.
const std::vector<std::string>& PostgresSupportStatements();

// The lookup indexes of the embedded schema (schema.h) as PostgreSQL
// statements, for the tables given with their columns (names as in the
// SQLite file, compared without regard to case): each index whose table is
// given and has every column it names, expression terms in parentheses. The
// RTRIM-collated variants are left out: bpchar compares so already.
std::vector<std::string> PostgresIndexStatements(
    const std::map<std::string, std::vector<std::string>>& columns_by_table);

// Session settings under which a single-table scan returns rows in storage
// order: no parallel scan, no scan that joins another one midway.
const std::vector<std::string>& PostgresSessionStatements();

// The order of rows a query leaves open, stated as SQLite gives it: rows in
// storage order, and rows with equal sort keys in that order too (SQLite's
// sort keeps it, PostgreSQL's does not). A single-table SELECT without an
// ORDER BY gets " ORDER BY ctid", one with an ORDER BY gets ", ctid" as its
// last key. A DISTINCT over plain columns of one table (no ORDER BY) gives
// each value where it first appears in storage order, as SQLite does. Any
// other text (joins, subqueries, grouping, aggregates, other DISTINCTs,
// LIMIT, compound selects) comes back unchanged.
std::string KeepPostgresStorageOrder(std::string_view sql);

}  // namespace mx::repository

#endif  // MX_REPOSITORY_POSTGRES_SCHEMA_H_
