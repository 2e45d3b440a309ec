#include "cli/run_guards.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "cli/usage.h"

namespace mx::cli {

namespace fs = std::filesystem;

namespace {

bool StatOf(const fs::path& path, struct stat* st) {
  return stat(path.c_str(), st) == 0;
}

bool SameInode(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

fs::path Resolved(const std::string& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(path, ec);
  if (ec) return fs::path(path).lexically_normal();
  fs::path resolved = fs::weakly_canonical(absolute, ec);
  return ec ? absolute.lexically_normal() : resolved;
}

// Standard output and the special files are written in place and hold no
// file of the run.
bool IsStandardOutput(const std::string& path) { return path == "-"; }

// A device or FIFO is written in place and may well receive two streams.
bool IsSpecial(const std::string& path) {
  struct stat st;
  return StatOf(path, &st) && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

void RefuseSameFile(const std::string& a, const char* a_role,
                    const std::string& b, const char* b_role) {
  if (IsStandardOutput(a) || IsStandardOutput(b) || IsSpecial(a) ||
      !SameFile(a, b)) {
    return;
  }
  throw UsageError(std::string(a_role) + " " + a + " is the " + b_role +
                   ": refused, nothing was written");
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  const bool a_exists = StatOf(a, &sa);
  const bool b_exists = StatOf(b, &sb);
  if (a_exists && b_exists) return SameInode(sa, sb);
  if (a_exists != b_exists) return false;
  return Resolved(a) == Resolved(b);
}

// Every folder on the way up from the path is compared with the folder by
// identity, so links, "..", bind mounts and spellings do not matter. The
// path as written and its resolved form are both walked: deleting a folder
// deletes the links in it as well as the files.
bool FolderHolds(const std::string& folder, const std::string& path) {
  struct stat folder_stat;
  if (!StatOf(folder, &folder_stat)) return false;
  std::error_code ec;
  const fs::path written = fs::absolute(path, ec).lexically_normal();
  for (const fs::path& start : {Resolved(path), written}) {
    for (fs::path p = start;; p = p.parent_path()) {
      struct stat st;
      if (StatOf(p, &st) && SameInode(st, folder_stat)) return true;
      if (p == p.parent_path() || p.empty()) break;
    }
  }
  return false;
}

void CheckFolderMayBeCleared(const std::string& folder,
                             const std::optional<std::string>& repository,
                             const std::optional<std::string>& log,
                             const std::optional<std::string>& trace) {
  auto refuse_if_held = [&](const std::optional<std::string>& path,
                            const char* role) {
    if (!path || IsStandardOutput(*path) || !FolderHolds(folder, *path)) return;
    throw UsageError("--clear would delete " + std::string(role) + " " + *path +
                     " with the folder " + folder +
                     ": refused, nothing was deleted");
  };
  refuse_if_held(repository, "the repository");
  refuse_if_held(log, "the log");
  refuse_if_held(trace, "the query trace");
  std::error_code ec;
  const fs::path here = fs::current_path(ec);
  if (!ec) refuse_if_held(here.string(), "the current folder");
}

void CheckRunFiles(const RunFiles& f) {
  if (f.repository && f.log) {
    RefuseSameFile(*f.log, "the log", *f.repository, "repository");
  }
  if (f.repository && f.trace) {
    RefuseSameFile(*f.trace, "the query trace", *f.repository, "repository");
  }
  if (f.log && f.trace) RefuseSameFile(*f.log, "the log", *f.trace, "trace");
  if (f.written && f.repository) {
    RefuseSameFile(*f.written, "the file", *f.repository, "repository");
  }
  if (f.written && f.log) RefuseSameFile(*f.written, "the file", *f.log, "log");
  if (f.cleared_folder) {
    CheckFolderMayBeCleared(*f.cleared_folder, f.repository, f.log, f.trace);
  }
}

}  // namespace mx::cli
