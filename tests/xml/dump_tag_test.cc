// The DUMP elements against a fake repository that answers only the exact
// query texts, with a field store filled as the field builders fill it.
#include "xml/dump_tag.h"

#include <string>
#include <vector>

#include "dictionary/field_store.h"
#include "gtest/gtest.h"
#include "platform/vb_text.h"
#include "platform/xml_check.h"
#include "testing/test_context.h"

namespace mx::dd {
namespace {

using testing::Rows;

const char kRulesQuery[] =
    " select qxmap140.fdnm, qxmap140.mrul, qxmap140.type, qxmap140.dnum  from "
    "qxmap140 WHERE  qxmap140.mprf = 7 AND  qxmap140.vers = '0100' AND  "
    "qxmap140.rele = '01' AND  qxmap140.cust = '0000' AND  qxmap140.tcpac = "
    "'ab' AND  qxmap140.tcmod = 'cde' AND  qxmap140.tflno = '123' order by "
    "dnum ";
const std::vector<std::string> kRuleColumns = {"fdnm", "mrul", "type", "dnum"};
const std::vector<std::string> kSourceColumns = {"type", "conv", "adju",
                                                 "leng"};

// The rules query of another member of the same package.
std::string MemberRulesQuery(const std::string& cmod, const std::string& flno) {
  std::string sql =
      vb::Replace(kRulesQuery, "tcmod = 'cde'", "tcmod = '" + cmod + "'");
  return vb::Replace(sql, "tflno = '123'", "tflno = '" + flno + "'");
}

std::vector<Variant> Rule(const char* field, const char* rule, int type,
                          int dump) {
  return {field, rule, int64_t{type}, int64_t{dump}};
}

std::string SourceFieldQuery(const std::string& field) {
  return " select type,conv,adju,leng from qxddi220   where  appl = 'SAPP'  "
         "and cpac + cdom = (select cdom from qxddi150 where  appl = 'SAPP' "
         "and cpac+ cmod + flno + '.' + fdnm = '" +
         field + "')";
}

std::string EnumQuery(const std::string& reference) {
  return "select cnst from qxddi230 where appl= 'TAPP' and cpac + cdom + '.' "
         "+ ctnm  ='" +
         reference + "'";
}

// A field as the field builders hand it to the store.
struct Field {
  Field(const char* name, const char* type, const char* length = "") {
    d.field_name = name;
    d.type = type;
    d.length = length;
    d.table = "abcde123";
    d.mandatory = "N";
  }
  Field& Case(const char* code) { return d.case_conversion = code, *this; }
  Field& Align(const char* code) { return d.alignment = code, *this; }
  Field& Mandatory() { return d.mandatory = "Y", *this; }
  Field& Depth(int16_t depth) { return d.depth = depth, *this; }
  Field& Initial(const char* value) { return d.initial_value = value, *this; }
  Field& Table(const char* table) { return d.table = table, *this; }
  FieldDetails d;
};

class DumpTag : public ::testing::Test {
 protected:
  static ConversionObject Object() {
    return {7,      "0100", "01",  "0000", "ab", "cde",
            "SAPP", "TAPP", "123", "",     ""};
  }
  void Store(const Field& field) {
    Store_Field_Details_in_Dictionary(t.ctx, field.d);
  }
  void Rules(std::vector<std::vector<Variant>> rows) {
    t.repo->Answer(kRulesQuery, Rows(kRuleColumns, std::move(rows)));
  }
  // The dumps, expected to succeed without a log line.
  std::string Dumps() {
    std::string text;
    EXPECT_TRUE(Construct_Dump_Tag(t.ctx, Object(), false, &text));
    EXPECT_EQ(t.log->text(), "");
    return text;
  }

  testing::TestContext t;
};

TEST_F(DumpTag, FieldsWithoutRulesGetTheirNeutralValues) {
  Store(Field("name", "S", "10").Align("L").Case("U"));
  Store(Field("amount", "D"));
  Store(Field("stamp", "T"));
  Store(Field("when", "K").Mandatory());
  Store(Field("since", "K"));
  Store(Field("upto", "k").Mandatory());  // neutral 0, type read upper-cased
  Store(Field("kind", "E"));
  Rules({Rule("kind", "3", 0, 1)});
  EXPECT_EQ(Dumps(),
            "<DUMP-1 TARGET=\"abcde123\">\r\n"
            "<NAME TYPE = \"0\"><VALUE>String.Set$(\" \",10)</VALUE></NAME>\r\n"
            "<AMOUNT TYPE = \"0\"><VALUE>0.0</VALUE></AMOUNT>\r\n"
            "<STAMP TYPE = \"0\"><VALUE>utc(0,0,2)</VALUE></STAMP>\r\n"
            "<WHEN TYPE = \"0\"><VALUE>MANDUTC(utc(0,0))</VALUE></WHEN>\r\n"
            "<SINCE TYPE = \"0\"><VALUE>utc(0,0)</VALUE></SINCE>\r\n"
            "<UPTO TYPE = \"0\"><VALUE>MANDUTC(0)</VALUE></UPTO>\r\n"
            "<KIND TYPE = \"0\"><VALUE>3</VALUE></KIND>\r\n"
            "</DUMP-1>\r\n");
}

TEST_F(DumpTag, ArrayElementsAndFieldsMissingFromALaterDump) {
  Store(Field("qty", "I").Depth(11));
  Store(Field("note", "S", "5"));
  Store(Field("other", "I").Table("abcde124"));  // another member's field
  Store(Field("flag", "B").Table("ABCDE123"));   // the table in other case
  Rules({Rule("qty(10)", "5", 0, 1), Rule("note", "\"x\"", 0, 1),
         Rule("qty(1)", "7", 0, 2)});
  auto qty = [](int k, const char* value) {
    const std::string name = "QTY-" + std::to_string(k);
    return "<" + name + " TYPE = \"0\"><VALUE>" + value + "</VALUE></" + name +
           ">\r\n";
  };
  std::string dump1 = "<DUMP-1 TARGET=\"abcde123\">\r\n";
  for (int k = 1; k <= 11; ++k) dump1 += qty(k, k == 10 ? "5" : "0");
  dump1 +=
      "<NOTE TYPE = \"0\"><VALUE>(\"x\")=&amp;quot;&amp;quot; ? "
      "empty.string(1;5):\"x\"</VALUE></NOTE>\r\n"
      "<FLAG TYPE = \"0\"><VALUE>0</VALUE></FLAG>\r\n"
      "</DUMP-1>\r\n";
  std::string dump2 = "<DUMP-2 TARGET=\"abcde123\">\r\n";
  for (int k = 1; k <= 11; ++k) dump2 += qty(k, k == 1 ? "7" : "0");
  dump2 +=
      "<NOTE TYPE = \"0\"><VALUE>String.Set$(\" \",5)</VALUE></NOTE>\r\n"
      "<FLAG TYPE = \"0\"><VALUE>0</VALUE></FLAG>\r\n"
      "</DUMP-2>\r\n";
  EXPECT_EQ(Dumps(), dump1 + dump2);
}

TEST_F(DumpTag, FirstRuleStartsTheDumpListEvenAsDumpZero) {
  Store(Field("qty", "I"));
  Rules({Rule("qty", "1", 0, 0), Rule("qty", "2", 0, 3)});
  EXPECT_EQ(Dumps(),
            "<DUMP-0 TARGET=\"abcde123\">\r\n"
            "<QTY TYPE = \"0\"><VALUE>1</VALUE></QTY>\r\n"
            "</DUMP-0>\r\n"
            "<DUMP-3 TARGET=\"abcde123\">\r\n"
            "<QTY TYPE = \"0\"><VALUE>2</VALUE></QTY>\r\n"
            "</DUMP-3>\r\n");
}

TEST_F(DumpTag, TypeOneRulesCarryTheTargetVariableExpression) {
  Store(Field("name", "S", "10").Case("U").Align("L"));
  Store(Field("text", "m", "20").Case("L").Align("R"));
  Store(Field("when", "K").Mandatory());
  Store(Field("qty", "I").Depth(2));
  Rules({Rule("name", "a < b & c\r\nx > y", 1, 1),
         Rule("text", "var.x = 1", 1, 1), Rule("when", "now()", 1, 1),
         Rule("qty(2)", "n + 1", 1, 1)});
  EXPECT_EQ(
      Dumps(),
      "<DUMP-1 TARGET=\"abcde123\">\r\n"
      "<NAME TYPE = \"1\" TVAR = \"(Left.Align(toupper$(var.abcde123.name),10))"
      "=&quot;&quot; ? empty.string(1;10):Left.Align(toupper$(var.abcde123."
      "name),10)\"> <VALUE>a &lt; b &amp; c\r\nx &gt; y</VALUE></NAME>\r\n"
      "<TEXT TYPE = \"1\" TVAR = \"(to.native(Right.Align(tolower$(var."
      "abcde123.text),20)))=&quot;&quot; ? empty.string(1;20):to.native(Right."
      "Align(tolower$(var.abcde123.text),20))\"> <VALUE>var.x = "
      "1</VALUE></TEXT>\r\n"
      "<WHEN TYPE = \"1\" TVAR = \"MANDUTC(var.abcde123.when)\"> "
      "<VALUE>now()</VALUE></WHEN>\r\n"
      "<QTY-1 TYPE = \"0\"><VALUE>0</VALUE></QTY-1>\r\n"
      "<QTY-2 TYPE = \"1\" TVAR = \"var.abcde123.qty(2)\"> <VALUE>n + "
      "1</VALUE></QTY-2>\r\n"
      "</DUMP-1>\r\n");
}

TEST_F(DumpTag, StringRulesSourceFieldsAgainstLiterals) {
  Store(Field("name", "S", "10").Case("U").Align("L"));
  Store(Field("code", "S", "8").Case("U").Align("R"));
  Store(Field("city", "S", "12").Align("R"));
  Store(Field("memo", "M", "30"));
  Store(Field("mark", "S", "3"));
  Rules({Rule("name", "xyabc001.sname", 0, 1), Rule("code", "\"A\"", 0, 1),
         Rule("city", "xyabc001.scity ", 0, 1),
         Rule("memo", "local.v\r\n", 0, 1), Rule("mark", " 0 ", 0, 1)});
  // A number source field: str$, and its own case and alignment stand.
  t.repo->Answer(SourceFieldQuery("xyabc001.sname"),
                 Rows(kSourceColumns, {{"n", "u", "l", "6"}}));
  // A shorter source field of the same alignment is aligned to the target.
  t.repo->Answer(
      SourceFieldQuery("xyabc001.scity"),
      Rows(kSourceColumns, {{"S", Variant::MakeNull(), "r", int64_t{4}}}));
  // Not in the dictionary: no details.
  t.repo->AnswerEmpty(SourceFieldQuery("local.v"), kSourceColumns);
  // The literal after the source field gets wrappers of its own: the source
  // field's details do not carry over.
  EXPECT_EQ(
      Dumps(),
      "<DUMP-1 TARGET=\"abcde123\">\r\n"
      "<NAME TYPE = \"0\"><VALUE>str$(xyabc001.sname)</VALUE></NAME>\r\n"
      "<CODE TYPE = \"0\"><VALUE>(Right.Align(toupper$(\"A\"),8))=&amp;quot;"
      "&amp;quot; ? empty.string(1;8):Right.Align(toupper$(\"A\"),8)"
      "</VALUE></CODE>\r\n"
      "<CITY TYPE = \"0\"><VALUE>Right.Align(xyabc001.scity ,12)</VALUE>"
      "</CITY>\r\n"
      "<MEMO TYPE = \"0\"><VALUE>(to.native(local.v))=&amp;quot;&amp;quot; ? "
      "empty.string(1;30):to.native(local.v)</VALUE></MEMO>\r\n"
      "<MARK TYPE = \"0\"><VALUE> 0 </VALUE></MARK>\r\n"
      "</DUMP-1>\r\n");
}

TEST_F(DumpTag, StringRulesTailDefaultEmptyAndTarget) {
  Store(Field("label", "S", "6"));
  Store(Field("name", "S", "10").Initial("abc"));
  Store(Field("alias", "S", "4"));
  Store(Field("color", "S", "3"));
  Store(Field("open", "S", "3"));
  // An unresolvable target( stays as written: one without its ")".
  Rules({Rule("label", "\"x\" | keep  <this>", 0, 1),
         Rule("name", "Default ()", 0, 1), Rule("alias", "EMPTY( )", 0, 1),
         Rule("color", "target( pk color.red ) + \"!\"", 0, 1),
         Rule("open", "target(pk.x", 0, 1)});
  t.repo->Answer(EnumQuery("pkcolor.red"), Rows({"cnst"}, {{"\"R\""}}));
  EXPECT_EQ(
      Dumps(),
      "<DUMP-1 TARGET=\"abcde123\">\r\n"
      "<LABEL TYPE = \"0\"><VALUE>(\"x\" )=&amp;quot;&amp;quot; ? "
      "empty.string(1;6):\"x\" \t| keep  &lt;this&gt;</VALUE></LABEL>\r\n"
      "<NAME TYPE = \"0\"><VALUE>(\"abc\")=&amp;quot;&amp;quot; ? "
      "empty.string(1;10):\"abc\"</VALUE></NAME>\r\n"
      "<ALIAS TYPE = \"0\"><VALUE>String.Set$(\" \",4)</VALUE></ALIAS>\r\n"
      "<COLOR TYPE = \"0\"><VALUE>(\"R\"+\"!\")=&amp;quot;&amp;quot; ? "
      "empty.string(1;3):\"R\"+\"!\"</VALUE></COLOR>\r\n"
      "<OPEN TYPE = \"0\"><VALUE>(target(pk.x)=&amp;quot;&amp;quot; ? "
      "empty.string(1;3):target(pk.x</VALUE></OPEN>\r\n"
      "</DUMP-1>\r\n");
}

// A constant whose lookup the repository refuses is not written as the
// target( form it replaces: the dumps fail with the refusal.
TEST_F(DumpTag, RefusedConstantLookupFailsTheDumps) {
  Store(Field("lost", "S", "3"));
  Rules({Rule("lost", "target(pk.y)", 0, 1)});
  std::string text = "stale";
  EXPECT_FALSE(Construct_Dump_Tag(t.ctx, Object(), false, &text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(t.log->text(), "\t\tERROR:--2147217900 - unexpected query: " +
                               EnumQuery("pk.y") + "\r\n");
}

TEST_F(DumpTag, OtherFieldRules) {
  Store(Field("kind", "E").Mandatory());
  Store(Field("sort", "E").Mandatory().Initial("2"));
  Store(Field("grp", "E"));
  Store(Field("when", "K").Mandatory());
  Store(Field("state", "I"));
  Store(Field("rate", "D"));
  Rules({Rule("kind", "abcde999.kind", 0, 1),
         Rule("sort", "etol(abcde999.sort)", 0, 1),
         Rule("grp", "abcde999.grp", 0, 1),
         Rule("when", " now() | stamp\r\nit", 0, 1),
         Rule("state", "target(pk state.open) + 1 < 9", 0, 1),
         Rule("rate", "1.5", 0, 1)});
  t.repo->Answer(EnumQuery("pkstate.open"), Rows({"cnst"}, {{"4"}}));
  EXPECT_EQ(Dumps(),
            "<DUMP-1 TARGET=\"abcde123\">\r\n"
            "<KIND TYPE = \"0\"><VALUE>etol(abcde999.kind)=0?0:etol(abcde999."
            "kind)</VALUE></KIND>\r\n"
            "<SORT TYPE = \"0\"><VALUE>etol(abcde999.sort)=0?2:etol(abcde999."
            "sort)</VALUE></SORT>\r\n"
            "<GRP TYPE = \"0\"><VALUE>abcde999.grp</VALUE></GRP>\r\n"
            "<WHEN TYPE = \"0\"><VALUE>MANDUTC(now())\t| stampit</VALUE>"
            "</WHEN>\r\n"
            "<STATE TYPE = \"0\"><VALUE>4+1&lt;9</VALUE></STATE>\r\n"
            "<RATE TYPE = \"0\"><VALUE>1.5</VALUE></RATE>\r\n"
            "</DUMP-1>\r\n");
}

TEST_F(DumpTag, NoRulesIsError522InTheOperationsOwnWords) {
  Store(Field("qty", "I"));
  t.repo->AnswerEmpty(kRulesQuery, kRuleColumns);
  std::string text = "stale";
  EXPECT_FALSE(Construct_Dump_Tag(t.ctx, Object(), false, &text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(t.log->text(),
            "\t\tERROR:- 522 - Field level Mappings are not maintained for "
            "the table:abcde123\r\n");
  EXPECT_EQ(t.ctx.error_description(),
            "ERROR:- 522 - Field level Mappings are not maintained for the "
            "table:abcde123");
}

TEST_F(DumpTag, FailedRewritingFailsTheDumpsWithoutAFurtherLine) {
  Store(Field("qty", "I"));
  // Type 1: the variable is not declared (error 999 of the rewriting).
  Rules({Rule("qty", "x = empty()", 1, 1)});
  std::string text;
  EXPECT_FALSE(Construct_Dump_Tag(t.ctx, Object(), false, &text));
  EXPECT_EQ(t.log->text(),
            "\t\tERROR:in Replace_Empty_Default()  ErrNo. 999: Variable x Not "
            "declared. Please declare the variable in Variable/include section "
            "of VEXA. \r\n");

  // Type 0 of a non-string field whose target( line assigns empty().
  testing::TestContext other;
  Store_Field_Details_in_Dictionary(other.ctx, Field("qty", "I").d);
  other.repo->Answer(
      kRulesQuery,
      Rows(kRuleColumns, {Rule("qty", "target(pk.a)=empty()", 0, 1)}));
  other.repo->Answer(EnumQuery("pk.a"), Rows({"cnst"}, {{"v"}}));
  EXPECT_FALSE(Construct_Dump_Tag(other.ctx, Object(), false, &text));
  EXPECT_EQ(other.log->text(),
            "\t\tERROR:in Replace_Empty_Default()  ErrNo. 999: Variable v Not "
            "declared. Please declare the variable in Variable/include section "
            "of VEXA. \r\n");
}

TEST_F(DumpTag, FailedSourceFieldLookupFailsTheDumps) {
  Store(Field("name", "S", "10"));
  Rules({Rule("name", "xyabc001.sname", 0, 1)});
  std::string text;
  EXPECT_FALSE(Construct_Dump_Tag(t.ctx, Object(), false, &text));
  // The lookup's own line only.
  EXPECT_EQ(t.log->text().rfind("\t\tERROR:-2147217900:", 0), 0u);
  EXPECT_EQ(t.log->text().find("ERROR:-", 3), std::string::npos);
}

TEST_F(DumpTag, OtherRuleTypeLeavesTheDumpsIllFormed) {
  Store(Field("qty", "I"));
  Rules({Rule("qty", "x & y\r\nz", 2, 1)});
  const std::string text = Dumps();
  EXPECT_EQ(text,
            "<DUMP-1 TARGET=\"abcde123\">\r\n"
            "<VALUE>x &amp; y\r\nz</VALUE></QTY>\r\n"
            "</DUMP-1>\r\n");
  EXPECT_FALSE(
      CheckWellFormed("<AllDumps>" + text + "</AllDumps>").well_formed);
}

TEST_F(DumpTag, MScriptDumpsEveryMemberInListOrder) {
  Store(Field("qty", "I"));
  Store(Field("code", "S", "2").Table("abfgh001"));
  Rules({Rule("qty", "1", 0, 1)});
  t.repo->Answer(MemberRulesQuery("fgh", "001"),
                 Rows(kRuleColumns, {Rule("code", "1", 0, 2)}));
  std::string text;
  ASSERT_TRUE(
      Construct_MScript_Dump_Tag(t.ctx, Object(), "abfgh001,abcde123", &text));
  EXPECT_EQ(text,
            "<DUMP-2 TARGET=\"abfgh001\">\r\n"
            "<CODE TYPE = \"0\"><VALUE>(1)=&amp;quot;&amp;quot; ? "
            "empty.string(1;2):1</VALUE></CODE>\r\n"
            "</DUMP-2>\r\n\r\n"
            "<DUMP-1 TARGET=\"abcde123\">\r\n"
            "<QTY TYPE = \"0\"><VALUE>1</VALUE></QTY>\r\n"
            "</DUMP-1>\r\n\r\n");

  ASSERT_TRUE(Construct_MScript_Dump_Tag(t.ctx, Object(), "", &text));
  EXPECT_EQ(text, "");

  // A member without rules fails the whole M-script.
  t.repo->AnswerEmpty(MemberRulesQuery("xyz", "009"), kRuleColumns);
  EXPECT_FALSE(
      Construct_MScript_Dump_Tag(t.ctx, Object(), "abcde123,abxyz009", &text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(t.log->text(),
            "\t\tERROR:- 522 - Field level Mappings are not maintained for "
            "the table:abxyz009\r\n");
}

}  // namespace
}  // namespace mx::dd
