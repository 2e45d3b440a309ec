// A file system that fails one chosen operation and records every operation
// that changes something. Folders and deletions fail with error 75 before
// they touch anything. A whole-file write fails inside the real file system,
// at the step chosen: creating the temporary file (no file handle is left to
// the process), writing its bytes (the process may not grow a file) or
// renaming it over the target (a folder stands in the target's place for the
// duration of the call), so that what a failed write leaves behind is what
// the real file system leaves.
#ifndef MX_TESTS_TESTING_FAULTY_ENV_H_
#define MX_TESTS_TESTING_FAULTY_ENV_H_

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "movx20xmlgen/error.h"
#include "platform/env.h"

namespace mx::testing {

enum class FileFault { kFail, kCreate, kWrite, kRename };

struct FileOperation {
  enum Kind { kCreateFolder, kDeleteFolder, kDeleteFile, kWrite } kind;
  std::string path;
  size_t bytes = 0;  // of a write
};

// The ways operation `op` can be made to fail.
inline std::vector<FileFault> FaultsOf(const FileOperation& op) {
  if (op.kind != FileOperation::kWrite) return {FileFault::kFail};
  if (op.bytes == 0) return {FileFault::kCreate, FileFault::kRename};
  return {FileFault::kCreate, FileFault::kWrite, FileFault::kRename};
}

class FaultyEnv : public EnvWrapper {
 public:
  explicit FaultyEnv(Env* target = Env::Default()) : EnvWrapper(target) {}

  // Fails the n-th (1-based) changing operation; 0 fails none.
  void FailAt(size_t n, FileFault fault) {
    fail_at_ = n;
    fault_ = fault;
  }
  // Whether the chosen operation was reached and failed.
  bool fault_happened() const { return fault_happened_; }
  const std::vector<FileOperation>& operations() const { return operations_; }

  void CreateFolder(const std::string& p) override {
    if (Next(FileOperation::kCreateFolder, p)) throw errors::FileAccess();
    EnvWrapper::CreateFolder(p);
  }
  void DeleteFolder(const std::string& p) override {
    if (Next(FileOperation::kDeleteFolder, p)) throw errors::FileAccess();
    EnvWrapper::DeleteFolder(p);
  }
  void DeleteFile(const std::string& p) override {
    if (Next(FileOperation::kDeleteFile, p)) throw errors::FileAccess();
    EnvWrapper::DeleteFile(p);
  }
  void WriteFile(const std::string& p, std::string_view b) override {
    Write(p, b, [&] { EnvWrapper::WriteFile(p, b); });
  }
  void WriteOwnerOnlyFile(const std::string& p, std::string_view b) override {
    Write(p, b, [&] { EnvWrapper::WriteOwnerOnlyFile(p, b); });
  }

 private:
  // Records the operation; true when it is the one to fail.
  bool Next(FileOperation::Kind kind, const std::string& path,
            size_t bytes = 0) {
    operations_.push_back({kind, path, bytes});
    const bool hit = operations_.size() == fail_at_;
    if (hit) fault_happened_ = true;
    return hit;
  }

  template <typename WriteCall>
  void Write(const std::string& path, std::string_view bytes,
             WriteCall&& write) {
    if (!Next(FileOperation::kWrite, path, bytes.size())) {
      write();
      return;
    }
    switch (fault_) {
      case FileFault::kFail:
        throw errors::FileAccess();
      case FileFault::kCreate:
        WithLimit(RLIMIT_NOFILE, LowestFreeDescriptor(), write);
        break;
      case FileFault::kWrite:
        WithLimit(RLIMIT_FSIZE, 0, write);
        break;
      case FileFault::kRename:
        WithFolderInPlace(path, write);
        break;
    }
    // The real file system wrote although the step was broken.
    fault_happened_ = false;
  }

  static rlim_t LowestFreeDescriptor() {
    const int fd = dup(STDERR_FILENO);
    close(fd);
    return static_cast<rlim_t>(fd);
  }

  // Runs `call` with the soft limit `resource` lowered to `value`; the limit
  // is restored whatever happens.
  template <typename Call>
  static void WithLimit(int resource, rlim_t value, Call&& call) {
    rlimit old;
    getrlimit(resource, &old);
    rlimit lowered = old;
    lowered.rlim_cur = value;
    // Growing a file past the limit otherwise ends the process.
    struct sigaction ignore = {}, previous;
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    setrlimit(resource, &lowered);
    try {
      call();
    } catch (...) {
      setrlimit(resource, &old);
      sigaction(SIGXFSZ, &previous, nullptr);
      throw;
    }
    setrlimit(resource, &old);
    sigaction(SIGXFSZ, &previous, nullptr);
  }

  // Runs `call` while a folder stands where the file is to be renamed to;
  // a file that was there is moved aside and back.
  template <typename Call>
  static void WithFolderInPlace(const std::string& path, Call&& call) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path aside(path + ".aside");
    const bool had_file = fs::exists(target);
    if (had_file) fs::rename(target, aside);
    fs::create_directory(target);
    auto restore = [&] {
      fs::remove(target);
      if (had_file) fs::rename(aside, target);
    };
    try {
      call();
    } catch (...) {
      restore();
      throw;
    }
    restore();
  }

  std::vector<FileOperation> operations_;
  size_t fail_at_ = 0;
  FileFault fault_ = FileFault::kFail;
  bool fault_happened_ = false;
};

}  // namespace mx::testing

#endif  // MX_TESTS_TESTING_FAULTY_ENV_H_
