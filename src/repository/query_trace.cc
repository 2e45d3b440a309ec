#include "repository/query_trace.h"

#include <cerrno>

#include "movx20xmlgen/error.h"

namespace mx::repository {

namespace {

constexpr char kErrorSource[] = "MOVX20XMLGenerator";

VbError CannotWrite(const std::string& path, int error_number) {
  const bool missing_folder = error_number == ENOENT || error_number == ENOTDIR;
  return VbError(missing_folder ? errors::kPathNotFound : errors::kFileAccess,
                 kErrorSource, "Cannot write the query trace " + path);
}

}  // namespace

std::string EscapeTraceLine(std::string_view sql) {
  std::string line;
  line.reserve(sql.size() + 8);
  for (char c : sql) {
    switch (c) {
      case '\\':
        line += "\\\\";
        break;
      case '\r':
        line += "\\r";
        break;
      case '\n':
        line += "\\n";
        break;
      default:
        line += c;
    }
  }
  return line;
}

std::optional<std::string> UnescapeTraceLine(std::string_view line) {
  std::string sql;
  sql.reserve(line.size());
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '\\') {
      sql += line[i];
      continue;
    }
    if (++i == line.size()) return std::nullopt;
    switch (line[i]) {
      case '\\':
        sql += '\\';
        break;
      case 'r':
        sql += '\r';
        break;
      case 'n':
        sql += '\n';
        break;
      default:
        return std::nullopt;
    }
  }
  return sql;
}

QueryTrace::QueryTrace(const std::string& path_utf8)
    : path_(path_utf8), file_(std::fopen(path_utf8.c_str(), "wb")) {
  if (file_ == nullptr) throw CannotWrite(path_, errno);
}

QueryTrace::~QueryTrace() {
  if (file_ != nullptr) std::fclose(file_);
}

void QueryTrace::Record(std::string_view sql) {
  if (file_ == nullptr) return;
  std::string line = EscapeTraceLine(sql);
  line += '\n';
  if (std::fwrite(line.data(), 1, line.size(), file_) != line.size()) {
    failed_ = true;
  }
}

void QueryTrace::Close() {
  if (file_ == nullptr) return;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (failed_ || !closed) throw CannotWrite(path_, 0);
}

ResultSet TracingConnection::Execute(const std::string& sql) {
  trace_->Record(sql);
  return target_->Execute(sql);
}

std::shared_ptr<const ResultSet> TracingConnection::ExecuteShared(
    const std::string& sql) {
  trace_->Record(sql);
  return target_->ExecuteShared(sql);
}

}  // namespace mx::repository
