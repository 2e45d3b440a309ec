#include "repository/query_trace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "movx20xmlgen/error.h"
#include "platform/env.h"

namespace mx::repository {

namespace {

constexpr char kErrorSource[] = "MOVX20XMLGenerator";

VbError CannotWrite(const std::string& path, int error_number) {
  int32_t number = errors::kFileAccess;
  if (error_number == ENOENT || error_number == ENOTDIR) {
    number = errors::kPathNotFound;
  } else if (error_number == EACCES || error_number == EPERM ||
             error_number == EROFS) {
    number = errors::kPermissionDenied;
  }
  return VbError(number, kErrorSource, "Cannot write the query trace " + path);
}

// Opened in place and emptied only once it is known to be writable: a device
// or FIFO is written as it stands, "-" is standard output, and a file that
// may not be replaced is left as it was.
std::FILE* OpenTrace(const std::string& path) {
  int fd = -1;
  if (path == "-") {
    fd = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
  } else {
    fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOCTTY | O_CLOEXEC, 0666);
  }
  if (fd < 0) throw CannotWrite(path, errno);
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && path != "-") {
    if (!MayReplaceFile(path, st)) {
      close(fd);
      throw CannotWrite(path, EACCES);
    }
    if (ftruncate(fd, 0) != 0) {
      const int error_number = errno;
      close(fd);
      throw CannotWrite(path, error_number);
    }
  }
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) {
    close(fd);
    throw CannotWrite(path, 0);
  }
  return file;
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
    : path_(path_utf8), file_(OpenTrace(path_utf8)) {}

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
