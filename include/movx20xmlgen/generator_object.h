// GeneratorObject: what ClsXMLGenerator and ClsXMLLegacy share word for word:
// the generator context, the settings both store unchanged, ErrorDescription,
// LogFileName and the ClearXMLDirectory action. The generator context
// (settings as stored, reporter, connections, file system, clock) is only
// declared here: it belongs to the library, and the program and the tests,
// which inject into it, include its header from the library's sources.
#ifndef MOVX20XMLGEN_GENERATOR_OBJECT_H_
#define MOVX20XMLGEN_GENERATOR_OBJECT_H_

#include <memory>
#include <string>

#include "movx20xmlgen/dispatch.h"
#include "movx20xmlgen/text_stream.h"

namespace mx {

class BuildContext;
class GeneratorContext;
enum class GeneratorKind;

class GeneratorObject : public DispatchObject {
 public:
  ~GeneratorObject() override;

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
  explicit GeneratorObject(GeneratorKind kind);

  // What a public operation called outside a run builds with: the object's
  // settings and reporter, and the state of the last document a run built.
  BuildContext OperationContext();

  // The object owns its context; ctx_ is the name the classes use for it.
  const std::unique_ptr<GeneratorContext> context_;
  GeneratorContext& ctx_;
};

}  // namespace mx

#endif  // MOVX20XMLGEN_GENERATOR_OBJECT_H_
