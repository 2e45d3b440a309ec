#include "cli/demo_command.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "cli/demo_repository.h"
#include "cli/generate_command.h"
#include "cli/usage.h"
#include "movx20xmlgen/error.h"
#include "repository/schema.h"
#include "repository/sqlite_script.h"
#include "xml/cipher.h"

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

// The plain text of every enciphered file, below this folder by the path
// the file has below the demo folder.
constexpr char kDecipheredFolder[] = "deciphered";

// A run's results file and report page, named after its log.
std::string FileBesideLog(const DemoRun& run, const char* suffix) {
  return fs::path(run.log).stem().string() + suffix;
}
std::string ResultsFileOf(const DemoRun& run) {
  return FileBesideLog(run, "-results.json");
}
std::string ReportFileOf(const DemoRun& run) {
  return FileBesideLog(run, "-report.html");
}

// The folders a demo writes into; each is emptied before the demo runs.
std::vector<std::string> OutputFolders() {
  std::vector<std::string> folders;
  for (const DemoRun& run : kDemoRuns) folders.push_back(run.folder);
  folders.push_back(kDecipheredFolder);
  return folders;
}

bool IsOutputFolder(const std::string& path) {
  const std::vector<std::string> folders = OutputFolders();
  return std::find(folders.begin(), folders.end(), path) != folders.end();
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
        (folder && (IsOutputFolder(path) || LeadsTo(path, made)))) {
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
    // Only what is listed is left; the output folders go with their folders.
    for (const std::string& path : ReadMadeList(dir)) {
      if (!fs::is_directory(fs::symlink_status(dir / path))) {
        fs::remove(dir / path);
      }
    }
    for (const std::string& folder : OutputFolders()) {
      fs::remove_all(dir / folder);
    }
  }
  fs::create_directories(dir);
  std::set<std::string> made = {"demo.sqlite"};
  for (const DemoRun& run : kDemoRuns) {
    made.insert(run.log);
    made.insert(ResultsFileOf(run));
    made.insert(ReportFileOf(run));
  }
  WriteMadeList(dir, made);
  for (const std::string& folder : OutputFolders()) {
    fs::create_directory(dir / folder);
  }
}

// Adds the folders and files the runs wrote to the list of what the demo
// made.
void ListMadeFiles(const fs::path& dir) {
  std::set<std::string> made = ReadMadeList(dir);
  for (const std::string& folder : OutputFolders()) {
    for (const auto& entry : fs::recursive_directory_iterator(dir / folder)) {
      made.insert(fs::relative(entry.path(), dir).generic_string());
    }
  }
  WriteMadeList(dir, made);
}

std::vector<fs::path> FilesBelow(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The legacy class enciphers its documents (one sub-folder per table) and
// the conversion codes; its other side files are plain text.
bool IsEnciphered(const fs::path& file, const fs::path& folder) {
  return file.parent_path() != folder || file.filename() == "xConversionCodes";
}

// Writes the plain text of every enciphered file of a legacy run's folder
// below the deciphered folder. Returns the files written.
std::vector<fs::path> WritePlainCopies(const fs::path& dir,
                                       const std::string& folder) {
  std::vector<fs::path> written;
  for (const fs::path& file : FilesBelow(dir / folder)) {
    if (!IsEnciphered(file, dir / folder)) continue;
    const fs::path plain = dir / kDecipheredFolder / fs::relative(file, dir);
    fs::create_directories(plain.parent_path());
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)),
                            std::istreambuf_iterator<char>());
    std::ofstream out(plain, std::ios::binary | std::ios::trunc);
    out << DecipherText(bytes);
    if (!in || !out) {
      throw fs::filesystem_error("cannot write the plain text", plain,
                                 std::make_error_code(std::errc::io_error));
    }
    written.push_back(plain);
  }
  return written;
}

GenerateOptions OptionsOf(const DemoRun& run, const fs::path& dir) {
  GenerateOptions options;
  options.connection = "Data Source=" + (dir / "demo.sqlite").string();
  options.profile = run.profile;
  options.legacy = run.legacy;
  options.split = run.split;
  options.xml_path = (dir / run.folder).string();
  if (run.legacy) options.schema_ini_path = options.xml_path;
  if (run.select) {
    options.select = run.select;
  } else {
    options.from = run.from;
    options.to = run.to;
  }
  if (run.option >= 0) options.option = run.option;
  options.log = (dir / run.log).string();
  options.results = (dir / ResultsFileOf(run)).string();
  options.report = (dir / ReportFileOf(run)).string();
  return options;
}

// Runs one generation and says what it made. Returns its exit status.
int RunAndReport(const DemoRun& run, const fs::path& dir) {
  std::cout << "\n" << run.title << ", profile " << run.profile << ":\n";
  std::cout.flush();
  const int status = RunGenerate(OptionsOf(run, dir));
  std::cout << "  Log:        " << (dir / run.log).string() << "\n"
            << "  Results:    " << (dir / ResultsFileOf(run)).string() << "\n"
            << "  Report:     " << (dir / ReportFileOf(run)).string() << "\n"
            << "  Written in: " << (dir / run.folder).string() << "\n";
  for (const fs::path& file : FilesBelow(dir / run.folder)) {
    std::cout << "    " << file.string() << "\n";
  }
  if (!run.legacy) return status;
  const std::vector<fs::path> plain = WritePlainCopies(dir, run.folder);
  if (plain.empty()) return status;
  std::cout << "  Enciphered; their plain text, as `movx20xmlgen decipher "
               "FILE` prints it:\n";
  for (const fs::path& file : plain) {
    std::cout << "    " << file.string() << "\n";
  }
  return status;
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

  std::cout << "Demo repository: " << (dir / "demo.sqlite").string() << "\n";
  int status = kExitTrue;
  for (const DemoRun& run : kDemoRuns) {
    int run_status = kExitTrue;
    try {
      run_status = RunAndReport(run, dir);
    } catch (const VbError& e) {
      std::cerr << "movx20xmlgen: cannot decipher a file of " << run.folder
                << ": " << e.description() << "\n";
      run_status = kExitFalse;
    } catch (const fs::filesystem_error& e) {
      std::cerr << "movx20xmlgen: " << e.what() << "\n";
      run_status = kExitFalse;
    }
    if (status == kExitTrue) status = run_status;
  }
  try {
    ListMadeFiles(dir);
  } catch (const fs::filesystem_error& e) {
    std::cerr << "movx20xmlgen: cannot list the demo files in " << dir.string()
              << ": " << e.code().message() << "\n";
  }
  return status;
}

}  // namespace mx::cli
