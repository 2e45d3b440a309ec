// The repository connection of a generator object: opened on first use and
// kept, one per connection string, wrapped in the run's read cache and the
// query trace, and read inside one read scope per run.
#ifndef MX_CONTEXT_CONNECTION_SOURCE_H_
#define MX_CONTEXT_CONNECTION_SOURCE_H_

#include <memory>
#include <string>

#include "repository/caching_connection.h"
#include "repository/connection.h"
#include "repository/query_trace.h"
#include "repository/snapshot_connection.h"

namespace mx {

// Opens the connection on first use and keeps it for the object's lifetime,
// one per connection string. A connection it opens is wrapped, from the
// inside out, in the run's copy of the repository and the run's read cache
// (both unless the cache is turned off: every query is then answered by the
// repository itself; the read cache only where results are to be reused) and
// the query trace (when one is set); a connection handed in with Adopt is
// used as it is.
//
// A run reads inside a run scope (RunScope below): the connection in use
// during the scope gets one read scope (see repository::Connection), begun
// when the run first asks for it and ended with the run, on every path.
class ConnectionSource {
 public:
  using Factory =
      std::unique_ptr<repository::Connection> (*)(const std::string&);

  repository::Connection& Get(const std::string& connection_string);
  void set_factory(Factory factory) { factory_ = factory; }
  // Hands in a ready connection for the given string (tests, benchmarks).
  void Adopt(const std::string& connection_string,
             std::unique_ptr<repository::Connection> connection);

  // All three apply to connections opened from here on.
  void set_cache_enabled(bool on) { cache_enabled_ = on; }
  // Whether a run keeps its answers to answer a repeated query from memory
  // (the read cache; it needs the cache enabled). A class whose objects each
  // read rows of their own turns it off: the cache would find nothing to
  // reuse and cost its upkeep on every query. The run's copy of a
  // repository without our indexes stays either way.
  void set_reuse_results(bool on) { reuse_results_ = on; }
  void set_trace(std::shared_ptr<repository::QueryTrace> trace) {
    trace_ = std::move(trace);
  }
  // The read cache of the open connection; nullptr when it has none.
  const repository::CachingConnection* cache() const { return cache_; }
  // The run's copy of the open connection; nullptr when it has none.
  const repository::SnapshotConnection* snapshot() const { return snapshot_; }

  // Tells the open connection's copy, if any, that the run's remaining
  // queries are too few for a copy to pay: it is not taken in this run
  // scope unless it already has been.
  void ForgoCopy() {
    if (snapshot_ != nullptr) snapshot_->ForgoCopy();
  }
  // Tells the open connection's copy, if any, that the run is to send at
  // least `count` more queries (SnapshotConnection::ExpectQueries).
  void ExpectQueries(int64_t count) {
    if (snapshot_ != nullptr) snapshot_->ExpectQueries(count);
  }

  // Inside a run scope: another connection that reads the state the run
  // reads, for a document builder on another thread, with a read cache of
  // its own where the run keeps one, and its read scope begun; the owner
  // destroys it on this thread before the run scope ends. nullptr when
  // there is none to give: the cache turned off (every query is to reach
  // the repository as the run sends it), a trace (it follows one stream of
  // queries), a run whose copy of the repository is still to be taken, or
  // a backend that cannot promise the same state.
  std::unique_ptr<repository::Connection> OpenReader();
  // The scope of one run; scopes do not nest.
  class RunScope {
   public:
    explicit RunScope(ConnectionSource& source);
    ~RunScope();
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

   private:
    ConnectionSource& source_;
  };

 private:
  void EndReadScope() noexcept;

  Factory factory_ = &repository::OpenConnection;
  bool cache_enabled_ = true;
  bool reuse_results_ = true;
  std::shared_ptr<repository::QueryTrace> trace_;
  std::string opened_for_;
  std::unique_ptr<repository::Connection> connection_;
  repository::CachingConnection* cache_ = nullptr;      // inside connection_
  repository::SnapshotConnection* snapshot_ = nullptr;  // inside cache_, if any
  bool in_run_ = false;
  bool reading_ = false;  // connection_ is inside its read scope
};

}  // namespace mx

#endif  // MX_CONTEXT_CONNECTION_SOURCE_H_
