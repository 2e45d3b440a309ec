// The SQLite schema of the repository tables the component reads, with the
// columns it reads or filters on, and the creation of an empty repository.
// The schema has no keys or constraints: any data the original server held
// must load. Text columns compare without trailing blanks (COLLATE RTRIM), as
// the server's fixed-width columns did.
//
// The indexes serve the lookups of a run, so that no query of a run reads a
// table that grows with the profile from end to end. Each index matches the
// conditions exactly as the backend sends them: plain columns compare with
// their RTRIM collation, so the index columns keep it; a concatenation such
// as cpac||cmod||flno has no collation and compares binary, so its
// expression index does too, except where a column's collation decides the
// comparison (qxddi150.cdom = qxddi220.cpac||qxddi220.cdom compares RTRIM).
// The order of rows does not depend on them (see row_order.h).
#include "repository/schema.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "movx20xmlgen/error.h"

namespace mx::repository {

namespace {

constexpr char kErrorSource[] = "MOVX20XMLGenerator";
constexpr int32_t kFileAlreadyExists = 58;
// Index rows carry their field names in this many columns after the first
// seven; readers address them by position.
constexpr int kIndexPartColumns = 24;

struct TableColumns {
  const char* table;
  const char* columns;  // separated by single blanks
};

// Key columns first, in the order the readers' conditions name them.
constexpr TableColumns kTables[] = {
    {"qxmap100", "mprf sapp tapp vers rele cust verf relf cusf deph scme apln"},
    {"qxmap101", "mprf pprf"},
    {"qxmap105", "mprf dver drel dcus"},
    {"qxmap120",
     "mprf vers rele cust tcpac tcmod tflno stat prtx comt stbl isms vari"},
    {"qxmap130",
     "mprf vers rele cust tcpac tcmod tflno scpac scmod sflno icod qury"},
    {"qxmap140", "mprf vers rele cust tcpac tcmod tflno fdnm mrul type dnum"},
    {"qxmap160", "mprf vers rele cust tcpac tcmod tflno func"},
    {"qxmap170", "mprf vers rele cust cpac cmod cflno bpac bmod bflno"},
    {"qxmap300", "ttbl stbl flst"},
    {"qxddi100", "appl extn"},
    {"qxddi101", "appl sour logn pswd"},
    {"qxddi140", "appl cpac cmod flno"},
    {"qxddi150", "appl cpac cmod flno fdnm fdno cdom iniv dept mand comb"},
    {"qxddi160", "appl cpac cmod flno fdnm chld sern"},
    {"qxddi200", "appl cpac cmod flno indn dupl acti"},  // then the parts
    {"qxddi220", "appl cpac cdom type leng diga digb adju conv"},
    {"qxddi230", "appl cpac cdom ctnm cnst"},
    {"qxlgy115", "code ival oval"},
    {"qxlgy140", "appl cpac cmod flno sour logn pswd"},
    {"qxlgy141", "appl cpac cmod flno sepr tcol nskp"},
    {"qxlgy150", "appl cpac cmod flno flna seqn dtyp spos epos tcol sepr"},
    {"qxlib100", "mprf vers rele cust fnam fdef"},
};

struct TableIndex {
  const char* table;
  const char* key;  // the index's terms, as SQL
};

// By table, in the order of the readers: a run's conversion-object lookups
// (mapping, main query, rules, functions, M-script members), the data
// dictionary (fields, child fields, indexes, domains, enumeration
// constants), then the profile and selection queries.
constexpr TableIndex kIndexes[] = {
    {"qxmap100", "mprf"},
    {"qxmap100", "vers, rele, cust"},
    {"qxmap101", "mprf"},
    {"qxmap105", "mprf"},
    {"qxmap120", "mprf, vers, rele, cust, tcpac, tcmod, tflno"},
    // The rules and dump lists come sorted: the sort keys follow the lookup
    // keys, so no query sorts its rows (rowid, the last key of every query
    // here, is the last term of every index).
    {"qxmap130",
     "mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, sflno"},
    {"qxmap140", "mprf, vers, rele, cust, tcpac, tcmod, tflno, dnum"},
    {"qxmap160", "mprf, vers, rele, cust, tcpac, tcmod, tflno"},
    {"qxmap170", "mprf, vers, rele, cust, cpac, cmod, cflno"},
    {"qxmap170", "mprf, vers, rele, cust, bpac, bmod, bflno"},
    {"qxddi140", "appl, cpac, cmod, flno"},
    // Covering: otherwise the planner prefers reading the application's
    // tables through the first index.
    {"qxddi140", "appl, cpac||cmod||flno, cpac, cmod, flno"},
    {"qxddi150", "appl, cpac, cmod, flno, fdnm"},
    {"qxddi150", "appl, cpac, cmod, flno, fdno"},  // the field list, in order
    {"qxddi150", "appl, cpac||cmod||flno"},
    {"qxddi150", "appl, cpac||cmod||flno||'.'||fdnm"},
    {"qxddi160", "appl, cpac, cmod, flno, fdnm"},
    {"qxddi160", "appl, cpac||cmod||flno, fdnm"},
    {"qxddi200", "appl, cpac, cmod, flno"},
    {"qxddi200", "appl, cpac||cmod||flno, indn"},
    {"qxddi200", "appl, cpac||cmod||flno"},  // a table's indexes, in order
    {"qxddi220", "appl, cpac||cdom"},
    {"qxddi220", "appl, (cpac||cdom) COLLATE RTRIM"},
    {"qxddi230", "appl, cpac||cdom||'.'||ctnm"},
    // The legacy tables and files: a table's layout in order, the fields of a
    // source named by its file or table name alone (also in upper case), a
    // source's connection and file description.
    {"qxlgy140", "appl, cpac, cmod, flno"},
    {"qxlgy140", "appl, cpac, cmod, upper(flno)"},
    {"qxlgy141", "appl, cpac, cmod, flno"},
    {"qxlgy150", "appl, cpac, cmod, flno, seqn"},
    {"qxlgy150", "appl, flno"},
    {"qxlgy150", "appl, upper(flno)"},
};

// The indexes of a run's own copy of the repository, which the run builds
// each time before its first query: there the cost of building counts, not
// only the cost of a lookup. Where a table holds a row per field and so
// grows with the profile, the copy's index names the most selective column
// first (the sort that builds it stops comparing keys earlier) and leaves out
// the terms that only order the rows: the copy sorts an object's few dozen
// rows itself. Every lookup of a run still finds its rows through an index.
// The other tables are small and get the indexes of the repository.
constexpr TableIndex kCopyIndexes[] = {
    {"qxmap140", "tflno, tcmod, tcpac, mprf, vers, rele, cust"},
    {"qxddi150", "flno, cmod, cpac, appl"},
    {"qxddi150", "cpac||cmod||flno, appl"},
    {"qxddi150", "cpac||cmod||flno||'.'||fdnm, appl"},
    {"qxlgy150", "flno, cmod, cpac, appl"},
    {"qxlgy150", "upper(flno), appl"},
};

bool IsBooleanColumn(std::string_view column) {
  return column == "isms" || column == "tcol";
}

bool IsIntegerColumn(std::string_view table, std::string_view column) {
  static const std::set<std::string_view> kIntegerColumns = {
      "mprf", "pprf", "deph", "dept", "fdno", "sern", "indn",
      "dnum", "extn", "seqn", "spos", "epos", "nskp"};
  // Elsewhere (qxddi220) "type" is a one-letter data type.
  if (table == "qxmap140" && column == "type") return true;
  return kIntegerColumns.count(column) != 0;
}

std::string ColumnDefinition(std::string_view table, std::string_view column) {
  std::string definition(column);
  if (IsBooleanColumn(column)) return definition + " BOOLEAN";
  if (IsIntegerColumn(table, column)) return definition + " INTEGER";
  return definition + " TEXT COLLATE RTRIM";
}

std::vector<std::string> ColumnsOf(const TableColumns& table) {
  std::vector<std::string> columns;
  std::string_view rest = table.columns;
  while (!rest.empty()) {
    const size_t blank = rest.find(' ');
    columns.emplace_back(rest.substr(0, blank));
    rest = blank == std::string_view::npos ? "" : rest.substr(blank + 1);
  }
  if (std::string_view(table.table) == "qxddi200") {
    for (int part = 1; part <= kIndexPartColumns; ++part) {
      columns.push_back("prt" + std::to_string(part));
    }
  }
  return columns;
}

std::string CreateTableStatement(const TableColumns& table) {
  std::string statement = "CREATE TABLE " + std::string(table.table) + " (";
  const char* separator = "\n  ";
  for (const std::string& column : ColumnsOf(table)) {
    statement += separator + ColumnDefinition(table.table, column);
    separator = ",\n  ";
  }
  return statement + "\n);\n";
}

// Names the indexes "PREFIX<table>_<n>", numbered within their table.
template <size_t N>
void AppendNamed(std::string_view prefix, const TableIndex (&list)[N],
                 std::vector<LookupIndex>& indexes) {
  int number = 0;
  std::string_view table_before;
  for (const TableIndex& index : list) {
    number = table_before == index.table ? number + 1 : 1;
    table_before = index.table;
    indexes.push_back(
        {std::string(prefix) + index.table + "_" + std::to_string(number),
         index.table, index.key});
  }
}

std::vector<LookupIndex> BuildLookupIndexes() {
  std::vector<LookupIndex> indexes;
  AppendNamed("mx_", kIndexes, indexes);
  return indexes;
}

bool HasCopyIndexes(std::string_view table) {
  for (const TableIndex& index : kCopyIndexes) {
    if (table == index.table) return true;
  }
  return false;
}

std::vector<LookupIndex> BuildCopyIndexes() {
  std::vector<LookupIndex> indexes;
  AppendNamed("mx_copy_", kCopyIndexes, indexes);
  for (const LookupIndex& index : LookupIndexes()) {
    if (!HasCopyIndexes(index.table)) indexes.push_back(index);
  }
  return indexes;
}

std::string BuildIndexes() {
  std::string statements;
  for (const LookupIndex& index : LookupIndexes()) {
    statements += "CREATE INDEX IF NOT EXISTS " + index.name + " ON " +
                  index.table + " (" + index.key + ");\n";
  }
  return statements;
}

std::string BuildSchema() {
  std::string schema;
  for (const TableColumns& table : kTables) {
    schema += CreateTableStatement(table);
  }
  return schema;
}

// Creates the file only when it does not exist yet, so that an existing
// repository is never overwritten, even by a race. An empty file is a valid
// empty SQLite database.
void CreateEmptyFile(const std::string& path_utf8) {
  std::FILE* file = std::fopen(path_utf8.c_str(), "wbx");
  if (file != nullptr) {
    std::fclose(file);
    return;
  }
  switch (errno) {
    case EEXIST:
      throw VbError(kFileAlreadyExists, kErrorSource, "File already exists");
    case ENOENT:
    case ENOTDIR:
      throw errors::PathNotFound();
    default:
      throw errors::FileAccess();
  }
}

void WriteSchema(const std::string& path_utf8) {
  sqlite3* db = nullptr;
  int rc =
      sqlite3_open_v2(path_utf8.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  if (rc == SQLITE_OK) {
    const std::string script =
        "BEGIN;\n" + SqliteSchema() + SqliteIndexes() + "COMMIT;\n";
    rc = sqlite3_exec(db, script.c_str(), nullptr, nullptr, nullptr);
  }
  const std::string message = sqlite3_errmsg(db);
  sqlite3_close_v2(db);  // rolls back an unfinished transaction
  if (rc != SQLITE_OK) {
    throw VbError(errors::kFileAccess, kErrorSource,
                  "Cannot create the repository " + path_utf8 + ": " + message);
  }
}

}  // namespace

const std::string& SqliteSchema() {
  static const std::string schema = BuildSchema();
  return schema;
}

const std::vector<std::string>& RepositoryTables() {
  static const std::vector<std::string> tables = [] {
    std::vector<std::string> names;
    for (const TableColumns& table : kTables) names.emplace_back(table.table);
    return names;
  }();
  return tables;
}

const std::vector<LookupIndex>& LookupIndexes() {
  static const std::vector<LookupIndex> indexes = BuildLookupIndexes();
  return indexes;
}

const std::vector<LookupIndex>& CopyIndexes() {
  static const std::vector<LookupIndex> indexes = BuildCopyIndexes();
  return indexes;
}

const std::string& SqliteIndexes() {
  static const std::string indexes = BuildIndexes();
  return indexes;
}

void CreateSqliteRepository(const std::string& path_utf8) {
  CreateEmptyFile(path_utf8);
  try {
    WriteSchema(path_utf8);
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(path_utf8, ignored);
    throw;
  }
}

}  // namespace mx::repository
