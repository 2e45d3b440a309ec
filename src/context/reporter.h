// How an operation reports a failure: ErrorDescription takes the message and
// the log stream gets the same text, worded the way the generator class
// words its errors. Reporting is the only way builders write to the log.
#ifndef MX_CONTEXT_REPORTER_H_
#define MX_CONTEXT_REPORTER_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "movx20xmlgen/error.h"
#include "movx20xmlgen/text_stream.h"

namespace mx {

// Which generator class an object is: the operations that the two classes
// share word for word differ only in how they word their errors.
enum class GeneratorKind { kDataDictionary, kLegacy };

// The numbered error behind a report, for those who read a run's results.
struct ReportedError {
  int32_t number = 0;
  std::string description;
};

class Reporter {
 public:
  explicit Reporter(GeneratorKind kind) : kind_(kind) {}

  GeneratorKind kind() const { return kind_; }

  // The caller's log stream; may be empty, lines then go nowhere.
  void set_log(std::shared_ptr<TextStream> log) { log_ = std::move(log); }
  const std::shared_ptr<TextStream>& log() const { return log_; }

  // A log line (CR LF added), plain log text (written as it stands) and an
  // empty line.
  void LogLine(std::string_view line);
  void LogText(std::string_view text);
  void LogBlankLine();

  // ErrorDescription := message, and the same message to the log: as it
  // stands when it already ends in CR LF, else as one line.
  void ReportError(const std::string& message);
  // For operations whose ErrorDescription and log text differ: the log gets
  // `log_text` as it stands.
  void ReportError(const std::string& description, std::string_view log_text);
  // The same reports for a message made from a numbered error: `cause` is
  // kept as last_error(); the log and ErrorDescription read as above.
  void ReportError(const VbError& cause, const std::string& message);
  void ReportError(const VbError& cause, const std::string& description,
                   std::string_view log_text);

  // The common error report of an operation: data-dictionary class
  // TAB TAB "ERROR:" N ":" description (one line); legacy class
  // TAB TAB "ERROR:- " N " - " description CR LF. N has a sign position.
  void ReportOperationError(int32_t number, const std::string& description);
  void ReportOperationError(const VbError& error) {
    ReportOperationError(error.number(), error.description());
  }

  const std::string& error_description() const { return error_description_; }
  // The numbered error of the last report; none when that report named no
  // number, or when nothing was reported since ForgetLastError().
  const std::optional<ReportedError>& last_error() const { return last_error_; }
  void ForgetLastError() { last_error_.reset(); }
  // Whether anything was reported to this reporter since it was made.
  bool reported() const { return reported_; }
  // Takes over what `other` reported, when it reported anything: its
  // ErrorDescription and last error, as if the reports had come here (its
  // log text is the caller's to pass on). For a document built ahead with a
  // reporter of its own.
  void AdoptReportsOf(const Reporter& other);
  void set_error_description(std::string text) {
    error_description_ = std::move(text);
  }

 private:
  const GeneratorKind kind_;
  std::shared_ptr<TextStream> log_;
  std::string error_description_;
  std::optional<ReportedError> last_error_;
  bool reported_ = false;
};

// The boundary of an operation that reports its own failures: runs `body`,
// which returns the operation's flag; a numbered error escaping it is
// reported in the class's words and gives false.
template <typename Body>
[[nodiscard]] bool ReportingFailures(Reporter& reporter, Body&& body) {
  try {
    return body();
  } catch (const VbError& e) {
    reporter.ReportOperationError(e);
    return false;
  }
}

}  // namespace mx

#endif  // MX_CONTEXT_REPORTER_H_
