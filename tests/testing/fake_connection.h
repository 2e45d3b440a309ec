// A repository connection for tests: answers each SQL text it knows with the
// rows it was given, records every text it was sent, and refuses the rest the
// way a database refuses a query.
#ifndef MX_TESTS_TESTING_FAKE_CONNECTION_H_
#define MX_TESTS_TESTING_FAKE_CONNECTION_H_

#include <map>
#include <string>
#include <vector>

#include "platform/error.h"
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
    auto it = answers_.find(sql);
    if (it == answers_.end()) {
      throw VbError(errors::kQueryRefused, "FakeConnection",
                    "unexpected query: " + sql);
    }
    return it->second;
  }

  const std::vector<std::string>& sent() const { return sent_; }

 private:
  std::map<std::string, repository::ResultSet> answers_;
  std::vector<std::string> sent_;
};

}  // namespace mx::testing

#endif  // MX_TESTS_TESTING_FAKE_CONNECTION_H_
