// Literal values of a query turned into bound parameters, so that queries
// that differ only in their values share one prepared statement. Only values
// compared in the outermost WHERE clause (or in a subquery inside it) are
// taken: the right side of a comparison ("= 'x'", "<> 5"), both bounds of a
// BETWEEN and the members of an IN list. Literals anywhere else (the select
// list, whose texts name the result columns, and the expressions an
// expression index is matched against, such as cpac||'.'||fdnm) stay in the
// text, so that the statement means, names and plans exactly what the
// original text did. The input is SQLite text (after the dialect rewrite).
#ifndef MX_REPOSITORY_SQL_PARAMETERS_H_
#define MX_REPOSITORY_SQL_PARAMETERS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace mx::repository {

// The text of a scalar subquery, without its parentheses.
struct ScalarSubquery {
  std::string text;
};

struct ParameterisedSql {
  std::string text;  // each value taken out replaced by "?"
  // In order of appearance: a text (quotes removed, '' read as '), a whole
  // number written as digits, or a scalar subquery.
  std::vector<std::variant<std::string, int64_t, ScalarSubquery>> values;
};

// nullopt when the text is better prepared as it stands: it holds
// parameters of its own, an unterminated literal or bracket, a value with a
// NUL byte, or more values than one statement is worth keeping for.
std::optional<ParameterisedSql> Parameterise(std::string_view sql);

}  // namespace mx::repository

#endif  // MX_REPOSITORY_SQL_PARAMETERS_H_
