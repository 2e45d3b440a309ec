// GeneratorObject: what ClsXMLGenerator and ClsXMLLegacy share word for word:
// the generator context, the settings both store unchanged, ErrorDescription,
// LogFileName and the ClearXMLDirectory action.
#ifndef MX_INTERFACE_GENERATOR_OBJECT_H_
#define MX_INTERFACE_GENERATOR_OBJECT_H_

#include <memory>
#include <string>

#include "context/generator_context.h"
#include "interface/dispatch.h"
#include "platform/text_stream.h"

namespace mx {

class GeneratorObject : public DispatchObject {
 public:
  // The state the runs work on; callers inject the clock, the file system
  // and connections here.
  GeneratorContext& context() { return ctx_; }
  const GeneratorContext& context() const { return ctx_; }

  void put_ConnectionString(const std::string& value);
  void put_XMLPath(const std::string& value);
  // Not stored: trims XMLPath in place; True with a non-empty XMLPath deletes
  // the folder with all its contents (when it exists) and creates it anew.
  // A path that resolves to the filesystem root is left alone. File-system
  // failures reach the caller.
  void put_ClearXMLDirectory(bool value);
  void put_TraverseGeneration(bool value);
  void put_ConsiderCheckedOutVersions(bool value);
  void putref_LogFileName(std::shared_ptr<TextStream> log);
  void put_UserName(const std::string& value);
  void put_ListOfMappingObjectsSelected(const std::string& value);
  void put_SplitVshells(bool value);
  std::string get_ErrorDescription() const;

 protected:
  explicit GeneratorObject(GeneratorKind kind) : ctx_(kind) {}

  // What a public operation called outside a run builds with: the object's
  // settings and reporter, and the state of the last document a run built.
  BuildContext OperationContext();

  GeneratorContext ctx_;
};

}  // namespace mx

#endif  // MX_INTERFACE_GENERATOR_OBJECT_H_
