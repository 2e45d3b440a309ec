#include "movx20xmlgen/cls_xml_generator.h"

#include <utility>

#include "context/generator_context.h"
#include "platform/env.h"
#include "platform/vb_text.h"
#include "rules/rule_rewriting.h"
#include "run/dd_generation_run.h"
#include "split/row_size.h"
#include "split/split_fields.h"
#include "split/split_queries.h"

namespace mx {

namespace {

constexpr char kInitialStatusFilter[] = "'V','G','E'";

// The status filter an option selects; nullptr outside the enumeration.
const char* StatusFilterOf(EnumGenerateXML option) {
  switch (option) {
    case ONLY_DEFAULT_GENERATED:
      return "'G'";
    case ONLY_MAINTAINED:
      return "'M'";
    case ONLY_VERIFIED:
      return "'V'";
    case GENERATED_AND_VERIFIED:
      return "'V','G'";
    case GENERATED_VERIFIED_MAINTAINED:
    case All:
      return "'V','G','M','E','X','D'";
  }
  return nullptr;
}

// A package or module code: lower-cased, fitted to its width.
std::string RangeCode(const std::string& value, size_t width) {
  return vb::Fit(vb::LCase(value), width);
}

// A table number: "000" prefixed, lower-cased, the last 3 characters.
std::string RangeTableNumber(const std::string& value) {
  return vb::Right(vb::LCase("000" + value), 3);
}

}  // namespace

ClsXMLGenerator::ClsXMLGenerator()
    : GeneratorObject(GeneratorKind::kDataDictionary) {
  GeneratorSettings& s = ctx_.settings;
  s.status_filter = kInitialStatusFilter;
  s.traverse_generation = true;
  s.package_from = s.package_to = vb::Space(2);
  s.module_from = s.module_to = vb::Space(3);
  s.table_from = s.table_to = vb::Space(3);
}

void ClsXMLGenerator::put_MigrationProfile(int16_t value) {
  ctx_.settings.migration_profile = value;
}

void ClsXMLGenerator::put_PackageFrom(const std::string& value) {
  ctx_.settings.package_from = RangeCode(value, 2);
}

void ClsXMLGenerator::put_ModuleFrom(const std::string& value) {
  ctx_.settings.module_from = RangeCode(value, 3);
}

void ClsXMLGenerator::put_TableFrom(const std::string& value) {
  ctx_.settings.table_from = RangeTableNumber(value);
}

void ClsXMLGenerator::put_PackageTo(const std::string& value) {
  ctx_.settings.package_to = RangeCode(value, 2);
}

void ClsXMLGenerator::put_ModuleTo(const std::string& value) {
  ctx_.settings.module_to = RangeCode(value, 3);
}

void ClsXMLGenerator::put_TableTo(const std::string& value) {
  ctx_.settings.table_to = RangeTableNumber(value);
}

void ClsXMLGenerator::put_Include2GBCheck(bool value) {
  ctx_.settings.include_2gb_check = value;
}

void ClsXMLGenerator::put_XMLGenerationOption(EnumGenerateXML value) {
  ctx_.settings.xml_generation_option = value;
  if (const char* filter = StatusFilterOf(value)) {
    ctx_.settings.status_filter = filter;
  }
}

std::string ClsXMLGenerator::get_ListOfXMLGenerated() const {
  return ctx_.list_of_xml_generated;
}

int32_t ClsXMLGenerator::get_NoOfXMLGenerated() const {
  return ctx_.no_of_xml_generated;
}

bool ClsXMLGenerator::GenerateXMLFile() { return dd::GenerateXMLFile(ctx_); }

bool ClsXMLGenerator::Replace_Empty_Default_Target(std::string StrSrcAppl,
                                                   std::string StrTrgAppl,
                                                   std::string StrString,
                                                   std::string& Return_String) {
  BuildContext build = OperationContext();
  return dd::Replace_Empty_Default_Target(build, StrSrcAppl, StrTrgAppl,
                                          StrString, &Return_String);
}

bool ClsXMLGenerator::AddSplitQueries_to_Precondition(
    std::string StrSrcAppl, std::string InString, std::string strTgtTable,
    std::string& StrReturnString) {
  BuildContext build = OperationContext();
  return dd::AddSplitQueries_to_Precondition(build, StrSrcAppl, InString,
                                             strTgtTable, &StrReturnString);
}

std::string ClsXMLGenerator::get_split_fields(std::string StrSrcAppl,
                                              std::string strTgtTable,
                                              Variant StrSrcTable,
                                              std::string& StrFlst) {
  BuildContext build = OperationContext();
  return dd::get_split_fields(build, StrSrcAppl, strTgtTable,
                              StrSrcTable.ToText(), &StrFlst);
}

int32_t ClsXMLGenerator::RowSizeofTable(std::string i_StrAppl,
                                        std::string i_StrTable) {
  BuildContext build = OperationContext();
  return mx::RowSizeofTable(build, i_StrAppl, i_StrTable);
}

const MemberTable& ClsXMLGenerator::Members() const {
  using C = ClsXMLGenerator;
  static const MemberTable* table = new MemberTable(
      MemberTableBuilder<C>()
          .Put("MigrationProfile", &C::put_MigrationProfile)
          .Put("PackageFrom", &C::put_PackageFrom)
          .Put("ModuleFrom", &C::put_ModuleFrom)
          .Put("TableFrom", &C::put_TableFrom)
          .Put("PackageTo", &C::put_PackageTo)
          .Put("ModuleTo", &C::put_ModuleTo)
          .Put("TableTo", &C::put_TableTo)
          .Put("ConnectionString", &C::put_ConnectionString)
          .Put("XMLPath", &C::put_XMLPath)
          .Put("Include2GBCheck", &C::put_Include2GBCheck)
          .Put("XMLGenerationOption", &C::put_XMLGenerationOption)
          .Put("ClearXMLDirectory", &C::put_ClearXMLDirectory)
          .Get("ListOfXMLGenerated", &C::get_ListOfXMLGenerated)
          .Get("ErrorDescription", &C::get_ErrorDescription)
          .PutRef("LogFileName", &C::putref_LogFileName)
          .Put("UserName", &C::put_UserName)
          .Put("ListOfMappingObjectsSelected",
               &C::put_ListOfMappingObjectsSelected)
          .Put("TraverseGeneration", &C::put_TraverseGeneration)
          .Get("NoOfXMLGenerated", &C::get_NoOfXMLGenerated)
          .Put("ConsiderCheckedOutVersions", &C::put_ConsiderCheckedOutVersions)
          .Put("SplitVshells", &C::put_SplitVshells)
          .Method("GenerateXMLFile", &C::GenerateXMLFile, {})
          .Method("Replace_Empty_Default_Target",
                  &C::Replace_Empty_Default_Target,
                  {"StrSrcAppl", "StrTrgAppl", "StrString", "Return_String"})
          .Method("AddSplitQueries_to_Precondition",
                  &C::AddSplitQueries_to_Precondition,
                  {"StrSrcAppl", "InString", "strTgtTable", "StrReturnString"})
          .Method("get_split_fields", &C::get_split_fields,
                  {"StrSrcAppl", "strTgtTable", "StrSrcTable", "StrFlst"})
          .Method("RowSizeofTable", &C::RowSizeofTable,
                  {"i_StrAppl", "i_StrTable"})
          .Build());
  return *table;
}

}  // namespace mx
