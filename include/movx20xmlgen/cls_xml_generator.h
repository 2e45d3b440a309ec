// ClsXMLGenerator, the public class for profiles whose source application is
// described in the data dictionary: its settings, with their defaults and
// storing rules, its results and its public operations, reachable from C++
// (put_X / get_X / putref_X) and through the dispatch layer by name or by
// dispatch id in the order of its member table.
#ifndef MOVX20XMLGEN_CLS_XML_GENERATOR_H_
#define MOVX20XMLGEN_CLS_XML_GENERATOR_H_

#include <cstdint>
#include <memory>
#include <string>

#include "movx20xmlgen/generator_object.h"
#include "movx20xmlgen/records.h"
#include "movx20xmlgen/text_stream.h"
#include "movx20xmlgen/variant.h"

namespace mx {

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
  // Rewrites a pre-condition for a split run; the range conditions and
  // declarations go into the state that public operations share.
  bool AddSplitQueries_to_Precondition(std::string StrSrcAppl,
                                       std::string InString,
                                       std::string strTgtTable,
                                       std::string& StrReturnString);
  // The split fields of a target and source table; StrFlst receives the
  // stored list. Errors escape to the caller.
  std::string get_split_fields(std::string StrSrcAppl, std::string strTgtTable,
                               Variant StrSrcTable, std::string& StrFlst);
  // The row size of a data-dictionary table; errors escape to the caller.
  int32_t RowSizeofTable(std::string i_StrAppl, std::string i_StrTable);

  std::string_view ProgId() const override { return kProgId; }
  const MemberTable& Members() const override;
};

}  // namespace mx

#endif  // MOVX20XMLGEN_CLS_XML_GENERATOR_H_
