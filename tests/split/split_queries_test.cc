// The split fields and the pre-condition rewriting of both classes, against
// a fake repository that answers only the exact query texts. The documents
// of the data-dictionary class are checked byte for byte by the golden runs;
// these are the legacy rules and the failures.
#include "split/split_queries.h"

#include <gtest/gtest.h>

#include "split/split_fields.h"
#include "testing/test_context.h"

namespace mx {
namespace {

using testing::Rows;

const std::vector<std::string> kSplitColumns = {"ttbl", "stbl", "flst"};

std::string SplitRowQuery(const std::string& source) {
  return "select * from qxmap300 where ttbl='abcde001' and stbl='" + source +
         "'";
}

std::string CombQuery(const std::string& field) {
  return "select comb from qxddi150 where appl='SAPP' and "
         "cpac+cmod+flno='sfghi001' and fdnm='" +
         field + "'";
}

TEST(GetSplitFields, IndexesThenCombinedFieldsExpandInSplitOrder) {
  testing::TestContext t;
  t.repo->Answer(SplitRowQuery("sfghi001"),
                 Rows(kSplitColumns, {{"abcde001", "sfghi001", "zz,index2"}}));
  std::vector<Variant> index_row = {"SAPP", "sf", "ghi", "001", 2,
                                    "N",    "Y",  "k1",  "c"};
  index_row.resize(31, Variant::MakeNull());
  std::vector<std::string> index_columns = {"appl", "cpac", "cmod", "flno",
                                            "indn", "dupl", "acti"};
  for (int i = 1; i <= 24; ++i)
    index_columns.push_back("prt" + std::to_string(i));
  t.repo->Answer(
      "select * from qxddi200 where appl='SAPP' and cpac+cmod+flno='sfghi001' "
      "and indn=2",
      Rows(index_columns, {index_row}));
  t.repo->Answer(CombQuery("zz"), Rows({"comb"}, {{"N"}}));
  t.repo->Answer(CombQuery("k1"), Rows({"comb"}, {{"N"}}));
  // Get_Index_Fields already gives a combined part's children; the second
  // pass asks again and finds plain fields.
  t.repo->Answer(CombQuery("c"), Rows({"comb"}, {{"Y"}}));
  t.repo->Answer(
      "select * from qxddi160 where appl='SAPP' and cpac+cmod+flno='sfghi001' "
      "and fdnm='c' order by sern",
      Rows({"chld"}, {{"c1"}, {"c2"}}));
  t.repo->Answer(CombQuery("c1"), Rows({"comb"}, {}));
  t.repo->Answer(CombQuery("c2"), Rows({"comb"}, {}));

  std::string raw = "unchanged";
  EXPECT_EQ(dd::get_split_fields(t.ctx, "SAPP", "abcde001", "sfghi001", &raw),
            "zz,k1,c1,c2");
  EXPECT_EQ(raw, "zz,index2");

  t.repo->Answer(SplitRowQuery("other"), Rows(kSplitColumns, {}));
  raw = "unchanged";
  EXPECT_EQ(dd::get_split_fields(t.ctx, "SAPP", "abcde001", "other", &raw), "");
  EXPECT_EQ(raw, "unchanged");
  // The legacy class takes the list as stored.
  EXPECT_EQ(legacy::get_split_fields(t.ctx, "", "abcde001", "sfghi001"),
            "zz,index2");
}

TEST(LegacyAddSplitQueries, TheTableIsTheWordAfterMigrate) {
  testing::TestContext t(GeneratorKind::kLegacy);
  t.repo->Answer("select * from qxmap300 where ttbl='abcde001'",
                 Rows(kSplitColumns, {{"abcde001", "a.txt", "k"}}));
  t.repo->Answer(SplitRowQuery("a.txt"),
                 Rows(kSplitColumns, {{"abcde001", "a.txt", "k"}}));
  t.repo->set_default_empty(true);  // the field lookups: no such fields
  std::string out = "caller's";
  ASSERT_TRUE(legacy::AddSplitQueries_to_Precondition(
      t.ctx, "LEG", "x = 1\r\nMIGRATE\t a.txt rest\r\n", "abcde001", &out));
  EXPECT_EQ(out.substr(0, 7), "x = 1\r\n");
  EXPECT_NE(out.find("\r\nGetFromToRange \"a.txt\", FromRng, ToRng\r\n"),
            std::string::npos);
  const std::string end = "End if\r\nmigrate \t a.txt rest\r\n";
  ASSERT_GT(out.size(), end.size());
  EXPECT_EQ(out.substr(out.size() - end.size()), end);
  ASSERT_NE(t.doc.split_conditions.Find("A.TXT"), nullptr);
  EXPECT_EQ(*t.doc.split_conditions.Find("A.TXT"),
            "((a.k > varint_from_a.txt_k) and \r\n"
            "(a.k <= varint_to_a.txt_k))");
  EXPECT_EQ(t.doc.split_declarations, "");
}

TEST(AddSplitQueries, FailuresAreReportedAndLeaveTheCallersText) {
  for (GeneratorKind kind :
       {GeneratorKind::kDataDictionary, GeneratorKind::kLegacy}) {
    testing::TestContext t(kind);
    t.repo->Answer("select * from qxmap300 where ttbl='abcde001'",
                   Rows(kSplitColumns, {{"abcde001", "sfghi001", ""}}));
    t.repo->Answer(SplitRowQuery("sfghi001"),
                   Rows(kSplitColumns, {{"abcde001", "sfghi001", ""}}));
    std::string out = "caller's";
    const bool dd = kind == GeneratorKind::kDataDictionary;
    auto add = [&](const std::string& text) {
      return dd ? dd::AddSplitQueries_to_Precondition(t.ctx, "SAPP", text,
                                                      "abcde001", &out)
                : legacy::AddSplitQueries_to_Precondition(t.ctx, "SAPP", text,
                                                          "abcde001", &out);
    };
    EXPECT_FALSE(add("migrate sfghi001"));
    const std::string line =
        "\t\tERROR:in AddSplitQueries_to_Precondition  ErrNo. 1009: Split "
        "Information not given for the Target Table abcde001 - Source table "
        "sfghi001";
    EXPECT_EQ(t.ctx.error_description(), line);
    EXPECT_EQ(t.log->text(), line + "\r\n");
    EXPECT_EQ(out, "caller's");

    // A repository error is reported the same way.
    EXPECT_FALSE(add("migrate sfghi002"));
    EXPECT_NE(t.ctx.error_description().find("ErrNo.-2147217900:unexpected"),
              std::string::npos);
    EXPECT_EQ(out, "caller's");
  }
}

}  // namespace
}  // namespace mx
