// The DUMP elements of a legacy document on a temporary repository, with a
// field store filled as the legacy field builders fill it (neutral value
// space(n) for strings, 0 for the rest). A rule comes out of the section
// translation as " " + its words + "  \r\n     " and is stored trimmed, so
// every value ends in "  \r\n".
#include "xml/legacy_dump_tag.h"

#include <gtest/gtest.h>

#include <string>

#include "repository/temp_repository.h"
#include "testing/test_context.h"

namespace mx::legacy {
namespace {

using repository::testing::TempRepository;

class LegacyDumpTest : public ::testing::Test {
 protected:
  LegacyDumpTest() : t(GeneratorKind::kLegacy) {
    repo.Exec(
        "INSERT INTO qxddi230 (appl, cpac, cdom, ctnm, cnst) VALUES "
        "('TAP', 'pk', 'color', 'red', '7')");
    t.object.settings.connection_string = "Data Source=" + repo.path();
    t.ctx.doc.declared_variables = "Dim n As Long = 0\r\n";
  }

  void Field(const char* name, const char* type, int32_t length = 0,
             const char* case_code = " ", const char* align = " ",
             const char* table = "abcde123") {
    CFieldInfo f;
    f.StrTableName = table;
    f.StrFieldName = name;
    f.StrFieldType = type;
    f.IntFieldLength = length;
    f.StrFieldCase = case_code;
    f.StrFieldAlign = align;
    const bool text = std::string(type) == "S" || std::string(type) == "M";
    f.StrInitialValue = text ? "space(" + std::to_string(length) + ")" : "0";
    f.StrDefaultValue = text ? "\"ab\"" : "0";
    t.ctx.doc.field_store.Add(f.StrTableName + f.StrFieldName, f);
  }

  void Rule(const char* field, const std::string& rule, int type, int dump,
            const char* flno = "123", const char* cpac = "ab",
            const char* cmod = "cde") {
    repo.Exec(
        "INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, "
        "fdnm, mrul, type, dnum) VALUES (7, '0100', '01', '0000', '" +
        std::string(cpac) + "', '" + cmod + "', '" + flno + "', '" + field +
        "', '" + rule + "', " + std::to_string(type) + ", " +
        std::to_string(dump) + ")");
  }

  // The dumps; "FAILED" when the builder returns false.
  std::string Dumps() {
    std::string text = "stale";
    if (!Construct_Dump_Tag(t.ctx, facts, object, "cust", &text)) {
      EXPECT_EQ(text, "");
      return "FAILED";
    }
    EXPECT_EQ(t.log->text(), "");
    return text;
  }

  TempRepository repo;
  testing::TestContext t;
  LegacyRunFacts facts{false, "7"};
  ConversionObject object{7,     "0100", "01",  "0000", "ab", "cde",
                          "LEG", "TAP",  "123", "",     ""};
};

TEST_F(LegacyDumpTest, FieldsWithoutARuleGetTheirNeutralValuesConverted) {
  Field("name", "S", 10);
  Field("stamp", "k");  // the type is read upper-cased
  Field("day", "T");
  Field("qty", "I");
  Field("qty", "I", 0, " ", " ", "abcde124");  // another table's field
  // Dump 0 is a dump like any other; the first rule starts the list.
  Rule("qty", "5", 0, 0);
  Rule("day", "cust.DAY", 0, 2);
  EXPECT_EQ(Dumps(),
            "<DUMP-0 TARGET=\"abcde123\">\r\n"
            "<NAME TYPE = \"0\">ObjCnv.CheckEmpty(space(10))</NAME>\r\n"
            "<STAMP TYPE = \"0\">ObjCnv.to_utc(0)</STAMP>\r\n"
            "<DAY TYPE = \"0\">ObjCnv.to_date(0)</DAY>\r\n"
            "<QTY TYPE = \"0\">5  \r\n</QTY>\r\n"
            "</DUMP-0>\r\n"
            "<DUMP-2 TARGET=\"abcde123\">\r\n"
            "<NAME TYPE = \"0\">ObjCnv.CheckEmpty(space(10))</NAME>\r\n"
            "<STAMP TYPE = \"0\">ObjCnv.to_utc(0)</STAMP>\r\n"
            "<DAY TYPE = \"0\">ObjCnv.to_date(cust_DAY  \r\n)</DAY>\r\n"
            "<QTY TYPE = \"0\">0</QTY>\r\n"
            "</DUMP-2>\r\n");
}

TEST_F(LegacyDumpTest, ValueRulesAreFittedToTheFieldByType) {
  Field("upper", "S", 10, "U", "L");
  Field("lower", "s", 8, "L", "R");
  Field("centre", "M", 6, " ", "C");
  Field("cut", "S", 4);
  Field("blank", "S", 3, "U", "L");
  Field("initial", "S", 2, "U", "R");
  Field("since", "K");
  Field("kind", "E");
  Field("count", "I");
  Rule("upper", "cust.NAME$", 0, 1);
  Rule("lower", "cust.NAME$", 0, 1);
  // The translation escapes a literal, the rule is escaped once more.
  Rule("centre", "\"x<y\"", 0, 1);
  Rule("cut", "cust.CODE", 0, 1);
  // A neutral value is a space(...) already: no case, no alignment.
  Rule("blank", "empty()", 0, 1);
  Rule("initial", "default()", 0, 1);
  // A call of the converter is qualified, and the value lower-cased.
  Rule("since", "To_UTC(cust.STAMP)", 0, 1);
  // Rules of type 0 get the target pass only; empty() waits for the field.
  Rule("kind", "target(pkcolor.red)", 0, 1);
  Rule("count", "empty()", 0, 1);
  EXPECT_EQ(
      Dumps(),
      "<DUMP-1 TARGET=\"abcde123\">\r\n"
      "<UPPER TYPE = \"0\">ObjCnv.CheckEmpty(ObjCnv.Left_Align(Ucase("
      "cust_NAME  \r\n),10))</UPPER>\r\n"
      "<LOWER TYPE = \"0\">ObjCnv.CheckEmpty(ObjCnv.Right_Align(Lcase("
      "cust_NAME  \r\n),8))</LOWER>\r\n"
      "<CENTRE TYPE = \"0\">ObjCnv.CheckEmpty(ObjCnv.Center_Align(&amp;quot;"
      "x&amp;lt;y&amp;quot;  \r\n,6))</CENTRE>\r\n"
      "<CUT TYPE = \"0\">ObjCnv.CheckEmpty(Mid(cust_CODE  \r\n,1,4))</CUT>\r\n"
      "<BLANK TYPE = \"0\">ObjCnv.CheckEmpty(space(3)\r\n)</BLANK>\r\n"
      "<INITIAL TYPE = \"0\">ObjCnv.CheckEmpty(ObjCnv.Right_Align(Ucase("
      "\"ab\"\r\n),2))</INITIAL>\r\n"
      "<SINCE TYPE = \"0\">ObjCnv.to_utc ( cust_stamp )   \r\n</SINCE>\r\n"
      "<KIND TYPE = \"0\">7  \r\n</KIND>\r\n"
      "<COUNT TYPE = \"0\">0\r\n</COUNT>\r\n"
      "</DUMP-1>\r\n");
}

TEST_F(LegacyDumpTest, TargetVariableRulesAndCodeLookups) {
  Field("name", "S", 10, "U", "L");
  Field("stamp", "K");
  Field("day", "T");
  Field("qty", "I");
  Rule("name", "n = empty()", 1, 1);  // the whole rule rewriting
  // A code lookup assigns the target variable, whatever its stored type.
  Rule("stamp", "get.code.x(cust.CODE)", 0, 1);
  Rule("day", "x", 1, 1);
  Rule("qty", "GET_CODE(y)", 2, 1);
  EXPECT_EQ(
      Dumps(),
      "<DUMP-1 TARGET=\"abcde123\">\r\n"
      "<NAME TYPE = \"1\" TVAR = \"ObjCnv.CheckEmpty(ObjCnv.Left_Align(Ucase("
      "var_abcde123_name),10))\"> \r\n  n  =  0   \r\n    \r\n</NAME>\r\n"
      "<STAMP TYPE = \"1\" TVAR = \"ObjCnv.to_utc(var_abcde123_stamp)\"> "
      "get_code_x ( cust_CODE )   \r\n</STAMP>\r\n"
      "<DAY TYPE = \"1\" TVAR = \"ObjCnv.to_date(var_abcde123_day)\"> x  "
      "\r\n</DAY>\r\n"
      "<QTY TYPE = \"1\" TVAR = \"var_abcde123_qty\"> GET_CODE ( y )   "
      "\r\n</QTY>\r\n"
      "</DUMP-1>\r\n");
}

TEST_F(LegacyDumpTest, ErrorsNameTheOperationAndTheRuleAsRead) {
  auto expect_error = [&](const std::string& message) {
    EXPECT_EQ(Dumps(), "FAILED");
    EXPECT_EQ(t.ctx.error_description(), message);
    const std::string log = t.log->text();
    EXPECT_EQ(log.substr(log.size() - message.size() - 4),
              "\t\t" + message + "\r\n");
  };
  Field("qty", "I");
  expect_error(
      "ERROR in Construct_Dump_Tag :- 522 - Field level Mappings are not "
      "maintained for the table:abcde123");

  // The rewriting of a rule of type 1 fails: its own report, then 126.
  Rule("qty", "q = empty()", 1, 1);
  expect_error(
      "ERROR in Construct_Dump_Tag :- 126 - Error in the rules :"
      "q = empty()");
  EXPECT_NE(t.log->text().find("Variable q Not declared"), std::string::npos);

  // The translation fails.
  repo.Exec("DELETE FROM qxmap140");
  Rule("qty", "select x.* from cust selectdo", 0, 1);
  expect_error(
      "ERROR in Construct_Dump_Tag :- 126 - Error in the rules :"
      "select x.* from cust selectdo");

  // A rule type with no element form is refused, not written without its
  // start tag.
  repo.Exec("DELETE FROM qxmap140");
  Rule("qty", "1", 2, 1);
  expect_error(
      "ERROR in Construct_Dump_Tag :- 126 - Error in the rules :"
      "rule type 2 of the field qty is neither 0 nor 1");
}

TEST_F(LegacyDumpTest, MScriptMembersSplitAfterTheModule) {
  Field("qty", "I");
  Field("qty", "I", 0, " ", " ", "qxtblcust.txt");
  Rule("qty", "1", 0, 1);
  // A legacy table as target: its variable is named by the table name.
  Rule("qty", "2", 1, 1, "cust.txt", "qx", "tbl");
  std::string text;
  ASSERT_TRUE(Construct_MScript_Dump_Tag(
      t.ctx, facts, object, "abcde123,qxtblcust.txt", "cust", &text));
  EXPECT_EQ(text,
            "<DUMP-1 TARGET=\"abcde123\">\r\n"
            "<QTY TYPE = \"0\">1  \r\n</QTY>\r\n"
            "</DUMP-1>\r\n\r\n"
            "<DUMP-1 TARGET=\"qxtblcust.txt\">\r\n"
            "<QTY TYPE = \"1\" TVAR = \"var_cust_txt_qty\"> 2  \r\n</QTY>\r\n"
            "</DUMP-1>\r\n\r\n");

  // A member without rules fails the whole list, reported once.
  EXPECT_FALSE(Construct_MScript_Dump_Tag(t.ctx, facts, object,
                                          "abcde123,abcde999", "", &text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(t.log->text(),
            "\t\tERROR in Construct_Dump_Tag :- 522 - Field level Mappings are "
            "not maintained for the table:abcde999\r\n");
}

}  // namespace
}  // namespace mx::legacy
