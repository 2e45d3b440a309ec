#include "context/reporter.h"

#include "platform/vb_text.h"

namespace mx {

void Reporter::LogLine(std::string_view line) {
  if (log_) log_->WriteLine(line);
}

void Reporter::LogText(std::string_view text) {
  if (log_) log_->Write(text);
}

void Reporter::LogBlankLine() {
  if (log_) log_->WriteBlankLines(1);
}

void Reporter::ReportError(const std::string& message) {
  reported_ = true;
  last_error_.reset();
  error_description_ = message;
  if (message.size() >= 2 &&
      message.compare(message.size() - 2, 2, "\r\n") == 0) {
    LogText(message);
  } else {
    LogLine(message);
  }
}

void Reporter::ReportError(const std::string& description,
                           std::string_view log_text) {
  reported_ = true;
  last_error_.reset();
  error_description_ = description;
  LogText(log_text);
}

void Reporter::ReportError(const VbError& cause, const std::string& message) {
  ReportError(message);
  last_error_ = ReportedError{cause.number(), cause.description()};
}

void Reporter::ReportError(const VbError& cause, const std::string& description,
                           std::string_view log_text) {
  ReportError(description, log_text);
  last_error_ = ReportedError{cause.number(), cause.description()};
}

void Reporter::ReportOperationError(int32_t number,
                                    const std::string& description) {
  const ReportedError cause{number, description};
  if (kind_ == GeneratorKind::kDataDictionary) {
    ReportError("\t\tERROR:" + vb::ErrNo(number) + ":" + description);
  } else {
    ReportError("\t\tERROR:- " + vb::ErrNo(number) + " - " + description +
                vb::kCrLf);
  }
  last_error_ = cause;
}

void Reporter::AdoptReportsOf(const Reporter& other) {
  if (!other.reported_) return;
  reported_ = true;
  error_description_ = other.error_description_;
  last_error_ = other.last_error_;
}

}  // namespace mx
