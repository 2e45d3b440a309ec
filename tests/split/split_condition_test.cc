// The split-condition rule on formatted select texts (which end in the
// formatter's blank): where the condition goes for each shape of query, the
// dropped last character, and texts whose clauses sit where the rule does not
// expect them.
#include "split/split_condition.h"

#include <gtest/gtest.h>

namespace mx {
namespace {

TEST(InsertSplitCondition, WithoutWhereANewWhereLineGoesBeforeTheClause) {
  EXPECT_EQ(InsertSplitCondition("select a from t ", "(t.k > 1)"),
            "select a from t \r\nwhere (t.k > 1)");
  EXPECT_EQ(InsertSplitCondition("select a from t GROUP by a ", "C"),
            "select a from t\r\nwhere C GROUP by a");
  // group is looked for before having and order, wherever they stand.
  EXPECT_EQ(InsertSplitCondition("select a from t order by a group by b ", "C"),
            "select a from t order by a\r\nwhere C group by b");
}

TEST(InsertSplitCondition, AnExistingWhereIsParenthesisedOneCharacterShort) {
  EXPECT_EQ(
      InsertSplitCondition("select a from t Where x = 1 \r\n order by a ", "C"),
      "select a from t Where (x = 1 \r\n) and C order by a");
  EXPECT_EQ(InsertSplitCondition("select a from t WHERE x = 1  ", "C"),
            "select a from t WHERE (x = 1 ) and C");
  // Nothing follows " where ": nothing is left to cut.
  EXPECT_EQ(InsertSplitCondition("select a from t where ", "C"),
            "select a from t where () and C");
}

TEST(InsertSplitCondition, OnlyAClauseAfterTheWhereEndsIt) {
  EXPECT_EQ(InsertSplitCondition(
                "select group from t where x = 1 having y order by a ", "C"),
            "select group from t where (x = 1) and C having y order by a");
  // The blank that ends " where " may begin the clause.
  EXPECT_EQ(InsertSplitCondition("select a from t where order by a ", "C"),
            "select a from t where () and C order by a");
}

}  // namespace
}  // namespace mx
