// The TFLD element and the lookups behind it, against a fake repository that
// answers only the exact query texts.
#include "dictionary/field_tag.h"

#include "dictionary/domain_details.h"
#include "gtest/gtest.h"
#include "testing/test_context.h"

namespace mx {
namespace {

using testing::Rows;

const char kFieldQuery[] =
    " select fdnm , cdom , iniv , dept , mand , comb from    qxddi150  where "
    "appl = 'TAPP' AND cpac = 'ab' AND cmod = 'cde' AND flno = '001' order by "
    "fdno";
const std::vector<std::string> kFieldColumns = {"fdnm", "cdom", "iniv",
                                                "dept", "mand", "comb"};
const std::vector<std::string> kDomainColumns = {"type", "leng", "diga",
                                                 "adju", "conv", "digb"};

std::string DomainQuery(const std::string& domain) {
  return " select type , leng , diga , adju , conv , digb from qxddi220 where "
         "appl = 'TAPP' AND cpac+cdom = '" +
         domain + "'";
}

TEST(FieldLine, ExactLayout) {
  FieldLine line{"qty", "abqty", "Y", "a|b", "I", "9", "8", "1"};
  EXPECT_EQ(FormatFieldLine(line),
            " <QTY DOMA = \"abqty\" COMB = \"Y\" CHLD = \"A|B\"  TYPE = \"I\" "
            "LENG = \"9\" BDEC = \"8\" ADEC  = \"1\"  >  </QTY> \r\n");
}

TEST(ConstructFieldTag, WritesEveryFieldAndStoresThePlainOnes) {
  testing::TestContext t;
  t.repo->Answer(
      kFieldQuery,
      Rows(kFieldColumns,
           {{"item", "abitem", Variant::MakeNull(), int64_t{0}, "Y", "N"},
            {"ikey", "abitem", Variant::MakeNull(), int64_t{0}, "N", "Y"},
            {"note", " ", "x", int64_t{0}, "N", "N"},
            {"flag", "abitem", Variant::MakeNull(), int64_t{0}, "N", " "}}));
  t.repo->Answer(
      DomainQuery("abitem"),
      Rows(kDomainColumns, {{"s", " 16 ", Variant::MakeNull(), "Left", "upper",
                             Variant::MakeNull()}}));
  t.repo->Answer(
      "SELECT * FROM qxddi160  WHERE appl = 'TAPP' AND cpac = 'ab' AND cmod = "
      "'cde' AND flno = '001' AND fdnm = 'ikey'",
      Rows({"chld"}, {{" item "}, {"Qty"}}));

  std::string text;
  ASSERT_TRUE(
      dd::Construct_Field_Tag(t.ctx, "TAPP", "ab", "cde", "001", &text));
  EXPECT_EQ(text,
            "<TFLD>"
            " <ITEM DOMA = \"abitem\" COMB = \"N\" CHLD = \"\"  TYPE = \"S\" "
            "LENG = \"16\" BDEC = \"\" ADEC  = \"\"  >  </ITEM> \r\n"
            " <IKEY DOMA = \"abitem\" COMB = \"Y\" CHLD = \"ITEM|QTY\"  TYPE = "
            "\"S\" LENG = \"16\" BDEC = \"\" ADEC  = \"\"  >  </IKEY> \r\n"
            " <NOTE DOMA = \" \" COMB = \"N\" CHLD = \"\"  TYPE = \"\" LENG = "
            "\"\" BDEC = \"\" ADEC  = \"\"  >  </NOTE> \r\n"
            " <FLAG DOMA = \"abitem\" COMB = \" \" CHLD = \"\"  TYPE = \"S\" "
            "LENG = \"16\" BDEC = \"\" ADEC  = \"\"  >  </FLAG> \r\n"
            "</TFLD>");
  // Only the fields flagged N are records; a blank domain carries blanks.
  ASSERT_EQ(t.ctx.doc.field_store.Count(), 2u);
  const CFieldInfo* item = t.ctx.doc.field_store.Find("abcde001item");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->StrFieldCase, "u");
  EXPECT_EQ(item->StrFieldAlign, "L");
  EXPECT_EQ(item->IntFieldLength, 16);
  const CFieldInfo* note = t.ctx.doc.field_store.Find("abcde001note");
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->StrFieldCase, " ");
  EXPECT_EQ(note->StrFieldType, "");
  EXPECT_EQ(note->StrDefaultValue, "x");
  EXPECT_TRUE(t.log->text().empty());
}

TEST(ConstructFieldTag, MissingDataFailsWithTheNumberedErrors) {
  {
    testing::TestContext t;
    t.repo->AnswerEmpty(kFieldQuery, kFieldColumns);
    std::string text;
    EXPECT_FALSE(
        dd::Construct_Field_Tag(t.ctx, "TAPP", "ab", "cde", "001", &text));
    EXPECT_EQ(t.log->text(),
              "\t\tERROR: 112: No DDI Information present in the Appplication "
              "TAPP for the TABLE: abcde001\r\n");
  }
  {
    testing::TestContext t;
    t.repo->Answer(kFieldQuery,
                   Rows(kFieldColumns, {{"k", "abnone", Variant::MakeNull(),
                                         int64_t{0}, "N", "y"}}));
    t.repo->set_default_empty(true);
    std::string text;
    EXPECT_FALSE(
        dd::Construct_Field_Tag(t.ctx, "TAPP", "ab", "cde", "001", &text));
    EXPECT_EQ(t.log->text(),
              "\t\tERROR: 113:No Child Field information for the field "
              "abcde001.k in the application TAPP\r\n");
  }
}

TEST(DomainLookups, QuotesInValuesAreDoubled) {
  testing::TestContext t;
  t.repo->set_default_empty(true);
  DomainDetails details;
  EXPECT_FALSE(Get_Domain_Details(t.ctx, "O'Neil", "ab'x", &details));
  EXPECT_EQ(t.repo->sent().back(),
            " select type , leng , diga , adju , conv , digb from qxddi220 "
            "where appl = 'O''Neil' AND cpac+cdom = 'ab''x'");
  EXPECT_EQ(t.ctx.error_description(),
            "\t\tERROR: 114: No Domain information for the domain ab'x in the "
            "Application O'Neil");
}

TEST(DomainLookups, FieldDomainOfAnUnknownFieldIsASuccess) {
  testing::TestContext t;
  t.repo->set_default_empty(true);
  FieldDomainDetails details;
  details.type = "keep";
  details.length = 7;
  ASSERT_TRUE(Get_Field_Domain_Details(t.ctx, " \tabcde001.name\r\n", "SAPP",
                                       &details));
  EXPECT_EQ(t.repo->sent().back(),
            " select type,conv,adju,leng from qxddi220   where  appl = 'SAPP'  "
            "and cpac + cdom = (select cdom from qxddi150 where  appl = 'SAPP' "
            "and cpac+ cmod + flno + '.' + fdnm = 'abcde001.name')");
  EXPECT_EQ(details.type, "keep");
  EXPECT_EQ(details.length, 7);
}

}  // namespace
}  // namespace mx
