// movx20xmlgen repo init FILE: an empty SQLite repository.
#ifndef MX_CLI_REPO_COMMAND_H_
#define MX_CLI_REPO_COMMAND_H_

#include <string>
#include <vector>

namespace mx::cli {

int RepoCommand(std::vector<std::string> args);

}  // namespace mx::cli

#endif  // MX_CLI_REPO_COMMAND_H_
