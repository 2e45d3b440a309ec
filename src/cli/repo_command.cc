#include "cli/repo_command.h"

#include <iostream>

#include "cli/arguments.h"
#include "cli/usage.h"
#include "movx20xmlgen/error.h"
#include "platform/encoding.h"
#include "repository/repository_copy.h"
#include "repository/schema.h"

namespace mx::cli {

namespace {

constexpr char kUsage[] =
    "usage: movx20xmlgen repo init FILE | movx20xmlgen repo copy FROM TO";

int Init(const std::string& file) {
  try {
    repository::CreateSqliteRepository(file);
  } catch (const VbError& e) {
    std::cerr << "movx20xmlgen: cannot create " << file << ": "
              << e.description() << "\n";
    return kExitFalse;
  }
  std::cout << "Created an empty repository in " << file << "\n";
  return kExitTrue;
}

int Copy(const std::string& from, const std::string& to) {
  // The target string is component text, as a ConnectionString setting is.
  const std::string target = ComponentText(to);
  try {
    const std::string path = repository::SqliteRepositoryPath(from);
    const repository::CopySummary summary =
        repository::CopyRepository(path, target);
    std::cout << "Copied " << summary.tables << " tables (" << summary.rows
              << " rows) from " << path << "\n";
  } catch (const VbError& e) {
    std::cerr << "movx20xmlgen: cannot copy the repository: " << e.number()
              << "-" << Win1252ToUtf8(e.description()) << "\n";
    return kExitFalse;
  }
  return kExitTrue;
}

}  // namespace

int RepoCommand(std::vector<std::string> args) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << RepoHelp();
    return kExitTrue;
  }
  if (args.size() == 2 && args[0] == "init") return Init(args[1]);
  if (args.size() == 3 && args[0] == "copy") return Copy(args[1], args[2]);
  throw UsageError(kUsage);
}

}  // namespace mx::cli
