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

std::string DomainQuery(const std::string& domain) {
  return " select type , leng , diga , adju , conv , digb from qxddi220 where "
         "appl = 'TAPP' AND cpac+cdom = '" +
         domain + "'";
}

Variant Null() { return Variant::MakeNull(); }

// A field line with everything but the name, domain, flags and type empty,
// or with the details of the domains below (`details`).
std::string Line(const std::string& name, const std::string& domain,
                 const std::string& comb, const std::string& child,
                 const std::string& type, bool details) {
  return " <" + name + " DOMA = \"" + domain + "\" COMB = \"" + comb +
         "\" CHLD = \"" + child + "\"  TYPE = \"" + type + "\" LENG = \"" +
         (details ? "8\" BDEC = \"5\" ADEC  = \"2\""
                  : "\" BDEC = \"\" ADEC  = \"\"") +
         "  >  </" + name + "> \r\n";
}

class LegacyFieldTag : public ::testing::Test {
 protected:
  LegacyFieldTag() : t_(GeneratorKind::kLegacy) {}

  void AnswerDomain(const std::string& domain, const char* type) {
    t_.repo->Answer(DomainQuery(domain),
                    Rows({"type", "leng", "diga", "adju", "conv", "digb"},
                         {{type, " 8 ", "2", "right", "upper", "5"}}));
  }

  bool Build(bool target_source = false) {
    LegacyRunFacts facts;
    facts.target_source = target_source;
    return target_source ? Construct_Field_Tag(t_.ctx, facts, "TAPP", "qx",
                                               "fil", "cust.txt", &text_)
                         : Construct_Field_Tag(t_.ctx, facts, "TAPP", "ab",
                                               "cde", "001", &text_);
  }

  const CFieldInfo& Record(const std::string& key) {
    static const CFieldInfo kNone;
    const CFieldInfo* info = t_.ctx.doc.field_store.Find(key);
    EXPECT_NE(info, nullptr) << key;
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
  AnswerDomain("abdate", "k");
  AnswerDomain("abtime", "T");
  AnswerDomain("abnum", "I");

  ASSERT_TRUE(Build());
  EXPECT_EQ(text_, "<TFLD>" +
                       Line("PAIR", "abdate", "y", "DUE|MADE", "", false) +
                       Line("DUE", "abdate", "N", "", "K", true) +
                       Line("MADE", "abdate", "N", "", "K", true) +
                       Line("AT", "abtime", "N", "", "T", true) +
                       Line("CUT", "abtime", "N", "", "T", true) +
                       Line("NOTE", "", "N", "", "", false) +
                       Line("ODD", "abnum", " ", "", "I", true) + "</TFLD>");

  EXPECT_EQ(t_.ctx.doc.field_store.Count(), 6u);  // at(1), at(2) and four
  // The legacy store quotes a date's initial value.
  EXPECT_EQ(Record("abcde001due").StrDefaultValue, "\"1970-01-04 00:00:00\"");
  EXPECT_EQ(Record("abcde001made").StrDefaultValue, "\"1970-01-01 00:00:00\"");
  EXPECT_EQ(Record("abcde001at(2)").StrDefaultValue, "\"1970-01-04 00:00:00\"");
  EXPECT_EQ(Record("abcde001cut").StrDefaultValue, "\"0\"");
  EXPECT_EQ(Record("abcde001cut").StrInitialValue, "0");
  const CFieldInfo& due = Record("abcde001due");
  EXPECT_EQ(due.StrFieldCase + due.StrFieldAlign, "ur");
  EXPECT_EQ(due.IntFieldLength, 8);
  EXPECT_EQ(due.StrMandField, "");  // the legacy store keeps no flag
  const CFieldInfo& note = Record("abcde001note");
  EXPECT_EQ(note.StrDefaultValue, "x");
  EXPECT_EQ(note.StrFieldCase + note.StrFieldAlign, "  ");
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
  // A date whose mandatory flag is null cannot be given its initial value.
  t_.repo->Answer(kFieldQuery,
                  Rows(kFieldColumns,
                       {{"due", "abdate", Null(), int64_t{0}, "N", Null()}}));
  AnswerDomain("abdate", "K");
  EXPECT_FALSE(Build());
  EXPECT_EQ(t_.ctx.error_description(),
            "\t\tERROR:-  94 - Invalid use of Null\r\n");
}

TEST_F(LegacyFieldTag, LegacyTargetsAreDescribedByTheirLayout) {
  const std::vector<std::string> columns = {"epos", "spos", "flna", "dtyp"};
  t_.repo->Answer(kLayoutQuery,
                  Rows(columns, {{int64_t{25}, int64_t{10}, "no", "L"},
                                 {Null(), int64_t{1}, "name$", "u"}}));
  ASSERT_TRUE(Build(/*target_source=*/true));
  const std::string empty = " DOMA = \"\" COMB = \"\" CHLD = \"\"  TYPE = \"";
  EXPECT_EQ(text_, "<TFLD> <NO" + empty +
                       "L\" LENG = \"15\" BDEC = \"\" ADEC  = \"\"  >  </NO> "
                       "\r\n <NAME$" +
                       empty +
                       "u\" LENG = \"0\" BDEC = \"\" ADEC  = \"\"  >  "
                       "</NAME$> \r\n</TFLD>");
  ASSERT_EQ(t_.ctx.doc.field_store.Count(), 2u);
  EXPECT_EQ(Record("qxfilcust.txtno").IntFieldLength, 15);
  EXPECT_EQ(Record("qxfilcust.txtname$").StrFieldType, "u");

  t_.repo->AnswerEmpty(kLayoutQuery, columns);
  EXPECT_FALSE(Build(/*target_source=*/true));
  EXPECT_EQ(
      t_.ctx.error_description(),
      "\t\tERROR:-  112 -  No DDI Information present in the Appplication "
      "TAPP for the TABLE: qxfilcust.txt\r\n");
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
