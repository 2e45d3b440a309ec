#include "split/split_condition.h"

#include <string_view>

#include "platform/vb_text.h"

namespace mx {

namespace {

constexpr std::string_view kWhere = " where ";
// The clauses that end a where-clause, in the order they are looked for: the
// first of them present wins, wherever the others stand.
constexpr std::string_view kClosingClauses[] = {" group ", " having ",
                                                " order "};

// 1-based position of the first closing clause at or after `start`; 0 when
// there is none.
size_t FindClosingClause(std::string_view query, size_t start) {
  for (std::string_view clause : kClosingClauses) {
    const size_t at = vb::InStrText(start, query, clause);
    if (at != 0) return at;
  }
  return 0;
}

// The text from 1-based position `start` to the end, one character short:
// the query's trailing blank goes. Empty when nothing is left before it.
std::string FromUpToLastButOne(std::string_view query, size_t start) {
  if (start >= query.size()) return std::string();
  return std::string(query.substr(start - 1, query.size() - start));
}

std::string NewWhereClause(const std::string& condition) {
  return std::string(vb::kCrLf) + "where " + condition;
}

}  // namespace

std::string InsertSplitCondition(const std::string& formatted_query,
                                 const std::string& condition) {
  const std::string& q = formatted_query;
  const size_t where = vb::InStrText(q, kWhere);
  // The blank that closes " where " may also open the clause after it.
  const size_t clause =
      FindClosingClause(q, where == 0 ? 1 : where + kWhere.size() - 1);

  if (where == 0) {
    if (clause == 0) return q + NewWhereClause(condition);
    return vb::Left(q, clause - 1) + NewWhereClause(condition) +
           FromUpToLastButOne(q, clause);
  }
  const size_t after_where = where + kWhere.size();
  const std::string head = vb::Left(q, after_where - 1);
  if (clause == 0) {
    return head + "(" + FromUpToLastButOne(q, after_where) + ") and " +
           condition;
  }
  const size_t between = clause > after_where ? clause - after_where : 0;
  return head + "(" + vb::Mid(q, after_where, between) + ") and " + condition +
         FromUpToLastButOne(q, clause);
}

}  // namespace mx
