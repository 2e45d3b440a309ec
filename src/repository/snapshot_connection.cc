#include "repository/snapshot_connection.h"

#include <chrono>

#include "movx20xmlgen/error.h"

namespace mx::repository {

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
  if (!due_after_ || queries_ < *due_after_) return nullptr;
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
  stats_ = Stats();
}

void SnapshotConnection::ForgoCopy() {
  if (copy_ != nullptr) return;
  asked_ = true;
  due_after_.reset();
}

std::unique_ptr<Connection> SnapshotConnection::OpenReader() {
  if (!in_scope_) return nullptr;
  if (Connection* copy = Copy()) return copy->OpenReader();
  if (due_after_) return nullptr;  // a copy may yet answer
  return repository_->OpenReader();
}

void SnapshotConnection::EndReadScope() noexcept {
  in_scope_ = false;
  copy_.reset();
  repository_->EndReadScope();
}

}  // namespace mx::repository
