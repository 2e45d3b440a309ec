// An Env that writes nothing yet: a builder working ahead of its turn (on
// another thread) asks it for folders and files, and it keeps them, in the
// order asked, for the run to write through the real Env when the builder's
// turn comes. It answers as the real file system would at that turn as far
// as a document writer asks: a folder it is asked about is made if missing
// when the writes are replayed, so it reports every folder as missing.
// It reads nothing: any other call is refused, and the builder's work is
// then not to be used (Refused()).
#ifndef MX_PLATFORM_DEFERRED_WRITES_ENV_H_
#define MX_PLATFORM_DEFERRED_WRITES_ENV_H_

#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"

namespace mx {

class DeferredWritesEnv : public Env {
 public:
  bool FolderExists(const std::string& path) override;
  void CreateFolder(const std::string& path) override;
  void WriteFile(const std::string& path, std::string_view bytes) override;
  void WriteOwnerOnlyFile(const std::string& path,
                          std::string_view bytes) override;
  // Refused: they would read or change the file system now.
  void DeleteFolder(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  void DeleteFile(const std::string& path) override;
  std::string ReadFile(const std::string& path) override;

  // Whether the builder asked for something this Env cannot defer.
  bool Refused() const { return refused_; }
  // Writes what was kept, in order, through `target`: a folder is made when
  // `target` lacks it. Raises `target`'s error at the first that fails; what
  // came before it stays written.
  void Replay(Env& target) const;

 private:
  enum class Kind { kFolder, kFile, kOwnerOnlyFile };
  struct Write {
    Kind kind;
    std::string path;
    std::string bytes;
  };
  [[noreturn]] void Refuse();

  std::vector<Write> writes_;
  bool refused_ = false;
};

}  // namespace mx

#endif  // MX_PLATFORM_DEFERRED_WRITES_ENV_H_
