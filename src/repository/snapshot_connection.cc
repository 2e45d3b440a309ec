#include "repository/snapshot_connection.h"

#include <algorithm>
#include <chrono>

#include "movx20xmlgen/error.h"

namespace mx::repository {

namespace {

// A reader that counts the queries it answers.
class CountedReader : public Connection {
 public:
  CountedReader(std::unique_ptr<Connection> reader,
                std::shared_ptr<std::atomic<uint64_t>> count)
      : reader_(std::move(reader)), count_(std::move(count)) {}
  ResultSet Execute(const std::string& sql) override {
    ResultSet result = reader_->Execute(sql);
    count_->fetch_add(1, std::memory_order_relaxed);
    return result;
  }
  std::shared_ptr<const ResultSet> ExecuteShared(
      const std::string& sql) override {
    std::shared_ptr<const ResultSet> result = reader_->ExecuteShared(sql);
    count_->fetch_add(1, std::memory_order_relaxed);
    return result;
  }
  void BeginReadScope() override { reader_->BeginReadScope(); }
  void EndReadScope() noexcept override { reader_->EndReadScope(); }

 private:
  std::unique_ptr<Connection> reader_;
  std::shared_ptr<std::atomic<uint64_t>> count_;
};

}  // namespace

Connection* SnapshotConnection::Copy() {
  if (copy_ != nullptr) return copy_.get();
  if (!asked_) {
    asked_ = true;
    try {
      due_after_ = repository_->QueriesBeforeSnapshot();
    } catch (const VbError&) {
      due_after_.reset();
    }
  }
  if (!due_after_ || std::max(queries_, expected_) < *due_after_) {
    return nullptr;
  }
  due_after_.reset();  // one attempt a scope
  const auto start = std::chrono::steady_clock::now();
  try {
    copy_ = repository_->TakeSnapshot();
  } catch (const VbError&) {
    copy_.reset();
  }
  stats_.taken = copy_ != nullptr;
  stats_.seconds_to_take =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
          .count();
  return copy_.get();
}

std::shared_ptr<const ResultSet> SnapshotConnection::ExecuteShared(
    const std::string& sql) {
  if (!in_scope_) return repository_->ExecuteShared(sql);
  if (Connection* copy = Copy()) {
    try {
      std::shared_ptr<const ResultSet> result = copy->ExecuteShared(sql);
      ++stats_.answered_by_copy;
      return result;
    } catch (const VbError&) {
      // The repository answers, or refuses in its own words.
    }
  }
  ++queries_;
  ++stats_.sent_to_repository;
  return repository_->ExecuteShared(sql);
}

ResultSet SnapshotConnection::Execute(const std::string& sql) {
  if (!in_scope_) return repository_->Execute(sql);
  return *ExecuteShared(sql);
}

void SnapshotConnection::BeginReadScope() {
  repository_->BeginReadScope();
  in_scope_ = true;
  asked_ = false;
  due_after_.reset();
  queries_ = 0;
  expected_ = 0;
  stats_ = Stats();
  *reader_queries_ = 0;
}

void SnapshotConnection::ExpectQueries(int64_t count) {
  expected_ = queries_ + count;
}

void SnapshotConnection::ForgoCopy() {
  if (copy_ != nullptr) return;
  asked_ = true;
  due_after_.reset();
}

std::unique_ptr<Connection> SnapshotConnection::OpenReader() {
  if (!in_scope_) return nullptr;
  std::unique_ptr<Connection> reader;
  if (Connection* copy = Copy()) {
    reader = copy->OpenReader();
  } else if (!due_after_) {
    reader = repository_->OpenReader();
  }  // else a copy may yet answer
  if (reader == nullptr) return nullptr;
  return std::make_unique<CountedReader>(std::move(reader), reader_queries_);
}

void SnapshotConnection::EndReadScope() noexcept {
  in_scope_ = false;
  copy_.reset();
  repository_->EndReadScope();
}

}  // namespace mx::repository
