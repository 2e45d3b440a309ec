// Adapts query text written for the original repository server to SQLite.
// The only difference the component's queries meet is text concatenation:
// the server joins texts with "+", SQLite with "||". Every "+" outside a
// single-quoted literal is replaced; everything else is copied byte for byte,
// in one pass over the text.
#include "repository/dialect.h"

namespace mx::repository {

std::string PlusToConcat(std::string_view sql) {
  std::string out;
  out.reserve(sql.size() + sql.size() / 8);
  // A doubled quote inside a literal ('it''s') closes and at once reopens
  // it, so toggling on every quote handles the escape without lookahead.
  bool in_literal = false;
  for (char c : sql) {
    if (c == '\'') {
      in_literal = !in_literal;
    } else if (c == '+' && !in_literal) {
      out += "||";
      continue;
    }
    out += c;
  }
  return out;
}

}  // namespace mx::repository
