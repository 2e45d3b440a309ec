// The IND, SRCINDEX and SRCFIELD elements and the index lookups, against a
// fake repository that answers only the exact query texts. Index rows carry
// the 31 columns of qxddi200, so a reader that went past the last part
// column would fail with error 3265.
#include "dictionary/index_tag.h"

#include <string>
#include <vector>

#include "dictionary/index_lookups.h"
#include "gtest/gtest.h"
#include "testing/test_context.h"

namespace mx::dd {
namespace {

using testing::Rows;

std::vector<std::string> IndexColumns() {
  std::vector<std::string> columns = {"appl", "cpac", "cmod", "flno",
                                      "indn", "dupl", "acti"};
  for (int i = 1; i <= 24; ++i) columns.push_back("prt" + std::to_string(i));
  return columns;
}

// A qxddi200 row of table abcde00N; the part columns after `parts` hold
// `unused`.
std::vector<Variant> IndexRow(char table, int64_t number,
                              std::vector<Variant> parts,
                              const Variant& unused = Variant::MakeNull()) {
  std::vector<Variant> row = {"APP",  "ab", "cde", std::string("00") + table,
                              number, "N",  "Y"};
  parts.resize(24, unused);
  row.insert(row.end(), parts.begin(), parts.end());
  return row;
}

std::vector<Variant> TwentyFourParts() {
  std::vector<Variant> parts;
  for (int i = 1; i <= 24; ++i) parts.push_back("p" + std::to_string(i));
  return parts;
}

const char kIndexQuery[] =
    " select * from  qxddi200 where appl = 'APP' AND cpac = 'ab' AND cmod = "
    "'cde' AND flno = '001'";

std::string SourceIndexQuery(const std::string& in_list) {
  return " select * from  qxddi200 where appl = 'APP' and cpac + cmod + flno "
         "in (" +
         in_list + ")";
}

std::string SourceFieldQuery(const std::string& in_list) {
  return "select cpac + cmod + flno + '.' + fdnm from qxddi150 where appl = "
         "'APP' and cpac + cmod + flno in (" +
         in_list + ") and comb = 'N' ";
}

std::string SourceCombQuery(char table, const std::string& part) {
  return " select comb from    qxddi150  where appl = 'APP' AND cpac = 'ab' "
         "AND cmod = 'cde' AND flno = '00" +
         std::string(1, table) + "' AND fdnm = '" + part + "'";
}

std::string LookupCombQuery(const std::string& field) {
  return "select comb from qxddi150 where appl='APP' and "
         "cpac+cmod+flno='abcde001' and fdnm='" +
         field + "'";
}

std::string LookupChildQuery(const std::string& field) {
  return "select * from qxddi160 where appl='APP' and "
         "cpac+cmod+flno='abcde001' and fdnm='" +
         field + "' order by sern";
}

const char kIndexOneQuery[] =
    "select * from qxddi200 where appl='APP' and cpac+cmod+flno='abcde001' "
    "and indn=1";

TEST(ConstructIndexTag, LinesWithTrimmedPartsEndingAtTheFirstBlankPart) {
  testing::TestContext t;
  // Fixed-width columns come back blank-padded: a blank part ends the list,
  // and nothing after it counts.
  t.repo->Answer(
      kIndexQuery,
      Rows(IndexColumns(),
           {IndexRow('1', 2, {" f1 ", "f2    ", "      ", "f4"}, "      "),
            IndexRow('1', 7, {})}));
  std::string text;
  ASSERT_TRUE(Construct_Index_Tag(t.ctx, "APP", "ab", "cde", "001", &text));
  EXPECT_EQ(text,
            "<IND>"
            " <IND-2 NUMB = \"2\"  PART = \"f1|f2\" DUPL = \"N\" ACTI = \"Y\"  "
            ">  </IND-2 > \r\n"
            " <IND-7 NUMB = \"7\"  PART = \"\" DUPL = \"N\" ACTI = \"Y\"  >  "
            "</IND-7 > \r\n"
            "</IND>");

  t.repo->AnswerEmpty(kIndexQuery, IndexColumns());
  ASSERT_TRUE(Construct_Index_Tag(t.ctx, "APP", "ab", "cde", "001", &text));
  EXPECT_EQ(text, "<IND></IND>");
  EXPECT_EQ(t.log->text(), "");
}

TEST(ConstructIndexTag, RepositoryErrorIsReportedAndFails) {
  testing::TestContext t;
  std::string text;
  EXPECT_FALSE(Construct_Index_Tag(t.ctx, "APP", "ab", "cde", "001", &text));
  const std::string line =
      "\t\tERROR:-2147217900:unexpected query: " + std::string(kIndexQuery);
  EXPECT_EQ(t.ctx.error_description(), line);
  EXPECT_EQ(t.log->text(), line + "\r\n");
}

TEST(IndexReaders, AllTwentyFourPartsAreRead) {
  testing::TestContext t;
  t.repo->Answer(kIndexQuery,
                 Rows(IndexColumns(), {IndexRow('1', 1, TwentyFourParts())}));
  t.repo->Answer(SourceIndexQuery("'abcde001'"),
                 Rows(IndexColumns(), {IndexRow('1', 1, TwentyFourParts())}));
  t.repo->Answer(kIndexOneQuery,
                 Rows(IndexColumns(), {IndexRow('1', 1, TwentyFourParts())}));
  std::string part_list, source_parts, field_list;
  for (int i = 1; i <= 24; ++i) {
    const std::string part = "p" + std::to_string(i);
    t.repo->Answer(SourceCombQuery('1', part), Rows({"comb"}, {{"N"}}));
    t.repo->AnswerEmpty(LookupCombQuery(part), {"comb"});
    part_list += (i == 1 ? "" : "|") + part;
    source_parts += " abcde001." + part + " , ";
    field_list += (i == 1 ? "" : ",") + part;
  }

  std::string text;
  ASSERT_TRUE(Construct_Index_Tag(t.ctx, "APP", "ab", "cde", "001", &text));
  EXPECT_NE(text.find("PART = \"" + part_list + "\""), std::string::npos);
  ASSERT_TRUE(Construct_Source_Index_Tag(t.ctx, "APP", "abcde001", &text));
  EXPECT_EQ(text, "<SRCINDEX> <abcde001._index1>" + source_parts +
                      " </abcde001._index1></SRCINDEX>");
  EXPECT_EQ(Get_Index_Fields(t.ctx, "APP", "abcde001", 1), field_list);
}

TEST(ConstructSourceIndexTag, QualifiedPartsWithCombinedOnesExpanded) {
  testing::TestContext t;
  t.repo->Answer(
      SourceIndexQuery("'abcde001' , 'abcde002'"),
      Rows(IndexColumns(),
           {IndexRow('1', 1, {" f1 ", "ghost", "low", "key", "  ", "f9"}),
            IndexRow('2', 3, {"g1"}, "   ")}));
  t.repo->Answer(SourceCombQuery('1', "f1"), Rows({"comb"}, {{"N"}}));
  // A part that is not a field of its table is left out.
  t.repo->AnswerEmpty(SourceCombQuery('1', "ghost"), {"comb"});
  // Only an upper-case Y makes a part combined.
  t.repo->Answer(SourceCombQuery('1', "low"), Rows({"comb"}, {{"y"}}));
  t.repo->Answer(SourceCombQuery('1', "key"), Rows({"comb"}, {{"Y"}}));
  t.repo->Answer(
      "SELECT * FROM qxddi160  WHERE appl = 'APP' AND cpac = 'ab' AND cmod = "
      "'cde' AND flno = '001' AND fdnm = 'key'",
      Rows({"chld"}, {{"a"}, {" b "}, {"c"}}));
  t.repo->Answer(SourceCombQuery('2', "g1"),
                 Rows({"comb"}, {{Variant::MakeNull()}}));

  std::string text;
  ASSERT_TRUE(
      Construct_Source_Index_Tag(t.ctx, "APP", "abcde001,abcde002", &text));
  EXPECT_EQ(text,
            "<SRCINDEX>"
            " <abcde001._index1>"
            " abcde001.f1 , "
            " abcde001.low , "
            " abcde001.a , abcde001.b , abcde001.c  , "
            " </abcde001._index1>"
            " <abcde002._index3> abcde002.g1 ,  </abcde002._index3>"
            "</SRCINDEX>");
  EXPECT_EQ(t.log->text(), "");
}

TEST(ConstructSourceIndexTag, CombinedPartWithoutChildrenFailsTheElement) {
  testing::TestContext t;
  t.repo->Answer(SourceIndexQuery("'abcde001'"),
                 Rows(IndexColumns(), {IndexRow('1', 1, {"key"})}));
  t.repo->Answer(SourceCombQuery('1', "key"), Rows({"comb"}, {{"Y"}}));
  t.repo->AnswerEmpty(
      "SELECT * FROM qxddi160  WHERE appl = 'APP' AND cpac = 'ab' AND cmod = "
      "'cde' AND flno = '001' AND fdnm = 'key'",
      {"chld"});
  std::string text;
  EXPECT_FALSE(Construct_Source_Index_Tag(t.ctx, "APP", "abcde001", &text));
  // The child lookup's own report is the only line.
  EXPECT_EQ(t.log->text(),
            "\t\tERROR: 113:No Child Field information for the field "
            "abcde001.key in the application APP\r\n");
}

TEST(ConstructSourceFieldTag, QualifiedNamesEachFollowedBySeparator) {
  testing::TestContext t;
  t.repo->Answer(SourceFieldQuery("'abcde001' , 'o''x'"),
                 Rows({"name"}, {{"abcde001.f1"}, {"abcde001.f2"}}));
  std::string text;
  ASSERT_TRUE(Construct_Source_Field_Tag(t.ctx, "APP", "abcde001,o'x", &text));
  EXPECT_EQ(text, "<SRCFIELD>abcde001.f1 , abcde001.f2 , </SRCFIELD>");
}

TEST(SourceElements, EmptySourceTableListGivesEmptyElements) {
  testing::TestContext t;
  t.repo->AnswerEmpty(SourceIndexQuery("''"), IndexColumns());
  t.repo->AnswerEmpty(SourceFieldQuery("''"), {"name"});
  std::string text;
  ASSERT_TRUE(Construct_Source_Index_Tag(t.ctx, "APP", "", &text));
  EXPECT_EQ(text, "<SRCINDEX></SRCINDEX>");
  ASSERT_TRUE(Construct_Source_Field_Tag(t.ctx, "APP", "", &text));
  EXPECT_EQ(text, "<SRCFIELD></SRCFIELD>");
}

TEST(GetIndexFields, CombinedFirstPartThenPartsAsRead) {
  testing::TestContext t;
  t.repo->Answer(
      kIndexOneQuery,
      Rows(IndexColumns(), {IndexRow('1', 1, {"key", " f2 ", "   ", "f9"})}));
  t.repo->Answer(LookupCombQuery("key"), Rows({"comb"}, {{"Y"}}));
  t.repo->Answer(LookupChildQuery("key"), Rows({"chld"}, {{"a"}, {"b"}}));
  t.repo->AnswerEmpty(LookupCombQuery(" f2 "), {"comb"});
  // The blank third part ends the list: f9 is never looked at.
  EXPECT_EQ(Get_Index_Fields(t.ctx, "APP", "abcde001", 1), "a,b, f2 ");

  t.repo->AnswerEmpty(kIndexOneQuery, IndexColumns());
  EXPECT_EQ(Get_Index_Fields(t.ctx, "APP", "abcde001", 1), "");
}

TEST(GetOrderedChildFields, SkipsNullsKeepsBlanksAndReplacesABlankStart) {
  testing::TestContext t;
  t.repo->Answer(LookupChildQuery("key"),
                 Rows({"chld"}, {{" "}, {Variant::MakeNull()}, {"a "}, {"b"}}));
  EXPECT_EQ(Get_Ordered_Child_Fields(t.ctx, "APP", "abcde001", "key"), "a ,b");
}

TEST(IsCombinedField, OnlyAnExactUpperCaseY) {
  testing::TestContext t;
  t.repo->Answer(LookupCombQuery("k1"), Rows({"comb"}, {{"Y"}}));
  t.repo->Answer(LookupCombQuery("k2"), Rows({"comb"}, {{"y"}}));
  t.repo->AnswerEmpty(LookupCombQuery("k3"), {"comb"});
  EXPECT_TRUE(Is_Combined_Field(t.ctx, "APP", "abcde001", "k1"));
  EXPECT_FALSE(Is_Combined_Field(t.ctx, "APP", "abcde001", "k2"));
  EXPECT_FALSE(Is_Combined_Field(t.ctx, "APP", "abcde001", "k3"));
}

int RaisedByGetIndexNumber(const std::string& text) {
  try {
    Get_Index_Number(text);
  } catch (const VbError& e) {
    return e.number();
  }
  return 0;
}

TEST(IndexReference, WordInAnyCaseAndTheNumberAfterIt) {
  EXPECT_TRUE(Is_Index_Reference("my_Index"));
  EXPECT_FALSE(Is_Index_Reference("ORDERS"));
  EXPECT_EQ(Get_Index_Number("xindex12"), 12);
  EXPECT_EQ(Get_Index_Number("ORDERS"), 0);
  // A remainder that is not a 16-bit number goes to the caller.
  EXPECT_EQ(RaisedByGetIndexNumber("INDEX"), errors::kTypeMismatch);
  EXPECT_EQ(RaisedByGetIndexNumber("INDEXa"), errors::kTypeMismatch);
  EXPECT_EQ(RaisedByGetIndexNumber("index40000"), errors::kOverflow);
}

}  // namespace
}  // namespace mx::dd
