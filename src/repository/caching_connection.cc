#include "repository/caching_connection.h"

namespace mx::repository {

namespace {

// What a kept entry costs beyond its texts: the list node, the index slot,
// the containers' own members and the allocator's bookkeeping.
constexpr size_t kEntryOverhead = 160;

size_t TextBytes(const std::string& text) {
  // Short texts live inside the string object itself.
  return text.capacity() > 15 ? text.capacity() + 1 : 0;
}

}  // namespace

size_t EstimatedBytes(const ResultSet& result) {
  size_t bytes = sizeof(ResultSet);
  bytes += result.columns.capacity() * sizeof(std::string);
  for (const std::string& column : result.columns) bytes += TextBytes(column);
  bytes += result.rows.capacity() * sizeof(std::vector<Variant>);
  for (const std::vector<Variant>& row : result.rows) {
    bytes += row.capacity() * sizeof(Variant);
    for (const Variant& value : row) {
      if (const std::string* text = value.text()) bytes += TextBytes(*text);
    }
  }
  return bytes;
}

ResultSet CachingConnection::Execute(const std::string& sql) {
  if (!in_scope_) return target_->Execute(sql);
  return *ExecuteShared(sql);
}

std::shared_ptr<const ResultSet> CachingConnection::ExecuteShared(
    const std::string& sql) {
  if (!in_scope_) return target_->ExecuteShared(sql);
  const auto found = index_.find(sql);
  if (found != index_.end()) {
    ++stats_.hits;
    entries_.splice(entries_.begin(), entries_, found->second);
    return found->second->result;
  }
  ++stats_.misses;
  std::shared_ptr<const ResultSet> result = target_->ExecuteShared(sql);
  Keep(sql, result);
  return result;
}

void CachingConnection::Keep(const std::string& sql,
                             std::shared_ptr<const ResultSet> result) {
  const size_t bytes = kEntryOverhead + sql.size() + EstimatedBytes(*result);
  if (bytes > capacity_bytes_) return;
  while (!entries_.empty() && stats_.bytes + bytes > capacity_bytes_) {
    DropLeastRecentlyUsed();
  }
  entries_.push_front(Entry{sql, std::move(result), bytes});
  index_.emplace(entries_.front().sql, entries_.begin());
  stats_.bytes += bytes;
  if (stats_.bytes > stats_.peak_bytes) stats_.peak_bytes = stats_.bytes;
}

void CachingConnection::DropLeastRecentlyUsed() {
  const Entry& last = entries_.back();
  index_.erase(last.sql);
  stats_.bytes -= last.bytes;
  entries_.pop_back();
}

void CachingConnection::Clear() {
  index_.clear();
  entries_.clear();
  stats_.bytes = 0;
}

CachingConnection::~CachingConnection() {
  if (counts_into_ == nullptr) return;
  counts_into_->stats_.hits += stats_.hits;
  counts_into_->stats_.misses += stats_.misses;
}

void CachingConnection::BeginReadScope() {
  Clear();
  target_->BeginReadScope();
  in_scope_ = true;
}

void CachingConnection::EndReadScope() noexcept {
  in_scope_ = false;
  Clear();
  target_->EndReadScope();
}

}  // namespace mx::repository
