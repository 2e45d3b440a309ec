// ClsXMLGenerator, the public class for profiles whose source application is
// described in the data dictionary: its settings, with their defaults and
// storing rules, its results and its public operations, reachable from C++
// (put_X / get_X / putref_X) and through the dispatch layer by name or by
// dispatch id in the order of its member table.
//
// GeneratorObject is the part that ClsXMLGenerator and ClsXMLLegacy share
// word for word: the generator context, the settings both store unchanged,
// ErrorDescription, LogFileName and the ClearXMLDirectory action.
#ifndef MX_INTERFACE_CLS_XML_GENERATOR_H_
#define MX_INTERFACE_CLS_XML_GENERATOR_H_

#include <cstdint>
#include <memory>
#include <string>

#include "interface/dispatch.h"
#include "interface/generator_context.h"
#include "interface/records.h"
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

  GeneratorContext ctx_;
};

class ClsXMLGenerator : public GeneratorObject {
 public:
  static constexpr char kProgId[] = "MOVX20XMLGenerator.ClsXMLGenerator";

  // Status filter 'V','G','E', TraverseGeneration True, range bounds blank.
  ClsXMLGenerator();

  void put_MigrationProfile(int16_t value);
  // Lower-cased, fitted to 2 (package) or 3 (module) characters.
  void put_PackageFrom(const std::string& value);
  void put_ModuleFrom(const std::string& value);
  // "000" prefixed, lower-cased, the last 3 characters kept.
  void put_TableFrom(const std::string& value);
  void put_PackageTo(const std::string& value);
  void put_ModuleTo(const std::string& value);
  void put_TableTo(const std::string& value);
  void put_Include2GBCheck(bool value);
  // Stores the value; 0 to 5 also set the status filter, any other value
  // leaves it as it was.
  void put_XMLGenerationOption(EnumGenerateXML value);
  std::string get_ListOfXMLGenerated() const;
  int32_t get_NoOfXMLGenerated() const;

  // The run; True when it got to its end.
  bool GenerateXMLFile();
  bool Replace_Empty_Default_Target(std::string StrSrcAppl,
                                    std::string StrTrgAppl,
                                    std::string StrString,
                                    std::string& Return_String);

  std::string_view ProgId() const override { return kProgId; }
  const MemberTable& Members() const override;
};

}  // namespace mx

#endif  // MX_INTERFACE_CLS_XML_GENERATOR_H_
