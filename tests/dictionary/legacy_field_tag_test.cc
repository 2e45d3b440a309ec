// The legacy TFLD element from the data dictionary and from a legacy layout,
// the field records it stores and the legacy wording of its errors, against
// a fake repository that answers only the exact query texts.
#include "dictionary/legacy_field_tag.h"

#include "dictionary/field_store.h"
#include "gtest/gtest.h"
#include "testing/test_context.h"

namespace mx::legacy {
namespace {

using testing::Rows;

const char kFieldQuery[] =
    " select fdnm , cdom , iniv , dept , comb, mand from    qxddi150  where "
    "appl = 'TAPP' AND cpac = 'ab' AND cmod = 'cde' AND flno = '001' order by "
    "fdno";
const std::vector<std::string> kFieldColumns = {"fdnm", "cdom", "iniv",
                                                "dept", "comb", "mand"};
const char kLayoutQuery[] =
    " select epos,spos,flna , dtyp from    qxlgy150  where appl = 'TAPP' AND "
    "cpac = 'qx' AND cmod = 'fil' AND flno = 'cust.txt' order by seqn";
const std::vector<std::string> kLayoutColumns = {"epos", "spos", "flna",
                                                 "dtyp"};

std::string DomainQuery(const std::string& domain) {
  return " select type , leng , diga , adju , conv , digb from qxddi220 where "
         "appl = 'TAPP' AND cpac+cdom = '" +
         domain + "'";
}

repository::ResultSet Domain(const char* type) {
  return Rows({"type", "leng", "diga", "adju", "conv", "digb"},
              {{type, " 8 ", "2", "right", "upper", "5"}});
}

Variant Null() { return Variant::MakeNull(); }

std::string Line(const std::string& name, const std::string& attributes) {
  return " <" + name + attributes + "  >  </" + name + "> \r\n";
}

class LegacyFieldTag : public ::testing::Test {
 protected:
  LegacyFieldTag() : t_(GeneratorKind::kLegacy) {}

  bool Build(bool target_source = false) {
    LegacyRunFacts facts;
    facts.target_source = target_source;
    const std::string table = target_source ? "cust.txt" : "001";
    const std::string package = target_source ? "qx" : "ab";
    const std::string module = target_source ? "fil" : "cde";
    return Construct_Field_Tag(t_.ctx, facts, "TAPP", package, module, table,
                               &text_);
  }

  const CFieldInfo& Record(const std::string& key) {
    const CFieldInfo* info = t_.ctx.doc.field_store.Find(key);
    EXPECT_NE(info, nullptr) << key;
    static const CFieldInfo kNone;
    return info != nullptr ? *info : kNone;
  }

  testing::TestContext t_;
  std::string text_ = "stale";
};

TEST_F(LegacyFieldTag, DictionaryFieldsWithTheLegacyDifferences) {
  t_.repo->Answer(
      kFieldQuery,
      Rows(kFieldColumns,
           {// A combined field writes no domain details, whatever cdom holds.
            {"pair", "abdate", Null(), int64_t{0}, "y", "N"},
            // Dates and times start at fixed values chosen by mand.
            {"due", "abdate", "2001-01-01", int64_t{0}, "N", "y"},
            {"made", "abdate", "x", int64_t{0}, "N", "N"},
            {"at", "abtime", Null(), int64_t{2}, "N", "Y"},
            {"cut", "abtime", Null(), int64_t{0}, "N", "N"},
            // A null domain is not looked up.
            {"note", Null(), " x ", int64_t{0}, "N", Null()},
            // Neither Y nor N: written, not stored.
            {"odd", "abnum", Null(), int64_t{0}, " ", "N"}}));
  t_.repo->Answer(
      "SELECT * FROM qxddi160  WHERE appl = 'TAPP' AND cpac = 'ab' AND cmod = "
      "'cde' AND flno = '001' AND fdnm = 'pair'",
      Rows({"chld"}, {{" due "}, {"made"}}));
  t_.repo->Answer(DomainQuery("abdate"), Domain("k"));
  t_.repo->Answer(DomainQuery("abtime"), Domain("T"));
  t_.repo->Answer(DomainQuery("abnum"), Domain("I"));

  ASSERT_TRUE(Build());
  const std::string details = " LENG = \"8\" BDEC = \"5\" ADEC  = \"2\"";
  EXPECT_EQ(text_,
            "<TFLD>" +
                Line("PAIR",
                     " DOMA = \"abdate\" COMB = \"y\" CHLD = \"DUE|MADE\"  "
                     "TYPE = \"\" LENG = \"\" BDEC = \"\" ADEC  = \"\"") +
                Line("DUE",
                     " DOMA = \"abdate\" COMB = \"N\" CHLD = \"\"  "
                     "TYPE = \"K\"" +
                         details) +
                Line("MADE",
                     " DOMA = \"abdate\" COMB = \"N\" CHLD = \"\"  "
                     "TYPE = \"K\"" +
                         details) +
                Line("AT",
                     " DOMA = \"abtime\" COMB = \"N\" CHLD = \"\"  "
                     "TYPE = \"T\"" +
                         details) +
                Line("CUT",
                     " DOMA = \"abtime\" COMB = \"N\" CHLD = \"\"  "
                     "TYPE = \"T\"" +
                         details) +
                Line("NOTE",
                     " DOMA = \"\" COMB = \"N\" CHLD = \"\"  TYPE = "
                     "\"\" LENG = \"\" BDEC = \"\" ADEC  = \"\"") +
                Line("ODD",
                     " DOMA = \"abnum\" COMB = \" \" CHLD = \"\"  "
                     "TYPE = \"I\"" +
                         details) +
                "</TFLD>");

  EXPECT_EQ(t_.ctx.doc.field_store.Count(), 6u);  // at(1), at(2) and four
  EXPECT_EQ(Record("abcde001due").StrDefaultValue, "1970-01-04 00:00:00");
  EXPECT_EQ(Record("abcde001made").StrDefaultValue, "1970-01-01 00:00:00");
  EXPECT_EQ(Record("abcde001at(2)").StrDefaultValue, "1970-01-04 00:00:00");
  EXPECT_EQ(Record("abcde001cut").StrDefaultValue, "utc(0,0,2)");
  const CFieldInfo& due = Record("abcde001due");
  EXPECT_EQ(due.StrFieldCase, "u");
  EXPECT_EQ(due.StrFieldAlign, "r");
  EXPECT_EQ(due.IntFieldLength, 8);
  EXPECT_EQ(due.StrMandField, "");  // the legacy store keeps no flag
  const CFieldInfo& note = Record("abcde001note");
  EXPECT_EQ(note.StrDefaultValue, "x");
  EXPECT_EQ(note.StrFieldCase, " ");
  EXPECT_EQ(note.StrFieldAlign, " ");
  EXPECT_EQ(t_.log->text(), "");
}

TEST_F(LegacyFieldTag, ErrorsInTheLegacyWords) {
  // A blank domain is looked up, and is not there.
  t_.repo->Answer(
      kFieldQuery,
      Rows(kFieldColumns, {{"k", " ", Null(), int64_t{0}, "N", "N"}}));
  t_.repo->set_default_empty(true);
  EXPECT_FALSE(Build());
  EXPECT_EQ(t_.log->text(),
            "\t\tERROR:-  114 -  No Domain information for the domain   in the "
            "Application TAPP\r\n");

  testing::TestContext empty(GeneratorKind::kLegacy);
  empty.repo->AnswerEmpty(kFieldQuery, kFieldColumns);
  LegacyRunFacts facts;
  EXPECT_FALSE(Construct_Field_Tag(empty.ctx, facts, "TAPP", "ab", "cde", "001",
                                   &text_));
  EXPECT_EQ(text_, "");
  EXPECT_EQ(
      empty.ctx.error_description(),
      "\t\tERROR:-  112 -  No DDI Information present in the Appplication "
      "TAPP for the TABLE: abcde001\r\n");
}

TEST_F(LegacyFieldTag, MandatoryFlagOfADateMustBeThere) {
  t_.repo->Answer(kFieldQuery,
                  Rows(kFieldColumns,
                       {{"due", "abdate", Null(), int64_t{0}, "N", Null()}}));
  t_.repo->Answer(DomainQuery("abdate"), Domain("K"));
  EXPECT_FALSE(Build());
  EXPECT_EQ(t_.log->text(), "\t\tERROR:-  94 - Invalid use of Null\r\n");
}

TEST_F(LegacyFieldTag, LegacyTargetsAreDescribedByTheirLayout) {
  t_.repo->Answer(kLayoutQuery,
                  Rows(kLayoutColumns, {{int64_t{25}, int64_t{10}, "no", "L"},
                                        {Null(), int64_t{1}, "name$", "U"}}));
  ASSERT_TRUE(Build(/*target_source=*/true));
  EXPECT_EQ(text_,
            "<TFLD>" +
                Line("NO",
                     " DOMA = \"\" COMB = \"\" CHLD = \"\"  TYPE = \"L\" "
                     "LENG = \"15\" BDEC = \"\" ADEC  = \"\"") +
                Line("NAME$",
                     " DOMA = \"\" COMB = \"\" CHLD = \"\"  TYPE = "
                     "\"U\" LENG = \"0\" BDEC = \"\" ADEC  = \"\"") +
                "</TFLD>");
  ASSERT_EQ(t_.ctx.doc.field_store.Count(), 2u);
  const CFieldInfo& no = Record("qxfilcust.txtno");
  EXPECT_EQ(no.IntFieldLength, 15);
  EXPECT_EQ(no.StrFieldType, "L");
  EXPECT_EQ(no.StrFieldCase, " ");
  EXPECT_EQ(Record("qxfilcust.txtname$").StrInitialValue, "0");
}

TEST_F(LegacyFieldTag, LayoutErrors) {
  t_.repo->AnswerEmpty(kLayoutQuery, kLayoutColumns);
  EXPECT_FALSE(Build(/*target_source=*/true));
  EXPECT_EQ(
      t_.log->text(),
      "\t\tERROR:-  112 -  No DDI Information present in the Appplication "
      "TAPP for the TABLE: qxfilcust.txt\r\n");

  testing::TestContext t(GeneratorKind::kLegacy);
  t.repo->Answer(kLayoutQuery,
                 Rows(kLayoutColumns, {{int64_t{2}, int64_t{1}, "a", Null()}}));
  EXPECT_FALSE(Construct_Legacy_File_Field_Tag(t.ctx, "TAPP", "qx", "fil",
                                               "cust.txt", &text_));
  EXPECT_EQ(t.log->text(), "\t\tERROR:-  94 - Invalid use of Null\r\n");
}

TEST(LegacyFieldStore, ASecondFieldOfTheSameNameIsReportedWithAHint) {
  testing::TestContext t(GeneratorKind::kLegacy);
  dd::FieldDetails field;
  field.field_name = "qty";
  field.depth = 2;
  field.table = "abcde001";
  legacy::Store_Field_Details_in_Dictionary(t.ctx, field);
  field.depth = 3;
  legacy::Store_Field_Details_in_Dictionary(t.ctx, field);
  EXPECT_EQ(t.ctx.doc.field_store.Count(), 2u);
  EXPECT_EQ(t.ctx.error_description(),
            "\t\tERROR in Store_Field_Details_in_Dictionary:-  457 - This key "
            "is already associated with an element of this collection\r\n"
            "Hint : for field abcde001qty");
  EXPECT_EQ(t.log->text(), t.ctx.error_description() + "\r\n");
}

}  // namespace
}  // namespace mx::legacy
