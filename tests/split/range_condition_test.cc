// The range conditions of both classes for one, two and three split fields.
// A worker shell must get the rows after its from-key up to and including
// its to-key: the chained legacy form is checked clause by clause against
// that, the compound form of the data-dictionary class for its two shapes
// (index reference or not).
#include "split/range_condition.h"

#include <gtest/gtest.h>

namespace mx {
namespace {

TEST(SplitRangeCondition, OneFieldComparesTheFieldWithBothBounds) {
  EXPECT_EQ(dd::Split_Range_Condition("sfghi001", {"item"}, "item"),
            "(sfghi001.item > :from.sfghi001.item and sfghi001.item <= "
            ":to.sfghi001.item)");
}

TEST(SplitRangeCondition, SeveralFieldsCompareTheKeyWithCompoundBounds) {
  // A combined field is compared as the key its children make.
  EXPECT_EQ(dd::Split_Range_Condition("t", {"c1", "c2"}, "c"),
            "(t.c > {:from.t.c1 , :from.t.c2}\r\n"
            " and t.c <= {:to.t.c1 , :to.t.c2})");
  // A list of several entries is chained field by field.
  EXPECT_EQ(dd::Split_Range_Condition("t", {"a", "b"}, "a, b"),
            "(((t.a > :from.t.a)\r\n"
            "\t or (t.a = :from.t.a and t.b > :from.t.b)\r\n"
            ") \r\n\t and ((t.a < :to.t.a)\r\n"
            "\t or (t.a = :to.t.a and t.b < :to.t.b)\r\n"
            "\r\n\t or (t.a = :to.t.a\r\n\t and t.b = :to.t.b)))");
  // An index is named T._INDEXn, in the case the list gives it.
  EXPECT_EQ(dd::Split_Range_Condition("qxabc001", {"f1", "f2", "f3"}, "Index1"),
            "(qxabc001._Index1 > {:from.qxabc001.f1 , :from.qxabc001.f2 , "
            ":from.qxabc001.f3}\r\n"
            " and  qxabc001._Index1 <= {:to.qxabc001.f1 , :to.qxabc001.f2 , "
            ":to.qxabc001.f3})");
}

const RangeVariables kA{"fa", "ta"}, kB{"fb", "tb"}, kC{"fc", "tc"};

TEST(LegacySplitRangeCondition, OneField) {
  EXPECT_EQ(legacy::Legacy_Split_Range_Condition("t", {"a"}, {kA}),
            "((t.a > fa) and \r\n(t.a <= ta))");
}

TEST(LegacySplitRangeCondition, TwoFieldsAfterTheFromKeyUpToTheToKey) {
  EXPECT_EQ(legacy::Legacy_Split_Range_Condition("t", {"a", "b"}, {kA, kB}),
            "(("
            // after the from-key
            "(t.a > fa)\r\n"
            "\t or (t.a = fa and t.b > fb)\r\n"
            ") \r\n\t and ("
            // before the to-key, or the to-key itself
            "(t.a < ta)\r\n"
            "\t or (t.a = ta and t.b < tb)\r\n"
            "\r\n\t or (t.a = ta\r\n\t and t.b = tb)"
            "))");
}

TEST(LegacySplitRangeCondition, ThreeFieldsChainTheEqualitiesOfTheLeaders) {
  EXPECT_EQ(
      legacy::Legacy_Split_Range_Condition("t", {"a", "b", "c"}, {kA, kB, kC}),
      "(("
      "(t.a > fa)\r\n"
      "\t or (t.a = fa and t.b > fb)\r\n"
      "\r\n\t or (t.a = fa\r\n\t and t.b = fb and t.c > fc)\r\n"
      ") \r\n\t and ("
      "(t.a < ta)\r\n"
      "\t or (t.a = ta and t.b < tb)\r\n"
      "\r\n\t or (t.a = ta\r\n\t and t.b = tb and t.c < tc)\r\n"
      "\r\n\t or (t.a = ta\r\n\t and t.b = tb\r\n\t and t.c = tc)"
      "))");
}

}  // namespace
}  // namespace mx
