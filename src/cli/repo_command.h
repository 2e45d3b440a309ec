// movx20xmlgen repo init FILE: an empty SQLite repository.
// movx20xmlgen repo copy FROM TO: a repository copied from an SQLite file
// into a PostgreSQL database through ODBC.
#ifndef MX_CLI_REPO_COMMAND_H_
#define MX_CLI_REPO_COMMAND_H_

#include <string>
#include <vector>

namespace mx::cli {

int RepoCommand(std::vector<std::string> args);

}  // namespace mx::cli

#endif  // MX_CLI_REPO_COMMAND_H_
