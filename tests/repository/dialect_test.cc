// Rewriting of the server's "+" concatenation for SQLite.
#include "repository/dialect.h"

#include <gtest/gtest.h>

namespace mx::repository {
namespace {

TEST(PlusToConcatTest, RewritesOnlyOutsideSingleQuotedLiterals) {
  struct Case {
    const char* sql;
    const char* expected;
  };
  const Case cases[] = {
      {"cpac + cmod+flno = 'abcde001'", "cpac || cmod||flno = 'abcde001'"},
      {"+x+", "||x||"},
      {"'a+b'", "'a+b'"},
      {"'+' + flna", "'+' || flna"},
      // A doubled quote is an escaped quote: the literal goes on after it.
      {"'it''s+x' + y", "'it''s+x' || y"},
      {"'' + x + ''", "'' || x || ''"},
      {"'a''' + 'b'", "'a''' || 'b'"},
      // An unterminated literal runs to the end of the text.
      {"x + 'abc+d", "x || 'abc+d"},
      // Double quotes do not delimit literals.
      {"\"a+b\"", "\"a||b\""},
      // Windows-1252 bytes pass through untouched.
      {"'\xE9+' + \xE9", "'\xE9+' || \xE9"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlusToConcat(c.sql), c.expected) << "for: " << c.sql;
  }
}

TEST(PlusToConcatTest, TakesTimeLinearInTheLength) {
  // Rewriting in place would move the tail at every "+": minutes here.
  std::string sql;
  for (int i = 0; i < 400000; ++i) sql += "a+'+'";
  EXPECT_EQ(PlusToConcat(sql).size(), sql.size() + 400000);
}

}  // namespace
}  // namespace mx::repository
