// The real file system behind Env. Paths come in as Windows-1252 and become
// system names through SystemPath. Failures are raised with the numbers the
// original file-system object gave them.
#include "platform/env.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <mutex>
#include <random>
#include <set>
#include <system_error>

#include "movx20xmlgen/error.h"
#include "platform/system_path.h"

namespace mx {
namespace {

namespace fs = std::filesystem;

constexpr char kErrorSource[] = "MOVX20XMLGenerator";

VbError FileNotFound() { return VbError(53, kErrorSource, "File not found"); }
VbError FileAlreadyExists() {
  return VbError(58, kErrorSource, "File already exists");
}

// A trailing "/" is dropped so that "a/b/" names the folder b in a.
fs::path ToSystemPath(const std::string& path) {
  std::string utf8 = SystemPath(path);
  while (utf8.size() > 1 && utf8.back() == '/') utf8.pop_back();
  return fs::path(utf8);
}

bool IsFolder(const fs::path& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool IsFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

// The folder a path lives in; "." for a bare name.
fs::path FolderOf(const fs::path& path) {
  fs::path parent = path.parent_path();
  return parent.empty() ? fs::path(".") : parent;
}

// The system path of a file or folder whose folder exists; 76 otherwise. An
// empty path never names anything, and in particular not the root.
fs::path PathInExistingFolder(const std::string& path) {
  if (path.empty()) throw errors::PathNotFound();
  const fs::path system_path = ToSystemPath(path);
  if (!IsFolder(FolderOf(system_path))) throw errors::PathNotFound();
  return system_path;
}

// Symbolic links and ".." are resolved first; when that fails the path is
// judged as written, so that an error never lets the root through.
bool IsFilesystemRoot(const fs::path& path) {
  std::error_code ec;
  fs::path resolved = fs::weakly_canonical(fs::absolute(path, ec), ec);
  if (ec) resolved = path.lexically_normal();
  return resolved.relative_path().empty();
}

// Removing entries needs write permission on the folders that hold them; the
// original also removed read-only files. Everything below `folder` is made
// writable by its owner first; symbolic links are left as they are.
void MakeTreeWritable(const fs::path& folder) {
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(folder, ec))) return;
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::recursive_directory_iterator it(folder, ec);
  for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    std::error_code status_ec;
    const fs::file_status status = it->symlink_status(status_ec);
    if (status_ec || fs::is_symlink(status)) continue;
    const fs::perms wanted =
        fs::is_directory(status)
            ? fs::perms::owner_all
            : fs::perms::owner_read | fs::perms::owner_write;
    std::error_code perm_ec;
    fs::permissions(it->path(), wanted, fs::perm_options::add, perm_ec);
  }
}

// A name beside `target` that no other writer uses: the target's name with
// the process id, a counter and a random number. TempNameOwner reads the
// process id back.
std::string TempNameFor(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  thread_local std::mt19937 random{std::random_device{}()};
  return "." + target.filename().string() + ".tmp" + std::to_string(getpid()) +
         "-" + std::to_string(counter++) + "-" + std::to_string(random());
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The process that made a temporary name of ours; 0 when `name` is not one.
pid_t TempNameOwner(std::string_view name) {
  if (name.empty() || name[0] != '.') return 0;
  const size_t tmp = name.rfind(".tmp");
  if (tmp == std::string_view::npos || tmp == 0) return 0;
  std::string_view rest = name.substr(tmp + 4);
  const size_t first_dash = rest.find('-');
  const size_t second_dash = rest.find('-', first_dash + 1);
  if (first_dash == std::string_view::npos ||
      second_dash == std::string_view::npos) {
    return 0;
  }
  const std::string_view pid = rest.substr(0, first_dash);
  const std::string_view count =
      rest.substr(first_dash + 1, second_dash - first_dash - 1);
  const std::string_view random = rest.substr(second_dash + 1);
  if (!AllDigits(pid) || !AllDigits(count) || !AllDigits(random) ||
      pid.size() > 9) {
    return 0;
  }
  return static_cast<pid_t>(std::stol(std::string(pid)));
}

bool ProcessIsGone(pid_t pid) { return kill(pid, 0) != 0 && errno == ESRCH; }

// A writer that was killed outright cannot remove the temporary file it was
// writing (a file system without unnamed files, or a kill between naming
// and renaming). The first write of this process into a folder removes the
// temporary files of ours whose writer is gone; nothing else is touched.
void RemoveStaleTempFiles(const fs::path& folder) {
  static std::mutex* mutex = new std::mutex;
  static std::set<std::string>* swept = new std::set<std::string>;
  {
    std::lock_guard<std::mutex> lock(*mutex);
    if (!swept->insert(folder.string()).second) return;
  }
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const pid_t owner = TempNameOwner(name);
    if (owner <= 0 || owner == getpid() || !ProcessIsGone(owner)) continue;
    std::error_code status_ec;
    if (!fs::is_regular_file(it->symlink_status(status_ec))) continue;
    unlink(it->path().c_str());
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// Who may read a file written whole.
enum class Access { kUsual, kOwnerOnly };

mode_t CreationMode(Access access) {
  return access == Access::kOwnerOnly ? 0600 : 0666;
}

// An owner-only file gets exactly 0600, which a umask could narrow further.
bool SetAccess(int fd, Access access) {
  return access != Access::kOwnerOnly || fchmod(fd, 0600) == 0;
}

// Creates a new file for writing with the permissions a plain new file gets
// (owner-only: 0600); -1 with errno when it cannot.
int CreateTempFile(const fs::path& target, Access access, fs::path* temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    *temp = FolderOf(target) / TempNameFor(target);
    const int fd = open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                        CreationMode(access));
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Gives the unnamed file `fd` a temporary name beside `target`; false when
// the system cannot.
bool LinkUnnamed(int fd, const fs::path& target, fs::path* temp) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < 100; ++attempt) {
    *temp = FolderOf(target) / TempNameFor(target);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp->c_str(),
               AT_SYMLINK_FOLLOW) == 0) {
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

enum class Written { kDone, kFailed, kUnsupported };

// Gives the whole unnamed file `fd` the target's name when nothing has it:
// one step instead of a temporary name and a rename. False when the name
// is taken or the system cannot.
bool LinkAsTarget(int fd, const fs::path& target) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(),
                AT_SYMLINK_FOLLOW) == 0;
}

// Writes `bytes` into an unnamed file in the target's folder, which gets a
// name only when it is whole: the target's own when there is no target yet
// (`target_exists` false), otherwise a temporary one renamed over the
// target. A process killed on the way leaves nothing behind. kUnsupported
// when the file system has no unnamed files.
Written WriteUnnamedAndRename(const fs::path& target, std::string_view bytes,
                              Access access, bool target_exists) {
  const int fd = open(FolderOf(target).c_str(),
                      O_TMPFILE | O_WRONLY | O_CLOEXEC, CreationMode(access));
  if (fd < 0) {
    return errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL
               ? Written::kUnsupported
               : Written::kFailed;
  }
  fs::path temp;
  if (!SetAccess(fd, access) || !WriteAll(fd, bytes)) {
    close(fd);
    return Written::kFailed;
  }
  if (!target_exists && LinkAsTarget(fd, target)) {
    if (close(fd) == 0) return Written::kDone;
    unlink(target.c_str());
    return Written::kFailed;
  }
  if (!LinkUnnamed(fd, target, &temp)) {
    close(fd);
    return Written::kUnsupported;
  }
  const bool closed = close(fd) == 0;
  if (closed && rename(temp.c_str(), target.c_str()) == 0)
    return Written::kDone;
  unlink(temp.c_str());
  return Written::kFailed;
}

// Writes `bytes` to a fresh file beside `target` and renames it over the
// target; false when any step fails, and then nothing is left behind.
bool WriteBesideAndRename(const fs::path& target, std::string_view bytes,
                          Access access, bool target_exists) {
  const Written unnamed =
      WriteUnnamedAndRename(target, bytes, access, target_exists);
  if (unnamed != Written::kUnsupported) return unnamed == Written::kDone;
  fs::path temp;
  const int fd = CreateTempFile(target, access, &temp);
  if (fd < 0) return false;
  const bool written = SetAccess(fd, access) && WriteAll(fd, bytes);
  const bool closed = close(fd) == 0;
  if (written && closed && rename(temp.c_str(), target.c_str()) == 0) {
    return true;
  }
  unlink(temp.c_str());
  return false;
}

// A device or a FIFO is written as it stands; it is never replaced.
bool WriteInPlace(const fs::path& target, std::string_view bytes) {
  const int fd = open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes);
  return close(fd) == 0 && written;
}

bool ReadWhole(const fs::path& path, std::string* text) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[65536];
  bool ok = true;
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    text->append(buffer, static_cast<size_t>(got));
  }
  close(fd);
  return ok;
}

class PosixEnv : public Env {
 public:
  bool FolderExists(const std::string& path) override {
    return !path.empty() && IsFolder(ToSystemPath(path));
  }

  void CreateFolder(const std::string& path) override {
    const fs::path folder = PathInExistingFolder(path);
    if (Exists(folder)) throw FileAlreadyExists();
    std::error_code ec;
    fs::create_directory(folder, ec);
    if (ec) throw errors::FileAccess();
  }

  void DeleteFolder(const std::string& path) override {
    if (path.empty()) throw errors::PathNotFound();
    const fs::path folder = ToSystemPath(path);
    if (!IsFolder(folder)) throw errors::PathNotFound();
    if (IsFilesystemRoot(folder)) return;
    MakeTreeWritable(folder);
    std::error_code ec;
    fs::remove_all(folder, ec);
    if (ec) throw errors::FileAccess();
  }

  bool FileExists(const std::string& path) override {
    return !path.empty() && IsFile(ToSystemPath(path));
  }

  void DeleteFile(const std::string& path) override {
    const fs::path file = PathInExistingFolder(path);
    if (!IsFile(file)) throw FileNotFound();
    std::error_code ec;
    fs::remove(file, ec);
    if (ec) throw errors::FileAccess();
  }

  void WriteFile(const std::string& path, std::string_view bytes) override {
    WriteWhole(path, bytes, Access::kUsual);
  }

  void WriteOwnerOnlyFile(const std::string& path,
                          std::string_view bytes) override {
    WriteWhole(path, bytes, Access::kOwnerOnly);
  }

  std::string ReadFile(const std::string& path) override {
    const fs::path file = PathInExistingFolder(path);
    if (!Exists(file)) throw FileNotFound();
    std::string text;
    if (!IsFile(file) || !ReadWhole(file, &text)) throw errors::FileAccess();
    return text;
  }

 private:
  void WriteWhole(const std::string& path, std::string_view bytes,
                  Access access) {
    const fs::path file = PathInExistingFolder(path);
    struct stat st;
    const int found = stat(file.c_str(), &st);
    // A name that stat cannot follow may still be taken (a dangling symbolic
    // link): linking the new file there then fails, and it is renamed over
    // the name as any other target is.
    const bool exists = found == 0 || errno != ENOENT;
    if (found == 0) {
      if (IsSpecialFile(st)) {
        if (!WriteInPlace(file, bytes)) throw errors::FileAccess();
        return;
      }
      if (S_ISREG(st.st_mode) && !MayReplaceFile(file.string(), st)) {
        throw errors::PermissionDenied();
      }
    }
    RemoveStaleTempFiles(FolderOf(file));
    if (!WriteBesideAndRename(file, bytes, access, exists)) {
      throw errors::FileAccess();
    }
  }
};

}  // namespace

Env* Env::Default() {
  static PosixEnv* env = new PosixEnv;
  return env;
}

bool IsSpecialFile(const struct stat& st) {
  return S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode);
}

bool MayReplaceFile(const std::string& system_path, const struct stat& st) {
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
  return faccessat(AT_FDCWD, system_path.c_str(), W_OK, AT_EACCESS) == 0;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  path.append(name);
  return path;
}

}  // namespace mx
