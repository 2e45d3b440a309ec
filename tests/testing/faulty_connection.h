// A repository connection that passes every query to another connection,
// counts them, and refuses the n-th the way a database refuses a query
// (error -2147217900, with a description that names the query's number, so
// that a test can find it in the log).
#ifndef MX_TESTS_TESTING_FAULTY_CONNECTION_H_
#define MX_TESTS_TESTING_FAULTY_CONNECTION_H_

#include <memory>
#include <string>
#include <utility>

#include "movx20xmlgen/error.h"
#include "repository/connection.h"

namespace mx::testing {

class FaultyConnection : public repository::Connection {
 public:
  FaultyConnection(std::unique_ptr<repository::Connection> target,
                   size_t fail_at)
      : target_(std::move(target)), fail_at_(fail_at) {}

  // The description of the refusal of query `n`.
  static std::string FaultText(size_t n) {
    return "injected refusal of query " + std::to_string(n);
  }

  size_t queries() const { return queries_; }

  repository::ResultSet Execute(const std::string& sql) override {
    Count();
    return target_->Execute(sql);
  }
  std::shared_ptr<const repository::ResultSet> ExecuteShared(
      const std::string& sql) override {
    Count();
    return target_->ExecuteShared(sql);
  }
  void BeginReadScope() override { target_->BeginReadScope(); }
  void EndReadScope() noexcept override { target_->EndReadScope(); }

 private:
  void Count() {
    if (++queries_ == fail_at_) {
      throw VbError(errors::kQueryRefused, "FaultyConnection",
                    FaultText(queries_));
    }
  }

  std::unique_ptr<repository::Connection> target_;
  size_t fail_at_;
  size_t queries_ = 0;
};

}  // namespace mx::testing

#endif  // MX_TESTS_TESTING_FAULTY_CONNECTION_H_
