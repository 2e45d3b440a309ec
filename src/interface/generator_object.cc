#include "movx20xmlgen/generator_object.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "context/build_context.h"
#include "context/generator_context.h"
#include "platform/env.h"
#include "platform/vb_text.h"

namespace mx {

namespace {

// True when `path` names the filesystem root however it is spelled ("/",
// "//", "/tmp/..", a link to it). When it cannot be resolved the answer is
// True: the folder is then left alone.
bool ResolvesToRoot(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path resolved = fs::weakly_canonical(path, ec);
  if (ec) resolved = fs::absolute(path, ec).lexically_normal();
  return ec || resolved.relative_path().empty();
}

}  // namespace

GeneratorObject::GeneratorObject(GeneratorKind kind)
    : context_(std::make_unique<GeneratorContext>(kind)), ctx_(*context_) {}

GeneratorObject::~GeneratorObject() = default;

void GeneratorObject::put_ConnectionString(const std::string& value) {
  ctx_.settings.connection_string = value;
}

void GeneratorObject::put_XMLPath(const std::string& value) {
  ctx_.settings.xml_path = value;
}

void GeneratorObject::put_ClearXMLDirectory(bool value) {
  std::string& path = ctx_.settings.xml_path;
  path = vb::Trim(path);
  if (!value || path.empty() || ResolvesToRoot(path)) return;
  Env& env = *ctx_.env;
  if (env.FolderExists(path)) env.DeleteFolder(path);
  env.CreateFolder(path);
}

void GeneratorObject::put_TraverseGeneration(bool value) {
  ctx_.settings.traverse_generation = value;
}

void GeneratorObject::put_ConsiderCheckedOutVersions(bool value) {
  ctx_.settings.consider_checked_out_versions = value;
}

void GeneratorObject::putref_LogFileName(std::shared_ptr<TextStream> log) {
  ctx_.reporter.set_log(std::move(log));
}

void GeneratorObject::put_UserName(const std::string& value) {
  ctx_.settings.user_name = value;
}

void GeneratorObject::put_ListOfMappingObjectsSelected(
    const std::string& value) {
  ctx_.settings.list_of_mapping_objects_selected = value;
}

void GeneratorObject::put_SplitVshells(bool value) {
  ctx_.settings.split_vshells = value;
}

std::string GeneratorObject::get_ErrorDescription() const {
  return ctx_.reporter.error_description();
}

BuildContext GeneratorObject::OperationContext() {
  return BuildContext(ctx_.settings, ctx_.last_document, ctx_, ctx_.reporter);
}

}  // namespace mx
