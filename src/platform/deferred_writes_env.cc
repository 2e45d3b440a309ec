#include "platform/deferred_writes_env.h"

#include "movx20xmlgen/error.h"

namespace mx {

bool DeferredWritesEnv::FolderExists(const std::string&) { return false; }

void DeferredWritesEnv::CreateFolder(const std::string& path) {
  writes_.push_back({Kind::kFolder, path, {}});
}

void DeferredWritesEnv::WriteFile(const std::string& path,
                                  std::string_view bytes) {
  writes_.push_back({Kind::kFile, path, std::string(bytes)});
}

void DeferredWritesEnv::WriteOwnerOnlyFile(const std::string& path,
                                           std::string_view bytes) {
  writes_.push_back({Kind::kOwnerOnlyFile, path, std::string(bytes)});
}

void DeferredWritesEnv::Refuse() {
  refused_ = true;
  throw errors::FileAccess();
}

void DeferredWritesEnv::DeleteFolder(const std::string&) { Refuse(); }
bool DeferredWritesEnv::FileExists(const std::string&) { Refuse(); }
void DeferredWritesEnv::DeleteFile(const std::string&) { Refuse(); }
std::string DeferredWritesEnv::ReadFile(const std::string&) { Refuse(); }

void DeferredWritesEnv::Replay(Env& target) const {
  for (const Write& write : writes_) {
    switch (write.kind) {
      case Kind::kFolder:
        if (!target.FolderExists(write.path)) target.CreateFolder(write.path);
        break;
      case Kind::kFile:
        target.WriteFile(write.path, write.bytes);
        break;
      case Kind::kOwnerOnlyFile:
        target.WriteOwnerOnlyFile(write.path, write.bytes);
        break;
    }
  }
}

}  // namespace mx
