// The file system as the component sees it, behind a small interface so that
// tests can inject faults. Paths are Windows-1252 texts, joined with "/".
// Failures raise VbError: 76 "Path not found" when a folder on the way is
// missing (an empty path included: it is never the filesystem root), 75
// "Path/File access error" when a file or folder cannot be written.
#ifndef MX_PLATFORM_ENV_H_
#define MX_PLATFORM_ENV_H_

#include <sys/stat.h>

#include <string>
#include <string_view>

namespace mx {

class Env {
 public:
  virtual ~Env() = default;

  virtual bool FolderExists(const std::string& path) = 0;
  // Creates one level; the parent must exist.
  virtual void CreateFolder(const std::string& path) = 0;
  // Deletes the folder with all its contents, read-only files included.
  virtual void DeleteFolder(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual void DeleteFile(const std::string& path) = 0;
  // Writes the whole file: a temporary file in the same folder, then a rename
  // over the target. When it fails, an earlier file stays as it was. An
  // existing file that MayReplaceFile refuses is left alone (error 70); a
  // device or FIFO is written in place, never replaced. The temporary file
  // has no name until it is whole where the system allows; elsewhere the
  // first write into a folder removes the temporary files that writers
  // killed outright left there.
  virtual void WriteFile(const std::string& path, std::string_view bytes) = 0;
  // WriteFile for a file that carries passwords: the file is readable and
  // writable by its owner only (mode 0600), whatever the umask, from the
  // moment it exists.
  virtual void WriteOwnerOnlyFile(const std::string& path,
                                  std::string_view bytes) = 0;
  virtual std::string ReadFile(const std::string& path) = 0;

  // The real file system; never deleted.
  static Env* Default();
};

// A device, FIFO or socket: written where it is, never replaced.
bool IsSpecialFile(const struct stat& st);

// Whether an existing regular file may be replaced: the user may write it,
// and it carries some write permission (a file with none is read-only to
// everyone, its owner and the superuser included, as a read-only file was
// to the original).
bool MayReplaceFile(const std::string& system_path, const struct stat& st);

// Joins a folder and a name with "/".
std::string JoinPath(std::string_view folder, std::string_view name);

// Delegates everything to another Env; tests override what they break.
class EnvWrapper : public Env {
 public:
  explicit EnvWrapper(Env* target) : target_(target) {}
  bool FolderExists(const std::string& p) override {
    return target_->FolderExists(p);
  }
  void CreateFolder(const std::string& p) override { target_->CreateFolder(p); }
  void DeleteFolder(const std::string& p) override { target_->DeleteFolder(p); }
  bool FileExists(const std::string& p) override {
    return target_->FileExists(p);
  }
  void DeleteFile(const std::string& p) override { target_->DeleteFile(p); }
  void WriteFile(const std::string& p, std::string_view b) override {
    target_->WriteFile(p, b);
  }
  void WriteOwnerOnlyFile(const std::string& p, std::string_view b) override {
    target_->WriteOwnerOnlyFile(p, b);
  }
  std::string ReadFile(const std::string& p) override {
    return target_->ReadFile(p);
  }

 private:
  Env* target_;
};

}  // namespace mx

#endif  // MX_PLATFORM_ENV_H_
