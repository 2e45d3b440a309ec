// The query trace: every query text a run sends, one per line, in the order
// sent, written as the component built it (the original server's dialect, in
// Windows-1252). A line is the text with three escapes so that the texts'
// own line breaks cannot split it: "\" becomes "\\", CR becomes "\r" and LF
// becomes "\n"; every other byte stands as it is. Lines end in LF.
//
// TracingConnection records in front of whatever it wraps, so a trace taken
// with the run's read cache is the same as one taken without it.
#ifndef MX_REPOSITORY_QUERY_TRACE_H_
#define MX_REPOSITORY_QUERY_TRACE_H_

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "repository/connection.h"

namespace mx::repository {

// One query as a trace line, without the line end.
std::string EscapeTraceLine(std::string_view sql);
// The query of a trace line (without its line end); nullopt when a
// backslash is followed by anything but "\", "r" or "n".
std::optional<std::string> UnescapeTraceLine(std::string_view line);

// A trace file, written as the queries come (not kept in memory: a large run
// sends hundreds of thousands of queries).
class QueryTrace {
 public:
  // Creates or empties the file ("-" is standard output; a device or FIFO
  // is written in place); raises VbError 75 (76 when the folder is missing,
  // 70 when an existing file may not be replaced) naming the file when it
  // cannot be opened.
  explicit QueryTrace(const std::string& path_utf8);
  ~QueryTrace();
  QueryTrace(const QueryTrace&) = delete;
  QueryTrace& operator=(const QueryTrace&) = delete;

  void Record(std::string_view sql);
  // Flushes and closes; raises VbError 75 when a write failed on the way.
  void Close();

 private:
  std::string path_;
  std::FILE* file_;
  bool failed_ = false;
};

// Records every text in the trace, then sends it on.
class TracingConnection : public Connection {
 public:
  TracingConnection(std::unique_ptr<Connection> target,
                    std::shared_ptr<QueryTrace> trace)
      : target_(std::move(target)), trace_(std::move(trace)) {}

  ResultSet Execute(const std::string& sql) override;
  std::shared_ptr<const ResultSet> ExecuteShared(
      const std::string& sql) override;
  void BeginReadScope() override { target_->BeginReadScope(); }
  void EndReadScope() noexcept override { target_->EndReadScope(); }

 private:
  std::unique_ptr<Connection> target_;
  std::shared_ptr<QueryTrace> trace_;
};

}  // namespace mx::repository

#endif  // MX_REPOSITORY_QUERY_TRACE_H_
