// A word-level scan of the outermost statement: literals, quoted names and
// parenthesised parts are stepped over, so that only the top level decides.
#include "repository/row_order.h"

#include <initializer_list>

#include "repository/sql_words.h"

namespace mx::repository {

namespace {

using sql::IsKeyword;
using sql::IsSpace;
using sql::IsWordByte;

// Words that take a statement out of the simple shape, by length (this runs
// for every word of every query).
bool RefusesOrder(std::string_view word) {
  auto any = [&](std::initializer_list<std::string_view> words) {
    for (std::string_view refused : words) {
      if (IsKeyword(word, refused)) return true;
    }
    return false;
  };
  switch (word.size()) {
    case 3:
      return any({"sum", "min", "max", "avg"});
    case 4:
      return any({"join", "with"});
    case 5:
      return any({"group", "limit", "union", "count", "total"});
    case 6:
      return any({"having", "offset", "except", "window", "values"});
    case 8:
      return any({"distinct"});
    case 9:
      return any({"intersect"});
    case 12:
      return any({"group_concat"});
    default:
      return false;
  }
}

enum class Clause { kStart, kSelectList, kFrom, kWhere, kOrderBy };

}  // namespace

std::string KeepStorageOrder(std::string_view sql) {
  const auto unchanged = [&] { return std::string(sql); };
  Clause clause = Clause::kStart;
  int depth = 0;
  int from_words = 0;  // table name and alias
  size_t end = sql.size();
  while (end > 0 && IsSpace(sql[end - 1])) {
    --end;
  }
  for (size_t i = 0; i < end;) {
    const char c = sql[i];
    if (IsSpace(c)) {
      ++i;
    } else if (c == '\'' || c == '"' || c == '`' || c == '[') {
      const char close = c == '[' ? ']' : c;
      // A doubled quote reads as a closing and an opening one: the scan
      // simply goes on with the next literal.
      const size_t stop = sql.find(close, i + 1);
      if (stop == std::string_view::npos) return unchanged();
      if (depth == 0 && clause == Clause::kFrom) ++from_words;
      i = stop + 1;
    } else if (c == '(') {
      if (depth == 0 && clause == Clause::kFrom) return unchanged();
      ++depth;
      ++i;
    } else if (c == ')') {
      if (--depth < 0) return unchanged();
      ++i;
    } else if (c == ';' || (c == '-' && i + 1 < end && sql[i + 1] == '-') ||
               (c == '/' && i + 1 < end && sql[i + 1] == '*')) {
      return unchanged();  // several statements or a comment
    } else if (IsWordByte(c)) {
      size_t stop = i;
      while (stop < end && IsWordByte(sql[stop])) ++stop;
      const std::string_view word = sql.substr(i, stop - i);
      i = stop;
      if (RefusesOrder(word)) return unchanged();
      if (depth > 0) continue;
      if (clause == Clause::kStart) {
        if (!IsKeyword(word, "select")) return unchanged();
        clause = Clause::kSelectList;
      } else if (clause == Clause::kSelectList && IsKeyword(word, "from")) {
        clause = Clause::kFrom;
      } else if (clause == Clause::kFrom && IsKeyword(word, "where")) {
        clause = Clause::kWhere;
      } else if ((clause == Clause::kFrom || clause == Clause::kWhere) &&
                 IsKeyword(word, "order")) {
        clause = Clause::kOrderBy;
      } else if (clause == Clause::kFrom) {
        if (!IsKeyword(word, "as")) ++from_words;
      }
    } else {
      if (depth == 0 && clause == Clause::kFrom && c != '.') {
        return unchanged();  // a comma join or anything else
      }
      ++i;
    }
  }
  if (depth != 0 || from_words < 1 || from_words > 2) return unchanged();
  std::string out(sql.substr(0, end));
  switch (clause) {
    case Clause::kFrom:
    case Clause::kWhere:
      return out + " ORDER BY rowid" + std::string(sql.substr(end));
    case Clause::kOrderBy:
      return out + ", rowid" + std::string(sql.substr(end));
    default:
      return unchanged();
  }
}

}  // namespace mx::repository
