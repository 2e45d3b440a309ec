// ClsXMLLegacy, the public class for profiles whose source is a legacy
// application: its settings and their storing rules. It has no
// initialisation of its own (numbers 0, texts empty, Booleans False, no log
// stream).
#ifndef MOVX20XMLGEN_CLS_XML_LEGACY_H_
#define MOVX20XMLGEN_CLS_XML_LEGACY_H_

#include <cstdint>
#include <string>

#include "movx20xmlgen/cls_xml_generator.h"

namespace mx {

class ClsXMLLegacy : public GeneratorObject {
 public:
  static constexpr char kProgId[] = "MOVX20XMLGenerator.ClsXMLLegacy";

  ClsXMLLegacy();

  void put_MigrationProfile(int32_t value);
  // Lower-cased, any length.
  void put_PackageFrom(const std::string& value);
  void put_ModuleFrom(const std::string& value);
  // Unchanged; the run pads it.
  void put_TableFrom(const std::string& value);
  void put_PackageTo(const std::string& value);
  void put_ModuleTo(const std::string& value);
  void put_TableTo(const std::string& value);
  void put_SchemaINIPath(const std::string& value);

  // The run; True when it got to its end, side files included.
  bool GenerateXMLFile();
  bool Replace_Empty_Default_Target(std::string StrSrcAppl,
                                    std::string StrTrgAppl,
                                    std::string StrString,
                                    std::string& Return_String);
  // Rewrites a pre-condition for a split run: the range code before every
  // migrate, the range conditions kept for the main query. On failure
  // (reported) StrReturnString is left as it was.
  bool AddSplitQueries_to_Precondition(std::string StrSrcAppl,
                                       std::string InString,
                                       std::string strTgtTable,
                                       std::string& StrReturnString);
  // The split fields of a target and source table as stored; errors reach
  // the caller.
  std::string get_split_fields(std::string StrSrcAppl, std::string strTgtTable,
                               Variant StrSrcTable);
  // Writes the split information file (owner-only); False, with no message
  // and no file left, on any error.
  bool ConstructSplitInfoFile(int16_t IntMprf,
                              std::string StrSplitInfoFileName);
  // The connection fragment of a legacy table; errors reach the caller.
  std::string GetConnStr(std::string i_StrAppl, std::string i_StrTable);
  // The script routines that the legacy range code calls.
  std::string GetFromToRange();

  std::string_view ProgId() const override { return kProgId; }
  const MemberTable& Members() const override;
};

}  // namespace mx

#endif  // MOVX20XMLGEN_CLS_XML_LEGACY_H_
