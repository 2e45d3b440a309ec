#include "xml/output_path.h"

#include "platform/error.h"

namespace mx {

void CheckPlainName(const std::string& name) {
  if (name.empty() || name == "." || name == ".." ||
      name.find_first_of(std::string("/\\\0", 3)) != std::string::npos) {
    throw errors::FileAccess();
  }
}

std::string EnsureOutputFolder(GeneratorContext& ctx,
                               const std::string& folder) {
  CheckPlainName(folder);
  if (ctx.settings.xml_path.empty()) throw errors::PathNotFound();
  std::string path = JoinPath(ctx.settings.xml_path, folder);
  if (!ctx.env->FolderExists(path)) ctx.env->CreateFolder(path);
  return path;
}

}  // namespace mx
