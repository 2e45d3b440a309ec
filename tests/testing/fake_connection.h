// A repository connection for tests: answers each SQL text it knows with the
// rows it was given, records every text it was sent, and refuses the rest the
// way a database refuses a query.
#ifndef MX_TESTS_TESTING_FAKE_CONNECTION_H_
#define MX_TESTS_TESTING_FAKE_CONNECTION_H_

#include <map>
#include <string>
#include <vector>

#include "movx20xmlgen/error.h"
#include "repository/connection.h"

namespace mx::testing {

class FakeConnection : public repository::Connection {
 public:
  // Rows for an exact SQL text.
  void Answer(const std::string& sql, repository::ResultSet result) {
    answers_[sql] = std::move(result);
  }
  // An empty result with these columns.
  void AnswerEmpty(const std::string& sql, std::vector<std::string> columns) {
    repository::ResultSet r;
    r.columns = std::move(columns);
    answers_[sql] = std::move(r);
  }

  repository::ResultSet Execute(const std::string& sql) override {
    sent_.push_back(sql);
    if (!in_read_scope_) ++sent_outside_read_scope_;
    auto it = answers_.find(sql);
    if (it == answers_.end()) {
      for (const auto& [fragment, result] : partial_answers_) {
        if (sql.find(fragment) != std::string::npos) return result;
      }
      if (default_empty_) return repository::ResultSet();
      throw VbError(errors::kQueryRefused, "FakeConnection",
                    "unexpected query: " + sql);
    }
    return it->second;
  }

  // Rows for every text that contains `fragment` (after exact answers).
  void AnswerContaining(const std::string& fragment,
                        repository::ResultSet result) {
    partial_answers_.emplace_back(fragment, std::move(result));
  }

  // Unknown texts get an empty result instead of a refusal.
  void set_default_empty(bool on) { default_empty_ = on; }

  const std::vector<std::string>& sent() const { return sent_; }

  void BeginReadScope() override {
    in_read_scope_ = true;
    ++read_scopes_;
  }
  void EndReadScope() noexcept override { in_read_scope_ = false; }
  int read_scopes() const { return read_scopes_; }
  bool in_read_scope() const { return in_read_scope_; }
  int sent_outside_read_scope() const { return sent_outside_read_scope_; }

 private:
  std::map<std::string, repository::ResultSet> answers_;
  std::vector<std::pair<std::string, repository::ResultSet>> partial_answers_;
  std::vector<std::string> sent_;
  bool default_empty_ = false;
  bool in_read_scope_ = false;
  int read_scopes_ = 0;
  int sent_outside_read_scope_ = 0;
};

// A result set from column names and rows of values.
inline repository::ResultSet Rows(std::vector<std::string> columns,
                                  std::vector<std::vector<Variant>> rows) {
  repository::ResultSet r;
  r.columns = std::move(columns);
  r.rows = std::move(rows);
  return r;
}

}  // namespace mx::testing

#endif  // MX_TESTS_TESTING_FAKE_CONNECTION_H_
