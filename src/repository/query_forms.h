// What the SQLite backend makes of a query, remembered per form of query.
// Adapting a query (the dialect rewrite, UTF-8, the storage order, taking its
// values out as parameters) reads its whole text four times and costs over
// half as much as running it on a warm repository; yet a run sends a few
// dozen forms of query over and over, differing only in their literal values.
//
// The form of a query is its text with the content of every '...' literal
// left out. Every step of the adaptation takes such a literal as one token:
// it copies the content (converted byte by byte to UTF-8) or binds it, and
// decides nothing by it, provided it holds no quote and no NUL byte and the
// text around it holds no quoted name or comment (in which a quote would not
// start a literal). So the adaptation of one query of a form, made with
// stand-ins for its literals, is the adaptation of every query of the form:
// the stand-ins show where each literal's content goes. A query outside those
// bounds has no form here and is adapted as it stands.
#ifndef MX_REPOSITORY_QUERY_FORMS_H_
#define MX_REPOSITORY_QUERY_FORMS_H_

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mx::repository {

class RowMaps;

// The contents of a query's literals, in order, in UTF-8.
using QueryLiterals = std::vector<std::string>;

// One statement of a form: its parameterised text and what is bound to each
// parameter, as Parameterise (sql_parameters.h) gives them for the text with
// the storage order stated (row_order.h).
struct StatementForm {
  // The text is the pieces in order, each followed by the content of the
  // literal it names (a literal left in the text), if any.
  struct Piece {
    std::string text;
    std::optional<size_t> literal;
  };
  // What a parameter is bound to, in order: a literal's content, a whole
  // number of the text, or the value of the next scalar subquery.
  struct Value {
    enum class Kind { kLiteral, kNumber, kSubquery };
    Kind kind;
    size_t literal = 0;
    int64_t number = 0;
  };

  std::vector<Piece> pieces;
  std::vector<Value> values;
  // Each scalar subquery's own statement, run on its own first.
  std::vector<StatementForm> subqueries;

  // The parameterised text for these literals.
  std::string Text(const QueryLiterals& literals) const;
};

// A query split at its literals: its form and the literals' contents (still
// in Windows-1252). False when the query has no form (see above). `split` is
// overwritten (its buffers are reused).
struct SplitQuery {
  std::string form;
  std::vector<std::string_view> literals;  // into the query text
};
bool SplitAtLiterals(std::string_view component_sql, SplitQuery* split);

// The statement SQLite is first given for every query of the form: the
// component's text adapted (SqliteQueryText) and parameterised. nullopt when
// that statement, or one of its scalar subqueries, is not parameterised: such
// queries are adapted as they stand. With `maps`, the statements that a map
// of the run's copy serves read their rows through it (row_map_lookup.h).
std::optional<StatementForm> AnalyseForm(const SplitQuery& query,
                                         const RowMaps* maps = nullptr);

// The forms of the most recently sent queries, analysed once each.
class QueryForms {
 public:
  static constexpr size_t kCapacity = 256;

  // The statement form of the query, with its literals converted into
  // `literals`; nullptr when it is to be adapted as it stands.
  const StatementForm* Find(std::string_view component_sql,
                            QueryLiterals* literals);
  // The query's form took a turn that its own adaptation takes care of (a
  // view has no rowid to order by): from now on the queries of the form are
  // adapted as they stand.
  void Refuse(std::string_view component_sql);
  // The maps of the run's copy that the forms analysed from now on use.
  void UseRowMaps(const RowMaps* maps) { maps_ = maps; }

 private:
  struct Entry {
    std::string form;
    std::optional<StatementForm> statement;
  };
  using Entries = std::list<Entry>;

  Entries entries_;  // most recently used first
  std::unordered_map<std::string_view, Entries::iterator> by_form_;
  SplitQuery split_;  // of the query being looked up
  const RowMaps* maps_ = nullptr;
};

}  // namespace mx::repository

#endif  // MX_REPOSITORY_QUERY_FORMS_H_
