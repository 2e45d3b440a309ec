// What a generation refuses before it touches anything: a log, query trace
// or written file that is the repository file, a log that is the trace, a
// written file that is the log, and a cleared
// output folder that holds the repository, the log, the trace or the current
// folder. Files are compared by identity (device and inode), so that no
// spelling of a path slips through; paths are the system's (UTF-8).
// Every refusal is a UsageError.
#ifndef MX_CLI_RUN_GUARDS_H_
#define MX_CLI_RUN_GUARDS_H_

#include <optional>
#include <string>

namespace mx::cli {

struct RunFiles {
  std::optional<std::string> repository;
  std::optional<std::string> log;
  std::optional<std::string> trace;
  // A file that a called method writes over (the split information).
  std::optional<std::string> written;
  // The folder that is deleted and created again, when one is.
  std::optional<std::string> cleared_folder;
};

void CheckRunFiles(const RunFiles& files);

// The refusal of clearing `folder` when it holds one of `kept` (or is it);
// names what it holds.
void CheckFolderMayBeCleared(const std::string& folder,
                             const std::optional<std::string>& repository,
                             const std::optional<std::string>& log,
                             const std::optional<std::string>& trace);

// True when `a` and `b` name the same file: the same device and inode when
// both exist, else the same resolved path.
bool SameFile(const std::string& a, const std::string& b);

// True when `path` is `folder` or lies anywhere below it.
bool FolderHolds(const std::string& folder, const std::string& path);

}  // namespace mx::cli

#endif  // MX_CLI_RUN_GUARDS_H_
