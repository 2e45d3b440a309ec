// The field store: neutral values, initial values adjusted to the type (each
// class by its own table), array elements, and what a duplicate field does.
#include "dictionary/field_store.h"

#include "gtest/gtest.h"
#include "testing/test_context.h"

namespace mx::dd {
namespace {

TEST(NeutralValue, ByTypeCodeComparedExactly) {
  EXPECT_EQ(NeutralValue("D", 15), "0.0");
  EXPECT_EQ(NeutralValue("F", 15), "0.0");
  EXPECT_EQ(NeutralValue("S", 30), "String.Set$(\" \",30)");
  EXPECT_EQ(NeutralValue("M", 0), "String.Set$(\" \",0)");
  EXPECT_EQ(NeutralValue("T", 0), "utc(0,0,2)");
  EXPECT_EQ(NeutralValue("K", 0), "utc(0,0)");
  EXPECT_EQ(NeutralValue("E", 2), "0");
  EXPECT_EQ(NeutralValue("s", 30), "0");  // lower case is another code
  EXPECT_EQ(NeutralValue("", 0), "0");
}

TEST(AdjustedInitialValue, FollowsTheType) {
  const std::string s30 = NeutralValue("S", 30);
  EXPECT_EQ(AdjustedInitialValue("D", "", "0.0"), "0.0");
  EXPECT_EQ(AdjustedInitialValue("D", "12", "0.0"), "12.0");
  EXPECT_EQ(AdjustedInitialValue("F", "1.5", "0.0"), "1.5");
  EXPECT_EQ(AdjustedInitialValue("S", "Widget", s30), "\"Widget\"");
  EXPECT_EQ(AdjustedInitialValue("S", "\"as is\"", s30), "\"as is\"");
  EXPECT_EQ(AdjustedInitialValue("M", "  ", s30), s30);
  EXPECT_EQ(AdjustedInitialValue("T", "0", "utc(0,0,2)"), "utc(0,0,2)");
  EXPECT_EQ(AdjustedInitialValue("K", "", "utc(0,0)"), "utc(0,0)");
  EXPECT_EQ(AdjustedInitialValue("K", "utc(1,2)", "utc(0,0)"), "utc(1,2)");
  EXPECT_EQ(AdjustedInitialValue("E", " ", "0"), "0");
  EXPECT_EQ(AdjustedInitialValue("E", "3", "0"), "3");
}

FieldDetails Field(const std::string& name, int16_t depth,
                   const std::string& type, const std::string& length) {
  FieldDetails f;
  f.depth = depth;
  f.field_name = name;
  f.domain = "abdom";
  f.type = type;
  f.length = length;
  f.alignment = "L";
  f.case_conversion = "U";
  f.table = "abcde001";
  f.mandatory = "Y";
  return f;
}

TEST(StoreFieldDetails, ArrayFieldsGetOneRecordPerElement) {
  testing::TestContext t;
  Store_Field_Details_in_Dictionary(t.ctx, Field("qty", 10, "I", "9"));
  ASSERT_EQ(t.ctx.doc.field_store.Count(), 10u);
  const CFieldInfo* tenth = t.ctx.doc.field_store.Find("abcde001qty(10)");
  ASSERT_NE(tenth, nullptr);
  EXPECT_EQ(tenth->StrFieldName, "qty(10)");
  EXPECT_EQ(tenth->IntDepth, 10);
  EXPECT_EQ(t.ctx.doc.field_store.Find("abcde001qty"), nullptr);
}

TEST(StoreFieldDetails, LengthIsTheNumberTheTextStartsWith) {
  testing::TestContext t;
  Store_Field_Details_in_Dictionary(t.ctx, Field("a", 0, "S", " 12abc"));
  Store_Field_Details_in_Dictionary(t.ctx, Field("b", 0, "S", ""));
  const CFieldInfo* a = t.ctx.doc.field_store.Find("abcde001a");
  const CFieldInfo* b = t.ctx.doc.field_store.Find("abcde001b");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->IntFieldLength, 12);
  EXPECT_EQ(a->StrInitialValue, "String.Set$(\" \",12)");
  EXPECT_EQ(b->StrInitialValue, "String.Set$(\" \",0)");
  EXPECT_EQ(b->StrDefaultValue, b->StrInitialValue);
  EXPECT_EQ(a->StrFieldCase, "U");
  EXPECT_EQ(a->StrMandField, "Y");
}

TEST(StoreFieldDetails, DuplicateIsReportedAndEarlierRecordsStay) {
  testing::TestContext t;
  Store_Field_Details_in_Dictionary(t.ctx, Field("qty", 0, "I", "9"));
  Store_Field_Details_in_Dictionary(t.ctx, Field("qty", 0, "S", "9"));
  EXPECT_EQ(t.log->text(),
            "\t\tERROR: 457:This key is already associated with an element of "
            "this collection\r\n");
  EXPECT_EQ(t.ctx.error_description() + "\r\n", t.log->text());
  ASSERT_EQ(t.ctx.doc.field_store.Count(), 1u);
  EXPECT_EQ(t.ctx.doc.field_store.Find("abcde001qty")->StrFieldType, "I");
}

}  // namespace
}  // namespace mx::dd

namespace mx::legacy {
namespace {

TEST(LegacyNeutralValue, ZeroButForStringsTypeUpperCased) {
  EXPECT_EQ(NeutralValue("S", 30), "space(30)");
  EXPECT_EQ(NeutralValue("m", 0), "space(0)");
  EXPECT_EQ(NeutralValue("S", 5001), "space(5000)");
  EXPECT_EQ(NeutralValue("D", 15), "0");
  EXPECT_EQ(NeutralValue("T", 0), "0");
  EXPECT_EQ(NeutralValue("k", 0), "0");
  EXPECT_EQ(NeutralValue("U", 8), "0");
  EXPECT_EQ(NeutralValue("", 0), "0");
}

TEST(LegacyAdjustedInitialValue, FollowsTheUpperCasedType) {
  EXPECT_EQ(AdjustedInitialValue("d", "", "0"), "0");
  EXPECT_EQ(AdjustedInitialValue("D", "12abc", "0"), "12");
  EXPECT_EQ(AdjustedInitialValue("F", "1.50", "0"), "1.5");
  EXPECT_EQ(AdjustedInitialValue("I", "x", "0"), "0");
  EXPECT_EQ(AdjustedInitialValue("s", "Widget", "space(8)"), "\"Widget\"");
  EXPECT_EQ(AdjustedInitialValue("S", "", "space(8)"), "space(8)");
  EXPECT_EQ(AdjustedInitialValue("M", "say \"hi\"", "space(8)"), "say \"hi\"");
  EXPECT_EQ(AdjustedInitialValue("t", "", "0"), "\"\"");
  EXPECT_EQ(AdjustedInitialValue("K", "1970-01-04 00:00:00", "0"),
            "\"1970-01-04 00:00:00\"");
  EXPECT_EQ(AdjustedInitialValue("u", "7", "0"), "0");
  EXPECT_EQ(AdjustedInitialValue("Z", "", "0"), "0");
  EXPECT_EQ(AdjustedInitialValue("Z", "abc", "0"), "abc");
}

// The legacy store keeps the legacy values, not the data-dictionary ones
// (String.Set$, utc(...), 0.0), which the legacy dumps would write as the
// value of every field without a rule.
TEST(LegacyFieldStore, RecordsCarryTheLegacyValues) {
  testing::TestContext t(GeneratorKind::kLegacy);
  dd::FieldDetails field;
  field.table = "abcdeorders";
  for (const char* type : {"S", "K", "D"}) {
    field.field_name = type;
    field.type = type;
    field.length = "10";
    legacy::Store_Field_Details_in_Dictionary(t.ctx, field);
  }
  const CFieldInfo* s = t.ctx.doc.field_store.Find("abcdeordersS");
  const CFieldInfo* k = t.ctx.doc.field_store.Find("abcdeordersK");
  const CFieldInfo* d = t.ctx.doc.field_store.Find("abcdeordersD");
  ASSERT_TRUE(s && k && d);
  EXPECT_EQ(s->StrInitialValue, "space(10)");
  EXPECT_EQ(s->StrDefaultValue, "space(10)");
  EXPECT_EQ(k->StrInitialValue, "0");
  EXPECT_EQ(k->StrDefaultValue, "\"\"");
  EXPECT_EQ(d->StrInitialValue, "0");
  EXPECT_EQ(d->StrDefaultValue, "0");
  EXPECT_EQ(t.log->text(), "");
}

}  // namespace
}  // namespace mx::legacy
