#include "interface/generator_context.h"

#include "platform/vb_text.h"

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
      auto cached =
          std::make_unique<repository::CachingConnection>(std::move(copied));
      cache_ = cached.get();
      connection = std::move(cached);
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

GeneratorContext::GeneratorContext(GeneratorKind k)
    : kind(k), env(Env::Default()), clock(nullptr) {
  static SystemClock system_clock;
  clock = &system_clock;
}

repository::Recordset GeneratorContext::Query(const std::string& sql) {
  return repository::Recordset(connections.Get(settings.connection_string),
                               sql);
}

void GeneratorContext::LogLine(std::string_view line) {
  if (log) log->WriteLine(line);
}

void GeneratorContext::LogText(std::string_view text) {
  if (log) log->Write(text);
}

void GeneratorContext::LogBlankLine() {
  if (log) log->WriteBlankLines(1);
}

void GeneratorContext::ReportError(const std::string& message) {
  error_description = message;
  if (message.size() >= 2 &&
      message.compare(message.size() - 2, 2, "\r\n") == 0) {
    LogText(message);
  } else {
    LogLine(message);
  }
}

void GeneratorContext::ReportOperationError(int32_t number,
                                            const std::string& description) {
  if (kind == GeneratorKind::kDataDictionary) {
    ReportError("\t\tERROR:" + vb::ErrNo(number) + ":" + description);
  } else {
    ReportError("\t\tERROR:- " + vb::ErrNo(number) + " - " + description +
                vb::kCrLf);
  }
}

}  // namespace mx
