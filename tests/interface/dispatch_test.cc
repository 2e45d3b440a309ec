// The dispatch layer: member lookup by name and id, the fixed id order of
// every public class, argument conversion and write-back, the errors a
// caller sees, and the class factory.
#include "movx20xmlgen/dispatch.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "context/generator_context.h"
#include "movx20xmlgen/cls_xml_generator.h"
#include "movx20xmlgen/cls_xml_legacy.h"
#include "movx20xmlgen/record_objects.h"
#include "raised.h"

namespace mx {
namespace {

using Names = std::vector<std::string>;

Names Words(const std::string& text) {
  std::istringstream in(text);
  Names words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

Names MemberNames(const DispatchObject& object) {
  Names names;
  for (const MemberInfo& m : object.Members().members()) {
    EXPECT_EQ(m.dispid, static_cast<int>(names.size()) + 1) << m.name;
    EXPECT_EQ(object.Members().Find(m.dispid), &m);
    names.push_back(m.name);
  }
  return names;
}

TEST(Dispatch, MemberIdsFollowTheTablesOfEachClass) {
  EXPECT_EQ(MemberNames(ClsXMLGenerator()),
            Words("MigrationProfile PackageFrom ModuleFrom TableFrom "
                  "PackageTo ModuleTo TableTo ConnectionString XMLPath "
                  "Include2GBCheck XMLGenerationOption ClearXMLDirectory "
                  "ListOfXMLGenerated ErrorDescription LogFileName UserName "
                  "ListOfMappingObjectsSelected TraverseGeneration "
                  "NoOfXMLGenerated ConsiderCheckedOutVersions SplitVshells "
                  "GenerateXMLFile Replace_Empty_Default_Target "
                  "AddSplitQueries_to_Precondition get_split_fields "
                  "RowSizeofTable"));
  EXPECT_EQ(MemberNames(ClsXMLLegacy()),
            Words("MigrationProfile ClearXMLDirectory PackageFrom ModuleFrom "
                  "TableFrom PackageTo ModuleTo TableTo ConnectionString "
                  "XMLPath TraverseGeneration ConsiderCheckedOutVersions "
                  "LogFileName SchemaINIPath UserName ErrorDescription "
                  "ListOfMappingObjectsSelected SplitVshells GenerateXMLFile "
                  "Replace_Empty_Default_Target "
                  "AddSplitQueries_to_Precondition get_split_fields "
                  "ConstructSplitInfoFile GetConnStr GetFromToRange"));
  EXPECT_EQ(MemberNames(CDumpInfoObject()),
            Words("IntDumpNo StrTargetTableName StrFieldName StrMapRule "
                  "IntFieldType"));
  EXPECT_EQ(MemberNames(CFieldInfoObject()),
            Words("StrTableName StrFieldName StrDomainName StrInitialValue "
                  "StrDefaultValue IntDepth StrFieldCase StrFieldAlign "
                  "IntFieldLength StrFieldType StrMandField"));
}

TEST(Dispatch, NamesInAnyCaseAndIdsReachTheSameMember) {
  ClsXMLGenerator g;
  g.PutProperty("xmlpath", "a");
  EXPECT_EQ(g.context().settings.xml_path, "a");
  std::vector<Variant> args{Variant("b")};
  g.Invoke(9, InvokeKind::kPropertyPut, args);
  EXPECT_EQ(g.context().settings.xml_path, "b");
  g.context().reporter.set_error_description("\t\tERROR: 111:x");
  EXPECT_EQ(g.GetProperty("ERRORDESCRIPTION").ToText(), "\t\tERROR: 111:x");

  // One id serves the get and the put of a record field.
  CFieldInfoObject f;
  args = {Variant(int32_t{40000})};
  f.Invoke(9, InvokeKind::kPropertyPut, args);
  args.clear();
  EXPECT_EQ(
      f.Invoke("intfieldlength", InvokeKind::kPropertyGet, args).ToInt32(),
      40000);
  EXPECT_EQ(f.record().IntFieldLength, 40000);
}

TEST(Dispatch, ArgumentsAreConvertedToTheDeclaredType) {
  ClsXMLGenerator g;
  g.PutProperty("MigrationProfile", "7");
  g.PutProperty("TraverseGeneration", "False");
  g.PutProperty("Include2GBCheck", Variant(int32_t{1}));
  const GeneratorSettings& s = g.context().settings;
  EXPECT_EQ(s.migration_profile, 7);
  EXPECT_FALSE(s.traverse_generation);
  EXPECT_TRUE(s.include_2gb_check);

  EXPECT_EQ(
      Raised([&] { g.PutProperty("MigrationProfile", "seven"); }).number(),
      errors::kTypeMismatch);
  EXPECT_EQ(
      Raised([&] { g.PutProperty("UserName", Variant::MakeNull()); }).number(),
      errors::kInvalidUseOfNull);

  CFieldInfoObject f;
  EXPECT_EQ(Raised([&] {
              f.PutProperty("IntDepth", Variant(int32_t{40000}));
            }).number(),
            errors::kOverflow);
  EXPECT_EQ(f.record().IntDepth, 0);
}

// A member with parameters of every passing mode.
class Probe : public DispatchObject {
 public:
  bool Tag(std::string& text, int16_t& count, std::string label) {
    text = label + text;
    count = static_cast<int16_t>(count + 1);
    return true;
  }
  std::string_view ProgId() const override { return "Test.Probe"; }
  const MemberTable& Members() const override {
    static const MemberTable* table =
        new MemberTable(MemberTableBuilder<Probe>()
                            .Method("Tag", &Probe::Tag, {"Text", "N", "Label"})
                            .Build());
    return *table;
  }
};

TEST(Dispatch, ByReferenceArgumentsAreWrittenBack) {
  Probe p;
  std::vector<Variant> args{Variant("x"), Variant("4"), Variant("L:")};
  EXPECT_TRUE(p.Invoke("tag", InvokeKind::kMethod, args).ToBool());
  EXPECT_EQ(args[0].ToText(), "L:x");
  EXPECT_EQ(args[1].ToInt16(), 5);
  EXPECT_TRUE(args[1].IsInteger());  // written back as a number
  EXPECT_EQ(args[2].ToText(), "L:");

  const MemberInfo* m = p.FindMember("Tag");
  ASSERT_NE(m, nullptr);
  EXPECT_TRUE(m->params[0].by_ref);
  EXPECT_EQ(m->params[1].type, VarType::kInt16);
  EXPECT_FALSE(m->params[2].by_ref);

  // What the command line reads to report a by-reference result.
  ClsXMLGenerator g;
  const MemberInfo* r = g.FindMember("replace_empty_default_target");
  ASSERT_NE(r, nullptr);
  ASSERT_EQ(r->params.size(), 4u);
  EXPECT_EQ(r->params[3].name, "Return_String");
  EXPECT_TRUE(r->params[3].by_ref);
  EXPECT_FALSE(r->params[0].by_ref);

  // A text with nothing to rewrite comes back whole in Return_String.
  args = {Variant("tc"), Variant("tc"), Variant("x = 1"), Variant("old")};
  EXPECT_TRUE(g.Invoke(23, InvokeKind::kMethod, args).ToBool());
  EXPECT_EQ(args[3].ToText(), "x = 1");
}

// The split operations of the legacy class, by the ids of its member table:
// their parameters as the workbench passes them, and calls that need no
// repository.
TEST(Dispatch, LegacySplitOperationsAreMethods) {
  ClsXMLLegacy l;
  struct Expected {
    int dispid;
    const char* name;
    Names params;
  };
  for (const Expected& e : std::vector<Expected>{
           {21,
            "AddSplitQueries_to_Precondition",
            {"StrSrcAppl", "InString", "strTgtTable", "StrReturnString"}},
           {22,
            "get_split_fields",
            {"StrSrcAppl", "strTgtTable", "StrSrcTable"}},
           {23, "ConstructSplitInfoFile", {"IntMprf", "StrSplitInfoFileName"}},
           {25, "GetFromToRange", {}}}) {
    const MemberInfo* m = l.Members().Find(e.dispid);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->name, e.name);
    ASSERT_TRUE(m->call) << e.name;
    Names params;
    for (const ParamInfo& p : m->params) params.push_back(p.name);
    EXPECT_EQ(params, e.params) << e.name;
  }
  const MemberInfo* add = l.FindMember("AddSplitQueries_to_Precondition");
  EXPECT_TRUE(add->params[3].by_ref);
  EXPECT_FALSE(add->params[1].by_ref);
  EXPECT_EQ(l.FindMember("get_split_fields")->params[2].type,
            VarType::kVariant);
  EXPECT_EQ(l.FindMember("ConstructSplitInfoFile")->params[0].type,
            VarType::kInt16);

  std::vector<Variant> none;
  const std::string range = l.Invoke(25, InvokeKind::kMethod, none).ToText();
  EXPECT_EQ(range.rfind("\r\nsub GetFromToRange(StrSrcTable,StrFrom,StrTo)", 0),
            0u);

  // The profile number is a 16-bit integer; without a repository the file
  // cannot be built, which is False and no message.
  std::vector<Variant> large{Variant("40000"), Variant("splitinfo.xml")};
  EXPECT_EQ(Raised([&] { l.Invoke(23, InvokeKind::kMethod, large); }).number(),
            errors::kOverflow);
  std::vector<Variant> two{Variant("7"), Variant("")};
  EXPECT_FALSE(l.Invoke(23, InvokeKind::kMethod, two).ToBool());
  EXPECT_EQ(l.get_ErrorDescription(), "");
}

TEST(Dispatch, ErrorsNameTheObjectAndTheMember) {
  ClsXMLGenerator g;
  std::vector<Variant> none;
  VbError unknown = Raised([&] { g.GetProperty("NoSuchMember"); });
  EXPECT_EQ(unknown.number(), errors::kMemberNotFound);
  EXPECT_EQ(unknown.source(), "MOVX20XMLGenerator.ClsXMLGenerator");
  EXPECT_NE(unknown.description().find("NoSuchMember"), std::string::npos);
  EXPECT_EQ(Raised([&] { g.Invoke(27, InvokeKind::kMethod, none); }).number(),
            errors::kMemberNotFound);
  EXPECT_EQ(Raised([&] { g.Invoke(0, InvokeKind::kMethod, none); }).number(),
            errors::kMemberNotFound);

  // Reads of write-only properties, writes the member does not take, and
  // argument counts.
  EXPECT_EQ(Raised([&] { g.GetProperty("MigrationProfile"); }).number(),
            errors::kPropertyNotReadable);
  EXPECT_EQ(Raised([&] { g.PutProperty("NoOfXMLGenerated", 3); }).number(),
            errors::kWrongArguments);
  EXPECT_EQ(Raised([&] { g.PutProperty("GenerateXMLFile", true); }).number(),
            errors::kWrongArguments);
  EXPECT_EQ(Raised([&] { g.PutRefProperty("XMLPath", "a"); }).number(),
            errors::kWrongArguments);
  std::vector<Variant> three{Variant("a"), Variant("b"), Variant("c")};
  EXPECT_EQ(Raised([&] {
              g.Invoke("Replace_Empty_Default_Target", InvokeKind::kMethod,
                       three);
            }).number(),
            errors::kWrongArguments);
  std::vector<Variant> extra{Variant("a"), Variant("b")};
  EXPECT_EQ(Raised([&] {
              g.Invoke("XMLPath", InvokeKind::kPropertyPut, extra);
            }).number(),
            errors::kWrongArguments);
}

TEST(Dispatch, LogFileNameTakesATextStreamByReference) {
  auto text = std::make_shared<StringTextStream>();
  auto stream = std::make_shared<TextStreamObject>(text);
  ClsXMLLegacy l;
  l.PutRefProperty("LogFileName", Variant::Object(stream));
  EXPECT_EQ(l.context().reporter.log(), text);
  l.context().reporter.LogLine("line");
  std::vector<Variant> args{Variant(int32_t{1})};
  stream->Invoke("writeblanklines", InvokeKind::kMethod, args);
  EXPECT_EQ(text->text(), "line\r\n\r\n");

  EXPECT_EQ(Raised([&] {
              l.PutProperty("LogFileName", Variant::Object(stream));
            }).number(),
            errors::kWrongArguments);
  auto record = std::make_shared<CDumpInfoObject>();
  EXPECT_EQ(Raised([&] {
              l.PutRefProperty("LogFileName", Variant::Object(record));
            }).number(),
            errors::kTypeMismatch);
  EXPECT_EQ(l.context().reporter.log(), text);
  l.PutRefProperty("LogFileName", Variant::Object());  // Nothing
  EXPECT_EQ(l.context().reporter.log(), nullptr);
}

TEST(CreateObject, MakesEachPublicClassByProgIdInAnyCase) {
  auto g = CreateObject("movx20xmlgenerator.clsxmlgenerator");
  EXPECT_NE(dynamic_cast<ClsXMLGenerator*>(g.get()), nullptr);
  auto l = CreateObject("MOVX20XMLGenerator.ClsXMLLegacy");
  ASSERT_NE(dynamic_cast<ClsXMLLegacy*>(l.get()), nullptr);
  EXPECT_EQ(static_cast<ClsXMLLegacy*>(l.get())->context().kind(),
            GeneratorKind::kLegacy);
  EXPECT_NE(dynamic_cast<CDumpInfoObject*>(
                CreateObject("MOVX20XMLGENERATOR.CDUMPINFO").get()),
            nullptr);
  EXPECT_NE(dynamic_cast<CFieldInfoObject*>(
                CreateObject("MOVX20XMLGenerator.CFieldInfo").get()),
            nullptr);

  for (const char* bad : {"MOVX20XMLGenerator.Nothing", "ClsXMLGenerator",
                          "MOVX20XMLGenerator.ClsXMLGenerator "}) {
    EXPECT_EQ(Raised([&] { CreateObject(bad); }).number(),
              errors::kCannotCreateObject)
        << bad;
  }
}

}  // namespace
}  // namespace mx
