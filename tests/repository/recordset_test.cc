#include "repository/recordset.h"

#include <gtest/gtest.h>

#include <string>

#include "movx20xmlgen/error.h"
#include "testing/fake_connection.h"

namespace mx::repository {
namespace {

using testing::FakeConnection;
using testing::Rows;

int ErrorNumberOf(const Recordset& rs, std::string_view name) {
  try {
    rs.Fields(name);
  } catch (const VbError& e) {
    return e.number();
  }
  return 0;
}

TEST(RecordsetTest, FieldsByNameIgnoreCaseAndTakeTheFirstOfEqualNames) {
  FakeConnection db;
  db.Answer("q", Rows({"cpac", "CMOD", "cpac"},
                      {{Variant(std::string("a")), Variant(std::string("b")),
                        Variant(std::string("c"))},
                       {Variant(std::string("d")), Variant(std::string("e")),
                        Variant(std::string("f"))}}));
  Recordset rs(db, "q");
  for (const char* first : {"a", "d"}) {
    EXPECT_EQ(rs.Fields("CPAC").ToText(), first);
    EXPECT_EQ(rs.Fields("cmod").ToText(), first[0] == 'a' ? "b" : "e");
    rs.MoveNext();
  }
  EXPECT_TRUE(rs.Eof());
  EXPECT_EQ(ErrorNumberOf(Recordset(db, "q"), "flno"), errors::kItemNotFound);
}

// Readers often pass a name built in one buffer that is then reused for the
// next name: the column found for the first must not answer the second.
TEST(RecordsetTest, ANameBufferReusedForAnotherNameFindsItsOwnColumn) {
  FakeConnection db;
  db.Answer("q", Rows({"prt1", "prt2", "prt3"},
                      {{Variant(std::string("x")), Variant(std::string("y")),
                        Variant(std::string("z"))}}));
  Recordset rs(db, "q");
  char name[] = "prt1";
  EXPECT_EQ(rs.Fields(name).ToText(), "x");
  name[3] = '3';
  EXPECT_EQ(rs.Fields(name).ToText(), "z");
  name[3] = '9';
  EXPECT_EQ(ErrorNumberOf(rs, name), errors::kItemNotFound);
  name[3] = '2';
  EXPECT_EQ(rs.Fields(name).ToText(), "y");
}

TEST(RecordsetTest, ReopeningOnOtherColumnsFindsTheNewColumns) {
  FakeConnection db;
  db.Answer("one",
            Rows({"a", "b"}, {{Variant(int64_t{1}), Variant(int64_t{2})}}));
  db.Answer("two",
            Rows({"b", "a"}, {{Variant(int64_t{3}), Variant(int64_t{4})}}));
  Recordset rs(db, "one");
  EXPECT_EQ(rs.Fields("b").ToText(), "2");
  rs.Open(db, "two");
  EXPECT_EQ(rs.Fields("b").ToText(), "3");
  EXPECT_EQ(rs.Fields("a").ToText(), "4");
  rs.Close();
  EXPECT_EQ(ErrorNumberOf(rs, "a"), errors::kItemNotFound);
}

}  // namespace
}  // namespace mx::repository
