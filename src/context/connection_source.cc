#include "context/connection_source.h"

namespace mx {

repository::Connection& ConnectionSource::Get(
    const std::string& connection_string) {
  if (connection_ == nullptr || opened_for_ != connection_string) {
    EndReadScope();
    connection_.reset();
    cache_ = nullptr;
    snapshot_ = nullptr;
    std::unique_ptr<repository::Connection> connection =
        factory_(connection_string);
    if (cache_enabled_) {
      auto copied = std::make_unique<repository::SnapshotConnection>(
          std::move(connection));
      snapshot_ = copied.get();
      connection = std::move(copied);
      if (reuse_results_) {
        auto cached = std::make_unique<repository::CachingConnection>(
            std::move(connection));
        cache_ = cached.get();
        connection = std::move(cached);
      }
    }
    if (trace_) {
      connection = std::make_unique<repository::TracingConnection>(
          std::move(connection), trace_);
    }
    connection_ = std::move(connection);
    opened_for_ = connection_string;
  }
  if (in_run_ && !reading_) {
    connection_->BeginReadScope();
    reading_ = true;
  }
  return *connection_;
}

std::unique_ptr<repository::Connection> ConnectionSource::OpenReader() {
  if (!reading_ || snapshot_ == nullptr || trace_) return nullptr;
  std::unique_ptr<repository::Connection> reader = snapshot_->OpenReader();
  if (reader == nullptr) return nullptr;
  if (cache_ != nullptr) {
    reader = std::make_unique<repository::CachingConnection>(std::move(reader),
                                                             *cache_);
  }
  reader->BeginReadScope();
  return reader;
}

void ConnectionSource::Adopt(
    const std::string& connection_string,
    std::unique_ptr<repository::Connection> connection) {
  EndReadScope();
  opened_for_ = connection_string;
  connection_ = std::move(connection);
  cache_ = nullptr;
  snapshot_ = nullptr;
}

void ConnectionSource::EndReadScope() noexcept {
  if (reading_) connection_->EndReadScope();
  reading_ = false;
}

ConnectionSource::RunScope::RunScope(ConnectionSource& source)
    : source_(source) {
  source_.in_run_ = true;
}

ConnectionSource::RunScope::~RunScope() {
  source_.EndReadScope();
  source_.in_run_ = false;
}

}  // namespace mx
