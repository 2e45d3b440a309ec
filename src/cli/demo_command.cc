#include "cli/demo_command.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/demo_repository.h"
#include "cli/generate_command.h"
#include "cli/usage.h"
#include "movx20xmlgen/error.h"
#include "repository/schema.h"
#include "repository/sqlite_script.h"

namespace mx::cli {

namespace fs = std::filesystem;

namespace {

// A fresh demo folder: the repository and the documents of an earlier demo
// are replaced, nothing else in the folder is touched.
void PrepareFolder(const fs::path& dir) {
  fs::create_directories(dir);
  fs::remove(dir / "demo.sqlite");
  fs::remove(dir / "demo.log");
  fs::remove_all(dir / "xml");
  fs::create_directory(dir / "xml");
}

void ListDocuments(const fs::path& xml) {
  for (const auto& entry : fs::recursive_directory_iterator(xml)) {
    if (entry.is_regular_file())
      std::cout << "  " << entry.path().string() << "\n";
  }
}

}  // namespace

int DemoCommand(std::vector<std::string> args) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << DemoHelp();
    return kExitTrue;
  }
  if (args.size() > 1) throw UsageError("usage: movx20xmlgen demo [DIR]");
  const fs::path dir =
      fs::absolute(args.empty() ? "movx20xmlgen-demo" : args[0]);
  try {
    PrepareFolder(dir);
    const std::string repo = (dir / "demo.sqlite").string();
    repository::CreateSqliteRepository(repo);
    repository::ExecuteSqliteScript(repo, DemoRepositoryScript());
  } catch (const VbError& e) {
    std::cerr << "movx20xmlgen: cannot build the demo repository: "
              << e.description() << "\n";
    return kExitFalse;
  } catch (const fs::filesystem_error& e) {
    std::cerr << "movx20xmlgen: cannot prepare " << dir.string() << ": "
              << e.code().message() << "\n";
    return kExitFalse;
  }

  GenerateOptions options;
  options.connection = "Data Source=" + (dir / "demo.sqlite").string();
  options.profile = kDemoProfile;
  options.xml_path = (dir / "xml").string();
  options.from = "tcitm000";
  options.to = "tcord999";
  options.option = 5;  // every status, so that the skip rules show
  options.log = (dir / "demo.log").string();
  const int status = RunGenerate(options);

  std::cout << "Demo repository: " << (dir / "demo.sqlite").string() << "\n"
            << "Log:             " << (dir / "demo.log").string() << "\n"
            << "Documents in:    " << (dir / "xml").string() << "\n";
  ListDocuments(dir / "xml");
  return status;
}

}  // namespace mx::cli
