// The run's read cache: inside a read scope (one GenerateXMLFile run, read as
// one snapshot of the repository), a query text that has been answered
// before is answered again from memory, with the same columns and rows
// (ExecuteShared hands out the kept result itself; Execute, a copy).
// Outside a scope every text goes to the repository. Texts are compared
// byte for byte, exactly as the component built them. A query that fails is
// not kept, so it fails again the same way.
//
// Memory stays bounded: the cache holds at most `capacity_bytes` (an
// estimate of the memory the kept results take, keys included) and drops the
// least recently used results first; a result larger than the whole bound is
// never kept. Ending the scope drops everything.
#ifndef MX_REPOSITORY_CACHING_CONNECTION_H_
#define MX_REPOSITORY_CACHING_CONNECTION_H_

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "repository/connection.h"

namespace mx::repository {

class CachingConnection : public Connection {
 public:
  static constexpr size_t kDefaultCapacityBytes = size_t{16} << 20;

  explicit CachingConnection(std::unique_ptr<Connection> target,
                             size_t capacity_bytes = kDefaultCapacityBytes)
      : target_(std::move(target)), capacity_bytes_(capacity_bytes) {}
  // A cache of a reader of the same run (Connection::OpenReader), holding a
  // quarter of what `main` may hold, so that the run's memory stays bounded
  // with several readers: its hits and misses join those of `main` when it
  // is destroyed, on main's thread.
  CachingConnection(std::unique_ptr<Connection> target, CachingConnection& main)
      : target_(std::move(target)),
        capacity_bytes_(main.capacity_bytes_ / 4),
        counts_into_(&main) {}
  ~CachingConnection() override;

  ResultSet Execute(const std::string& sql) override;
  std::shared_ptr<const ResultSet> ExecuteShared(
      const std::string& sql) override;
  void BeginReadScope() override;
  void EndReadScope() noexcept override;

  // For the benchmark and tests.
  struct Stats {
    uint64_t hits = 0;
    uint64_t misses = 0;
    size_t bytes = 0;  // held now
    size_t peak_bytes = 0;
  };
  const Stats& stats() const { return stats_; }

 private:
  struct Entry {
    std::string sql;
    std::shared_ptr<const ResultSet> result;  // handed out, never changed
    size_t bytes;
  };
  using Entries = std::list<Entry>;

  void Keep(const std::string& sql, std::shared_ptr<const ResultSet> result);
  void DropLeastRecentlyUsed();
  void Clear();

  std::unique_ptr<Connection> target_;
  const size_t capacity_bytes_;
  bool in_scope_ = false;
  Entries entries_;  // most recently used first
  std::unordered_map<std::string_view, Entries::iterator> index_;  // by sql
  Stats stats_;
  CachingConnection* counts_into_ = nullptr;
};

// The memory a result takes, estimated from its texts and containers.
size_t EstimatedBytes(const ResultSet& result);

}  // namespace mx::repository

#endif  // MX_REPOSITORY_CACHING_CONNECTION_H_
