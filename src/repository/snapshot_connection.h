// A run reads one state of the repository; this decorator answers the run's
// queries from a copy of that state with the lookup indexes, when the
// repository offers one (Connection::QueriesBeforeSnapshot), so that a run is
// fast whatever indexes the repository carries and sends a server a number of
// statements that does not grow with the objects it reads.
//
// Inside a read scope, queries go to the repository until it says the copy
// pays; then the copy is taken (in the same read scope, so it holds the state
// the earlier queries read) and answers from there on. A query the copy
// refuses (a table it does not hold, a text it cannot read) goes to the
// repository, which answers or refuses it in its own words. A copy that
// cannot be taken leaves the scope with the repository. Outside a scope, and
// after it, every query goes to the repository; ending the scope drops the
// copy.
#ifndef MX_REPOSITORY_SNAPSHOT_CONNECTION_H_
#define MX_REPOSITORY_SNAPSHOT_CONNECTION_H_

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "repository/connection.h"

namespace mx::repository {

class SnapshotConnection : public Connection {
 public:
  explicit SnapshotConnection(std::unique_ptr<Connection> repository)
      : repository_(std::move(repository)) {}

  ResultSet Execute(const std::string& sql) override;
  std::shared_ptr<const ResultSet> ExecuteShared(
      const std::string& sql) override;
  void BeginReadScope() override;
  void EndReadScope() noexcept override;

  // The rest of the scope sends too few queries for a copy to pay: a copy
  // not yet taken is not taken in this scope (one already taken stays).
  void ForgoCopy();
  // The rest of the scope is to send at least `count` queries: a copy that
  // pays over that many is taken at the next query rather than after the
  // queries the repository asked for (a long run reads each table once from
  // the start instead of sending its first objects' queries as they come).
  void ExpectQueries(int64_t count);
  // A reader of the copy once it answers, or of the repository itself once
  // the scope has settled on the repository; nullptr while a copy may yet
  // be taken. A reader of the copy does not turn to the repository for a
  // query the copy refuses: it raises the copy's error.
  std::unique_ptr<Connection> OpenReader() override;

  // For the benchmark and tests; counts of the last scope.
  struct Stats {
    bool taken = false;
    double seconds_to_take = 0;
    uint64_t answered_by_copy = 0;
    uint64_t sent_to_repository = 0;
    uint64_t answered_by_readers = 0;  // on the readers' threads
  };
  Stats stats() const {
    Stats stats = stats_;
    stats.answered_by_readers = *reader_queries_;
    return stats;
  }

 private:
  // The copy, taken when it is due; nullptr while queries go on to the
  // repository.
  Connection* Copy();

  std::unique_ptr<Connection> repository_;
  std::unique_ptr<Connection> copy_;
  bool in_scope_ = false;
  bool asked_ = false;                // QueriesBeforeSnapshot, once a scope
  std::optional<int64_t> due_after_;  // nullopt: no copy in this scope
  int64_t queries_ = 0;
  int64_t expected_ = 0;  // queries the rest of the scope is to send
  Stats stats_;
  // Counted by the readers, which may outlive this object.
  std::shared_ptr<std::atomic<uint64_t>> reader_queries_ =
      std::make_shared<std::atomic<uint64_t>>(0);
};

}  // namespace mx::repository

#endif  // MX_REPOSITORY_SNAPSHOT_CONNECTION_H_
