// Test helper: what a query's form gives (query_forms.h) against what the
// query's own adaptation gives: the statement SQLite is first given for it,
// its parameterised text, its values, and the same for each scalar subquery.
#ifndef MX_TESTS_REPOSITORY_QUERY_FORM_CHECK_H_
#define MX_TESTS_REPOSITORY_QUERY_FORM_CHECK_H_

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "repository/query_forms.h"
#include "repository/row_order.h"
#include "repository/sql_parameters.h"
#include "repository/sqlite_connection.h"

namespace mx::repository::testing {

inline ::testing::AssertionResult SameStatement(
    const StatementForm& form, const QueryLiterals& literals,
    const std::string& sqlite_text) {
  const std::optional<ParameterisedSql> own = Parameterise(sqlite_text);
  if (!own) {
    return ::testing::AssertionFailure()
           << "not parameterised: " << sqlite_text;
  }
  const std::string text = form.Text(literals);
  if (text != own->text) {
    return ::testing::AssertionFailure()
           << "text\n  " << text << "\ninstead of\n  " << own->text;
  }
  if (form.values.size() != own->values.size()) {
    return ::testing::AssertionFailure() << "value count of " << own->text;
  }
  using Kind = StatementForm::Value::Kind;
  size_t subquery = 0;
  for (size_t i = 0; i < own->values.size(); ++i) {
    const StatementForm::Value& value = form.values[i];
    const auto& expected = own->values[i];
    bool same = false;
    if (const auto* t = std::get_if<std::string>(&expected)) {
      same = value.kind == Kind::kLiteral && literals.at(value.literal) == *t;
    } else if (const auto* n = std::get_if<int64_t>(&expected)) {
      same = value.kind == Kind::kNumber && value.number == *n;
    } else if (value.kind == Kind::kSubquery) {
      const auto& inner = std::get<ScalarSubquery>(expected);
      ::testing::AssertionResult result =
          SameStatement(form.subqueries.at(subquery++), literals,
                        KeepStorageOrder(inner.text));
      if (!result) return result;
      same = true;
    }
    if (!same) {
      return ::testing::AssertionFailure()
             << "value " << i << " of " << own->text;
    }
  }
  return ::testing::AssertionSuccess();
}

// Success also when the query has no form: it is then adapted as it stands.
// `has_form` tells which.
inline ::testing::AssertionResult FormGivesOwnAdaptation(
    QueryForms& forms, const std::string& component_sql,
    bool* has_form = nullptr) {
  QueryLiterals literals;
  const StatementForm* form = forms.Find(component_sql, &literals);
  if (has_form != nullptr) *has_form = form != nullptr;
  if (form == nullptr) return ::testing::AssertionSuccess();
  ::testing::AssertionResult result =
      SameStatement(*form, literals, SqliteQueryText(component_sql));
  if (!result) result << "\nfor the query\n  " << component_sql;
  return result;
}

}  // namespace mx::repository::testing

#endif  // MX_TESTS_REPOSITORY_QUERY_FORM_CHECK_H_
