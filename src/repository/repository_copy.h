// Copies a repository from an SQLite file into a PostgreSQL database through
// ODBC: every table of the file, with its columns in their order, typed as
// postgres_schema.h says, and every row, stored on the server in the file's
// order of rows (rowid), so that queries that read in storage order give the
// rows as the file does; then the lookup indexes of the embedded schema that
// fit the tables copied. The copy is one transaction: it lands whole or not
// at all. Tables that exist on the server already are not touched; the copy
// fails instead.
#ifndef MX_REPOSITORY_REPOSITORY_COPY_H_
#define MX_REPOSITORY_REPOSITORY_COPY_H_

#include <cstdint>
#include <string>

namespace mx::repository {

struct CopySummary {
  int tables = 0;
  int64_t rows = 0;
};

// The SQLite file that `from` (UTF-8, as a command line gives it) names: an
// existing file, or a connection string of the embedded backend
// ("Data Source=FILE", with or without Provider=SQLite). Raises -2147467259
// for a connection string of another backend.
std::string SqliteRepositoryPath(const std::string& from);

// Copies the repository file `sqlite_path` (UTF-8) into the database of the
// ODBC connection string `to` (Windows-1252, as the component holds texts).
// Raises VbError: -2147467259 when either side cannot be opened, when `to` is
// no ODBC string or its server is not PostgreSQL; -2147217900 when the server
// refuses a statement (a table that exists already) or a value does not fit
// its column (text in an integer column, text that is not valid UTF-8), with
// the table, row and column named.
CopySummary CopyRepository(const std::string& sqlite_path,
                           const std::string& to);

}  // namespace mx::repository

#endif  // MX_REPOSITORY_REPOSITORY_COPY_H_
