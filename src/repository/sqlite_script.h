// Runs an SQL script (UTF-8) against an SQLite repository file opened for
// writing, in one transaction. The component itself never writes to a
// repository; the demo and the tests use this to fill one.
#ifndef MX_REPOSITORY_SQLITE_SCRIPT_H_
#define MX_REPOSITORY_SQLITE_SCRIPT_H_

#include <string>

namespace mx::repository {

// Raises VbError(-2147217900) with SQLite's message when a statement fails;
// nothing of the script is kept then.
void ExecuteSqliteScript(const std::string& path_utf8,
                         const std::string& sql_utf8);

}  // namespace mx::repository

#endif  // MX_REPOSITORY_SQLITE_SCRIPT_H_
