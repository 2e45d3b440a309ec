#include "movx20xmlgen/cls_xml_legacy.h"

#include "context/generator_context.h"
#include "dictionary/legacy_connections.h"
#include "platform/vb_text.h"
#include "rules/legacy_rule_rewriting.h"
#include "run/legacy_generation_run.h"
#include "split/from_to_range.h"
#include "split/split_fields.h"
#include "split/split_info_file.h"
#include "split/split_queries.h"

namespace mx {

ClsXMLLegacy::ClsXMLLegacy() : GeneratorObject(GeneratorKind::kLegacy) {}

void ClsXMLLegacy::put_MigrationProfile(int32_t value) {
  ctx_.settings.migration_profile = value;
}

void ClsXMLLegacy::put_PackageFrom(const std::string& value) {
  ctx_.settings.package_from = vb::LCase(value);
}

void ClsXMLLegacy::put_ModuleFrom(const std::string& value) {
  ctx_.settings.module_from = vb::LCase(value);
}

void ClsXMLLegacy::put_TableFrom(const std::string& value) {
  ctx_.settings.table_from = value;
}

void ClsXMLLegacy::put_PackageTo(const std::string& value) {
  ctx_.settings.package_to = vb::LCase(value);
}

void ClsXMLLegacy::put_ModuleTo(const std::string& value) {
  ctx_.settings.module_to = vb::LCase(value);
}

void ClsXMLLegacy::put_TableTo(const std::string& value) {
  ctx_.settings.table_to = value;
}

void ClsXMLLegacy::put_SchemaINIPath(const std::string& value) {
  ctx_.settings.schema_ini_path = value;
}

const MemberTable& ClsXMLLegacy::Members() const {
  using C = ClsXMLLegacy;
  using B = MemberTableBuilder<C>;
  constexpr B::Pass kByRef = B::Pass::kByReference;
  static const MemberTable* table = new MemberTable(
      B().Put("MigrationProfile", &C::put_MigrationProfile)
          .Put("ClearXMLDirectory", &C::put_ClearXMLDirectory)
          .Put("PackageFrom", &C::put_PackageFrom)
          .Put("ModuleFrom", &C::put_ModuleFrom)
          .Put("TableFrom", &C::put_TableFrom)
          .Put("PackageTo", &C::put_PackageTo)
          .Put("ModuleTo", &C::put_ModuleTo)
          .Put("TableTo", &C::put_TableTo)
          .Put("ConnectionString", &C::put_ConnectionString)
          .Put("XMLPath", &C::put_XMLPath)
          .Put("TraverseGeneration", &C::put_TraverseGeneration)
          .Put("ConsiderCheckedOutVersions", &C::put_ConsiderCheckedOutVersions)
          .PutRef("LogFileName", &C::putref_LogFileName)
          .Put("SchemaINIPath", &C::put_SchemaINIPath, kByRef)
          .Put("UserName", &C::put_UserName, kByRef)
          .Get("ErrorDescription", &C::get_ErrorDescription)
          .Put("ListOfMappingObjectsSelected",
               &C::put_ListOfMappingObjectsSelected)
          .Put("SplitVshells", &C::put_SplitVshells)
          .Method("GenerateXMLFile", &C::GenerateXMLFile, {})
          .Method("Replace_Empty_Default_Target",
                  &C::Replace_Empty_Default_Target,
                  {"StrSrcAppl", "StrTrgAppl", "StrString", "Return_String"})
          .Method("AddSplitQueries_to_Precondition",
                  &C::AddSplitQueries_to_Precondition,
                  {"StrSrcAppl", "InString", "strTgtTable", "StrReturnString"})
          .Method("get_split_fields", &C::get_split_fields,
                  {"StrSrcAppl", "strTgtTable", "StrSrcTable"})
          .Method("ConstructSplitInfoFile", &C::ConstructSplitInfoFile,
                  {"IntMprf", "StrSplitInfoFileName"})
          .Method("GetConnStr", &C::GetConnStr, {"i_StrAppl", "i_StrTable"})
          .Method("GetFromToRange", &C::GetFromToRange, {})
          .Build());
  return *table;
}

bool ClsXMLLegacy::GenerateXMLFile() { return legacy::GenerateXMLFile(ctx_); }

bool ClsXMLLegacy::Replace_Empty_Default_Target(std::string StrSrcAppl,
                                                std::string StrTrgAppl,
                                                std::string StrString,
                                                std::string& Return_String) {
  BuildContext build = OperationContext();
  return legacy::Replace_Empty_Default_Target(
      build, ctx_.legacy_facts.target_source, StrSrcAppl, StrTrgAppl, StrString,
      &Return_String);
}

bool ClsXMLLegacy::AddSplitQueries_to_Precondition(
    std::string StrSrcAppl, std::string InString, std::string strTgtTable,
    std::string& StrReturnString) {
  BuildContext build = OperationContext();
  return legacy::AddSplitQueries_to_Precondition(build, StrSrcAppl, InString,
                                                 strTgtTable, &StrReturnString);
}

std::string ClsXMLLegacy::get_split_fields(std::string StrSrcAppl,
                                           std::string strTgtTable,
                                           Variant StrSrcTable) {
  BuildContext build = OperationContext();
  return legacy::get_split_fields(build, StrSrcAppl, strTgtTable,
                                  StrSrcTable.ToText());
}

bool ClsXMLLegacy::ConstructSplitInfoFile(int16_t IntMprf,
                                          std::string StrSplitInfoFileName) {
  BuildContext build = OperationContext();
  return legacy::ConstructSplitInfoFile(build, *ctx_.env, legacy::GetConnStr,
                                        IntMprf, StrSplitInfoFileName);
}

std::string ClsXMLLegacy::GetFromToRange() { return legacy::GetFromToRange(); }

std::string ClsXMLLegacy::GetConnStr(std::string i_StrAppl,
                                     std::string i_StrTable) {
  BuildContext build = OperationContext();
  return legacy::GetConnStr(build, i_StrAppl, i_StrTable);
}

}  // namespace mx
