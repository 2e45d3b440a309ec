#include "context/run_results.h"

#include <utility>

#include "platform/vb_text.h"

namespace mx {

namespace {

RunCounts Difference(const RunCounts& after, const RunCounts& before) {
  return {after.total - before.total, after.success - before.success,
          after.mscript - before.mscript, after.no_mapping - before.no_mapping,
          after.errors - before.errors};
}

// A reported message as one line: the tabs that indent it in the log and
// the line breaks that end it are the log's, not the message's.
std::string OneLine(const std::string& message) {
  std::string line = vb::Replace(message, "\r\n", " ");
  size_t begin = line.find_first_not_of("\t ");
  size_t end = line.find_last_not_of("\t ");
  if (begin == std::string::npos) return std::string();
  return line.substr(begin, end - begin + 1);
}

}  // namespace

const char* TableStatusName(TableStatus status) {
  switch (status) {
    case TableStatus::kWritten:
      return "written";
    case TableStatus::kMScriptMember:
      return "mscript_member";
    case TableStatus::kSkippedStatus:
      return "skipped_status";
    case TableStatus::kNoMapping:
      return "no_mapping";
    case TableStatus::kError:
      return "error";
  }
  return "error";
}

void RunRecorder::StartRun(Clock& clock, const RunCounts& counts) {
  results_ = RunResults();
  clock_ = &clock;
  counts_ = &counts;
  results_.started_at = clock.Now();
  run_start_ = clock.SteadyMicroseconds();
  in_table_ = false;
}

void RunRecorder::StartTable(std::string code) {
  if (clock_ == nullptr) return;
  TableResult& table = results_.tables.emplace_back();
  table.code = std::move(code);
  table_start_ = clock_->SteadyMicroseconds();
  counts_at_table_start_ = *counts_;
  in_table_ = true;
}

void RunRecorder::MappingFound(const std::string& status_letter,
                               int32_t profile) {
  if (!in_table_) return;
  results_.tables.back().status_letter = status_letter;
  results_.tables.back().profile = profile;
}

void RunRecorder::Outcome(TableStatus status, std::string message,
                          std::optional<int32_t> error_number) {
  if (!in_table_) return;
  TableResult& table = results_.tables.back();
  table.status = status;
  table.message = std::move(message);
  table.error_number = error_number;
}

void RunRecorder::Failed(const Reporter& reporter) {
  if (const auto& error = reporter.last_error()) {
    Outcome(TableStatus::kError, error->description, error->number);
  } else {
    Outcome(TableStatus::kError, OneLine(reporter.error_description()));
  }
}

void RunRecorder::FileWritten(const std::string& path, uint64_t bytes) {
  if (clock_ == nullptr) return;
  std::vector<WrittenFile>& files =
      in_table_ ? results_.tables.back().files : results_.run_files;
  files.push_back({path, bytes});
}

void RunRecorder::EndTable() {
  if (!in_table_) return;
  TableResult& table = results_.tables.back();
  table.microseconds = clock_->SteadyMicroseconds() - table_start_;
  table.counted = Difference(*counts_, counts_at_table_start_);
  in_table_ = false;
}

void RunRecorder::RunFailed(const VbError& error) {
  if (clock_ == nullptr) return;
  results_.run_error = ReportedError{error.number(), error.description()};
  results_.interrupted = error.number() == errors::kUserInterrupt;
  if (in_table_) {
    Outcome(TableStatus::kError, error.description(), error.number());
    EndTable();
  }
}

void RunRecorder::EndRun(bool result) {
  if (clock_ == nullptr) return;
  EndTable();
  results_.ended_at = clock_->Now();
  results_.microseconds = clock_->SteadyMicroseconds() - run_start_;
  results_.result = result;
  results_.counts = *counts_;
  clock_ = nullptr;
  counts_ = nullptr;
}

}  // namespace mx
