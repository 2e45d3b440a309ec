#include "interface/generator_context.h"

#include "platform/vb_text.h"

namespace mx {

repository::Connection& ConnectionSource::Get(
    const std::string& connection_string) {
  if (connection_ == nullptr || opened_for_ != connection_string) {
    EndReadScope();
    connection_.reset();
    cache_ = nullptr;
    std::unique_ptr<repository::Connection> connection =
        factory_(connection_string);
    if (cache_enabled_) {
      auto cached = std::make_unique<repository::CachingConnection>(
          std::move(connection));
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

namespace {

// The end of the quoted literal that holds position `at`: its closing
// quote (a doubled quote is a quote inside it), or the end of the query.
size_t LiteralEnd(const std::string& sql, size_t at) {
  for (size_t i = at; i < sql.size(); ++i) {
    if (sql[i] != '\'') continue;
    if (i + 1 < sql.size() && sql[i + 1] == '\'') {
      ++i;
      continue;
    }
    return i;
  }
  return sql.size() - 1;
}

// The quoted literal around position `at` of a query, NUL shown as "\0".
std::string LiteralAround(const std::string& sql, size_t at) {
  const size_t open = sql.rfind('\'', at);
  const size_t first = open == std::string::npos ? at : open;
  const size_t last = LiteralEnd(sql, at);
  std::string literal;
  for (char c : sql.substr(first, last - first + 1)) {
    if (c == '\0') {
      literal += "\\0";
    } else {
      literal += c;
    }
  }
  return literal;
}

}  // namespace

// A query is text, and no database reads a NUL inside a text: the query
// would end there. A repository value that holds one fails the query with
// an error that shows the value, never a query cut short.
repository::Recordset GeneratorContext::Query(const std::string& sql) {
  const size_t nul = sql.find('\0');
  if (nul != std::string::npos) {
    throw VbError(errors::kQueryRefused, "XML Generation",
                  "A repository value holding a NUL character cannot be "
                  "placed in a query: " +
                      LiteralAround(sql, nul));
  }
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
