// The INCLUDE, VAR and FUNCTION elements, the declared-variables text they
// leave for rule rewriting, and the row size behind the 2 GB check lines,
// against a fake repository that answers only the exact query texts.
#include "xml/variable_tag.h"

#include "gtest/gtest.h"
#include "movx20xmlgen/error.h"
#include "rules/rule_rewriting.h"
#include "split/row_size.h"
#include "testing/test_context.h"

namespace mx {
namespace {

using testing::Rows;

const char kVariableQuery[] =
    " select vari from qxmap120 where mprf  = 7 AND vers = '1.0 ' AND rele = "
    "'01' AND cust = 'BASE' AND tcpac = 'ab' AND tcmod = 'cde' AND tflno = "
    "'001'";
const char kFunctionQuery[] =
    " select func from qxmap160  where mprf = 7 AND vers = '1.0 ' AND rele = "
    "'01' AND cust = 'BASE' AND tcpac = 'ab' AND tcmod = 'cde' AND tflno = "
    "'001'";
const std::vector<std::string> kRowSizeColumns = {"tbl", "type", "leng", "digb",
                                                  "diga"};

std::string RowSizeQuery(const std::string& application,
                         const std::string& table) {
  return "select qxddi150.cpac+qxddi150.cmod+qxddi150.flno, "
         "qxddi220.type,qxddi220.leng,qxddi220.digb,qxddi220.diga From "
         "QXDDI150, QXDDI220  where qxddi150.appl = '" +
         application +
         "' and qxddi150.appl = qxddi220.appl and "
         "qxddi150.cpac+qxddi150.cmod+qxddi150.flno = '" +
         table + "' and qxddi150.cdom = qxddi220.cpac+qxddi220.cdom";
}

ConversionObject Object() {
  ConversionObject o;
  o.profile = 7;
  o.vers = "1.0 ";
  o.rele = "01";
  o.cust = "BASE";
  o.cpac = "ab";
  o.cmod = "cde";
  o.flno = "001";
  o.sapp = "SAPP";
  o.tapp = "TAPP";
  return o;
}

Variant Null() { return Variant::MakeNull(); }

// Two S fields of length 10 and one L field of 9 + 0 digits.
repository::ResultSet TwentyNineBytes() {
  return Rows(kRowSizeColumns, {{"abcde001", "S", "10", Null(), Null()},
                                {"abcde001", "L", Null(), "9", "0"},
                                {"abcde001", "S", "10", Null(), Null()}});
}

TEST(ConstructVariableTag, SortsIncludeLinesFromDeclarations) {
  testing::TestContext t;
  t.repo->Answer(
      kVariableQuery,
      Rows({"vari"}, {{"#include <abc.h>\r\nlong a~^~string b(10)~|~x\r\n"
                       "  ^define \"Q\" <1> & 2  \r\n~|~#define X 1 \n\n"
                       "long e 'a<b"}}));
  t.ctx.doc.split_declarations = "\r\n\textern domain abqty from.tbl.qty";

  std::string text;
  ASSERT_TRUE(dd::Construct_Variable_Tag(t.ctx, Object(), "abcde001", &text));
  // Lines with "^" or "#" are escaped (the double quote too), lose their CR
  // and are trimmed of blanks only. Every other line keeps its CR and gets
  // CR LF, markers included; an empty line (LF LF) is dropped, while the CR
  // that the split declarations start with makes a line of its own.
  const std::string declarations =
      "long a\r\r\n"
      "string b(10)\tx\r\r\n"
      "long e 'a<b\r\r\n"
      "\r\r\n"
      "\textern domain abqty from.tbl.qty\r\n";
  EXPECT_EQ(text,
            "<INCLUDE>#include &lt;abc.h&gt;\r\n"
            "^define &quot;Q&quot; &lt;1&gt; &amp; 2\r\n"
            "\t#define X 1\r\n"
            "</INCLUDE> <VAR>" +
                declarations + "</VAR>");
  EXPECT_EQ(t.ctx.doc.declared_variables, declarations);
  EXPECT_TRUE(t.log->text().empty());
}

TEST(ConstructVariableTag, DeclarationsDriveEmptyAssignments) {
  testing::TestContext t;
  t.repo->Answer(kVariableQuery,
                 Rows({"vari"}, {{"long total~^~string name(4)"}}));
  std::string text;
  ASSERT_TRUE(dd::Construct_Variable_Tag(t.ctx, Object(), "abcde001", &text));
  EXPECT_EQ(text,
            "<INCLUDE></INCLUDE> <VAR>long total\r\r\nstring name(4)\r\r\n"
            "</VAR>");

  std::string rewritten;
  ASSERT_TRUE(dd::Replace_Empty_Default_Target(
      t.ctx, "SAPP", "TAPP", "total = empty()\nname = default()", &rewritten));
  EXPECT_EQ(rewritten,
            " \r\n total = 0 \r\n  \r\n name = String.Set$(\" \",4) \r\n ");
}

TEST(ConstructVariableTag, NothingCarriesOverToTheNextDocument) {
  testing::TestContext t;
  t.ctx.doc.declared_variables = "long stale\r\n";
  t.repo->Answer(kVariableQuery, Rows({"vari"}, {{Null()}}));
  std::string text = "old";
  ASSERT_TRUE(dd::Construct_Variable_Tag(t.ctx, Object(), "abcde001", &text));
  EXPECT_EQ(text, "<INCLUDE></INCLUDE> <VAR>\r\r\n</VAR>");
  EXPECT_EQ(t.ctx.doc.declared_variables, "\r\r\n");

  std::string rewritten;
  EXPECT_FALSE(dd::Replace_Empty_Default_Target(t.ctx, "SAPP", "TAPP",
                                                "stale = empty()", &rewritten));
  EXPECT_NE(t.ctx.error_description().find("ErrNo. 999:"), std::string::npos);

  // A failing document leaves no declarations either.
  testing::TestContext failing;
  failing.ctx.doc.declared_variables = "long stale\r\n";
  EXPECT_FALSE(
      dd::Construct_Variable_Tag(failing.ctx, Object(), "abcde001", &text));
  EXPECT_TRUE(failing.ctx.doc.declared_variables.empty());
  EXPECT_TRUE(text.empty());
}

TEST(ConstructVariableTag, RowSizeLinesPerTableOfTheTargetApplication) {
  testing::TestContext t;
  t.object.settings.include_2gb_check = true;
  t.repo->AnswerEmpty(kVariableQuery, {"vari"});
  t.repo->Answer(RowSizeQuery("TAPP", "abcde001"), TwentyNineBytes());
  t.repo->AnswerEmpty(RowSizeQuery("TAPP", "abcde002"), kRowSizeColumns);

  std::string text;
  ASSERT_TRUE(
      dd::Construct_Variable_Tag(t.ctx, Object(), "abcde001,abcde002", &text));
  EXPECT_EQ(text,
            "<INCLUDE>\r\n#define abcde001RowSize 29\r\n"
            "\tlong abcde001.dump.rec\r\n"
            "\tlong abcde001rep.count\r\n"
            "#define abcde002RowSize 1\r\n"
            "\tlong abcde002.dump.rec\r\n"
            "\tlong abcde002rep.count</INCLUDE> <VAR>\r\r\n</VAR>");
  // The row-size lines are includes, not declarations.
  EXPECT_EQ(t.ctx.doc.declared_variables, "\r\r\n");
}

TEST(ConstructVariableTag, ReportsARowSizeFailure) {
  testing::TestContext t;
  t.object.settings.include_2gb_check = true;
  t.repo->AnswerEmpty(kVariableQuery, {"vari"});
  std::string text;
  EXPECT_FALSE(dd::Construct_Variable_Tag(t.ctx, Object(), "abcde001", &text));
  EXPECT_EQ(t.ctx.error_description(),
            "\t\tERROR:-2147217900:unexpected query: " +
                RowSizeQuery("TAPP", "abcde001"));
  EXPECT_EQ(t.log->text(), t.ctx.error_description() + "\r\n");
  EXPECT_TRUE(text.empty());
}

TEST(ConstructFunctionTag, RewritesEscapesAndAppends) {
  testing::TestContext t;
  t.ctx.doc.declared_variables = "long total\r\r\n";
  t.repo->Answer(kFunctionQuery,
                 Rows({"func"}, {{"x = \"a\" < b & c\ntotal = empty()"}}));
  std::string text = "before";
  ASSERT_TRUE(dd::Construct_Function_Tag(t.ctx, Object(), &text));
  EXPECT_EQ(text,
            "before<FUNCTION>\r\n"
            "x = \"a\" &lt; b &amp; c \r\n total = 0 \r\n \r\n"
            "</FUNCTION>\r\n");
}

TEST(ConstructFunctionTag, NoFunctionTextWritesNothing) {
  for (const Variant& func : {Null(), Variant("")}) {
    testing::TestContext t;
    t.repo->Answer(kFunctionQuery, Rows({"func"}, {{func}}));
    std::string text = "before";
    EXPECT_TRUE(dd::Construct_Function_Tag(t.ctx, Object(), &text));
    EXPECT_EQ(text, "before");
  }
  testing::TestContext t;
  t.repo->AnswerEmpty(kFunctionQuery, {"func"});
  std::string text;
  EXPECT_TRUE(dd::Construct_Function_Tag(t.ctx, Object(), &text));
  EXPECT_TRUE(text.empty());
}

TEST(ConstructFunctionTag, FailedRewriteIsReportedOnce) {
  testing::TestContext t;
  t.ctx.doc.declared_variables = "long other\r\r\n";
  t.repo->Answer(kFunctionQuery, Rows({"func"}, {{"total = empty()"}}));
  std::string text;
  EXPECT_FALSE(dd::Construct_Function_Tag(t.ctx, Object(), &text));
  EXPECT_TRUE(text.empty());
  // The rewriting's own line, and nothing after it.
  EXPECT_EQ(t.ctx.error_description().rfind(
                "\t\tERROR:in Replace_Empty_Default()  ErrNo. 999:", 0),
            0u);
  EXPECT_EQ(t.log->text(), t.ctx.error_description() + "\r\n");

  testing::TestContext refused;
  EXPECT_FALSE(dd::Construct_Function_Tag(refused.ctx, Object(), &text));
  EXPECT_EQ(
      refused.ctx.error_description(),
      std::string("\t\tERROR:-2147217900:unexpected query: ") + kFunctionQuery);
}

TEST(RowSizeofTable, TableWithoutFieldsIsOneByte) {
  testing::TestContext t;
  t.repo->AnswerEmpty(RowSizeQuery("APP", "abcde001"), kRowSizeColumns);
  EXPECT_EQ(RowSizeofTable(t.ctx, "APP", "abcde001"), 1);
}

TEST(RowSizeofTable, SumsTheFieldSizesByType) {
  testing::TestContext t;
  t.repo->Answer(RowSizeQuery("APP", "abcde001"), TwentyNineBytes());
  EXPECT_EQ(RowSizeofTable(t.ctx, "APP", "abcde001"), 29);

  // Every type of the table; a type it does not know takes no bytes, even
  // right after a field that took some; numbers are read as far as they go.
  t.repo->Answer(RowSizeQuery("APP", "abcde002"),
                 Rows(kRowSizeColumns, {{"t", "B", Null(), Null(), Null()},
                                        {"t", "D", "99", "5", "2"},
                                        {"t", "E", "99", Null(), Null()},
                                        {"t", "F", Null(), "3", ""},
                                        {"t", "I", Null(), "4", "1"},
                                        {"t", "K", Null(), Null(), Null()},
                                        {"t", "L", Null(), " 9", "x"},
                                        {"t", "M", "5", "7", "7"},
                                        {"t", "X", "50", "50", "50"},
                                        {"t", Null(), "50", "50", "50"},
                                        {"t", "P", Null(), Null(), Null()},
                                        {"t", "S", "12abc", "7", "7"},
                                        {"t", "T", Null(), Null(), Null()},
                                        {"t", "U", Null(), Null(), Null()}}));
  EXPECT_EQ(RowSizeofTable(t.ctx, "APP", "abcde002"),
            1 + 7 + 3 + 3 + 5 + 22 + 9 + 20 + 0 + 0 + 3 + 12 + 22 + 1);
}

TEST(RowSizeofTable, FieldSizeIsSixteenBitsAndErrorsEscape) {
  testing::TestContext t;
  t.repo->Answer(RowSizeQuery("APP", "big"),
                 Rows(kRowSizeColumns, {{"big", "M", "8192", Null(), Null()}}));
  try {
    RowSizeofTable(t.ctx, "APP", "big");
    FAIL() << "no overflow";
  } catch (const VbError& e) {
    EXPECT_EQ(e.number(), errors::kOverflow);
  }
  EXPECT_THROW(RowSizeofTable(t.ctx, "APP", "unknown"), VbError);
  EXPECT_TRUE(t.log->text().empty());
}

}  // namespace
}  // namespace mx
