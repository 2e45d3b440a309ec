#include "cli/repo_command.h"

#include <iostream>

#include "cli/usage.h"
#include "platform/error.h"
#include "repository/schema.h"

namespace mx::cli {

int RepoCommand(std::vector<std::string> args) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << RepoHelp();
    return kExitTrue;
  }
  if (args.size() != 2 || args[0] != "init") {
    throw UsageError("usage: movx20xmlgen repo init FILE");
  }
  try {
    repository::CreateSqliteRepository(args[1]);
  } catch (const VbError& e) {
    std::cerr << "movx20xmlgen: cannot create " << args[1] << ": "
              << e.description() << "\n";
    return kExitFalse;
  }
  std::cout << "Created an empty repository in " << args[1] << "\n";
  return kExitTrue;
}

}  // namespace mx::cli
