// The real file system behind Env. Paths come in as Windows-1252 and are
// converted to UTF-8 before they reach the system. Failures are raised with
// the numbers the original file-system object gave them.
#include "platform/env.h"

#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

#include "platform/encoding.h"
#include "platform/error.h"

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
  std::string utf8 = Win1252ToUtf8(path);
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
// the process id, a counter and a random number.
std::string TempNameFor(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  thread_local std::mt19937 random{std::random_device{}()};
  return "." + target.filename().string() + ".tmp" + std::to_string(getpid()) +
         "-" + std::to_string(counter++) + "-" + std::to_string(random());
}

// Creates a new file for writing with permissions `mode` (less the umask);
// -1 with errno when it cannot.
int CreateTempFile(const fs::path& target, mode_t mode, fs::path* temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    *temp = FolderOf(target) / TempNameFor(target);
    const int fd =
        open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
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

// Writes `bytes` to a fresh file beside `target`, created with permissions
// `mode`, and renames it over the target; false when any step fails, and
// then nothing is left behind.
bool WriteBesideAndRename(const fs::path& target, std::string_view bytes,
                          mode_t mode) {
  fs::path temp;
  const int fd = CreateTempFile(target, mode, &temp);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes);
  const bool closed = close(fd) == 0;
  if (written && closed && rename(temp.c_str(), target.c_str()) == 0) {
    return true;
  }
  unlink(temp.c_str());
  return false;
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
    const fs::path file = PathInExistingFolder(path);
    if (!WriteBesideAndRename(file, bytes, 0666)) throw errors::FileAccess();
  }

  void WriteOwnerOnlyFile(const std::string& path,
                          std::string_view bytes) override {
    const fs::path file = PathInExistingFolder(path);
    if (!WriteBesideAndRename(file, bytes, 0600)) throw errors::FileAccess();
  }

  std::string ReadFile(const std::string& path) override {
    const fs::path file = PathInExistingFolder(path);
    if (!Exists(file)) throw FileNotFound();
    std::string text;
    if (!IsFile(file) || !ReadWhole(file, &text)) throw errors::FileAccess();
    return text;
  }
};

}  // namespace

Env* Env::Default() {
  static PosixEnv* env = new PosixEnv;
  return env;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  path.append(name);
  return path;
}

}  // namespace mx
