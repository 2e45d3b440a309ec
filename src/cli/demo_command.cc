#include "cli/demo_command.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
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

// The list of what a demo made in its folder, by path relative to it, one
// a line. A folder is taken for a demo only when everything in it is listed
// there: a demo never deletes what it did not make.
constexpr char kMadeList[] = ".movx20xmlgen-demo";

std::set<std::string> ReadMadeList(const fs::path& dir) {
  std::set<std::string> made;
  std::ifstream in(dir / kMadeList);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) made.insert(line);
  }
  return made;
}

void WriteMadeList(const fs::path& dir, const std::set<std::string>& made) {
  std::ofstream out(dir / kMadeList, std::ios::trunc);
  for (const std::string& path : made) out << path << "\n";
  if (!out)
    throw fs::filesystem_error("cannot write the list of demo files",
                               dir / kMadeList,
                               std::make_error_code(std::errc::io_error));
}

bool LeadsTo(const std::string& folder, const std::set<std::string>& made) {
  const std::string prefix = folder + "/";
  const auto it = made.lower_bound(prefix);
  return it != made.end() && it->compare(0, prefix.size(), prefix) == 0;
}

// The first entry of `dir` that an earlier demo did not make; empty when
// there is none.
std::string ForeignEntry(const fs::path& dir) {
  std::set<std::string> made = ReadMadeList(dir);
  made.insert(kMadeList);
  for (const char* journal : {"-journal", "-wal", "-shm"}) {
    made.insert(std::string("demo.sqlite") + journal);
  }
  for (auto it = fs::recursive_directory_iterator(dir);
       it != fs::recursive_directory_iterator(); ++it) {
    const std::string path = fs::relative(it->path(), dir).generic_string();
    const bool folder = it->is_directory() && !it->is_symlink();
    if (made.count(path) ||
        (folder && (path == "xml" || LeadsTo(path, made)))) {
      continue;
    }
    return path;
  }
  return "";
}

// A fresh demo folder: a new or empty folder, or the folder of an earlier
// demo, whose files are replaced. A folder that holds anything else is
// refused before anything is deleted.
void PrepareFolder(const fs::path& dir) {
  if (fs::exists(dir)) {
    if (!fs::is_directory(dir)) {
      throw UsageError("demo: " + dir.string() + " is not a folder");
    }
    const std::string foreign = ForeignEntry(dir);
    if (!foreign.empty()) {
      throw UsageError("demo: " + dir.string() + " holds " + foreign +
                       ", which no earlier demo made; give a new or empty "
                       "folder (nothing was deleted)");
    }
    // Only what is listed is left; the xml folder goes with its folders.
    for (const std::string& path : ReadMadeList(dir)) {
      if (!fs::is_directory(fs::symlink_status(dir / path))) {
        fs::remove(dir / path);
      }
    }
    fs::remove_all(dir / "xml");
  }
  fs::create_directories(dir);
  WriteMadeList(dir,
                {"demo.sqlite", "demo.log", "results.json", "report.html"});
  fs::create_directory(dir / "xml");
}

// Adds the folders and documents the run wrote to the list of what the
// demo made.
void ListMadeDocuments(const fs::path& dir) {
  std::set<std::string> made = ReadMadeList(dir);
  for (const auto& entry : fs::recursive_directory_iterator(dir / "xml")) {
    made.insert(fs::relative(entry.path(), dir).generic_string());
  }
  WriteMadeList(dir, made);
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
  options.results = (dir / "results.json").string();
  options.report = (dir / "report.html").string();
  const int status = RunGenerate(options);
  try {
    ListMadeDocuments(dir);
  } catch (const fs::filesystem_error& e) {
    std::cerr << "movx20xmlgen: cannot list the demo files in " << dir.string()
              << ": " << e.code().message() << "\n";
  }

  std::cout << "Demo repository: " << (dir / "demo.sqlite").string() << "\n"
            << "Log:             " << (dir / "demo.log").string() << "\n"
            << "Results:         " << (dir / "results.json").string() << "\n"
            << "Report:          " << (dir / "report.html").string() << "\n"
            << "Documents in:    " << (dir / "xml").string() << "\n";
  ListDocuments(dir / "xml");
  return status;
}

}  // namespace mx::cli
