// What a generation run did: how it ended and, for each target table in run
// order, what became of it (written, skipped and why, failed with which
// error), the files it wrote and the time it took. The runs tell a
// RunRecorder as they go; the recorder only listens, so the log and the
// documents of a run are the same whether anyone reads its results or not.
#ifndef MX_CONTEXT_RUN_RESULTS_H_
#define MX_CONTEXT_RUN_RESULTS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "context/reporter.h"
#include "context/run_counts.h"
#include "platform/clock.h"

namespace mx {

enum class TableStatus {
  kWritten,        // its document (or M-script) was written
  kMScriptMember,  // written already as a member of an M-script
  kSkippedStatus,  // skipped for the status of its mapping
  kNoMapping,      // no mapping record found
  kError,          // its document failed, or its mapping cannot be used
};

// "written", "mscript_member", "skipped_status", "no_mapping", "error".
const char* TableStatusName(TableStatus status);

// A file as the component named it (its path a component text) and its
// size in bytes.
struct WrittenFile {
  std::string path;
  uint64_t bytes = 0;
};

struct TableResult {
  std::string code;
  TableStatus status = TableStatus::kNoMapping;
  // The mapping's status letter and the profile it was found in; empty and
  // none when no mapping was found.
  std::string status_letter;
  std::optional<int32_t> profile;
  // Why it failed or was skipped: the error's number and description for a
  // failure (the number is absent when the failure has none), the reason of
  // a status skip.
  std::optional<int32_t> error_number;
  std::string message;
  std::vector<WrittenFile> files;
  // What the table added to each summary count of the log.
  RunCounts counted;
  int64_t microseconds = 0;
};

struct RunResults {
  std::string started_at, ended_at;  // as the log writes times
  int64_t microseconds = 0;
  bool result = false;  // what GenerateXMLFile returned
  // The error that ended the run, when one did (a stop on request included).
  std::optional<ReportedError> run_error;
  bool interrupted = false;
  RunCounts counts;  // the summary counts
  std::vector<TableResult> tables;
  // Files written outside any target table: the side files of a legacy run.
  std::vector<WrittenFile> run_files;
};

// Told by a run as it goes. StartRun names the clock that times the run and
// the counts that the run keeps for its summary; both must outlive the run.
class RunRecorder {
 public:
  void StartRun(Clock& clock, const RunCounts& counts);
  void StartTable(std::string code);
  void MappingFound(const std::string& status_letter, int32_t profile);
  void Outcome(TableStatus status, std::string message = {},
               std::optional<int32_t> error_number = {});
  // The table failed as `reporter` reported it last.
  void Failed(const Reporter& reporter);
  void FileWritten(const std::string& path, uint64_t bytes);
  void EndTable();
  // An error ended the run; a table still in hand failed with it.
  void RunFailed(const VbError& error);
  void EndRun(bool result);

  const RunResults& results() const { return results_; }

 private:
  RunResults results_;
  Clock* clock_ = nullptr;
  const RunCounts* counts_ = nullptr;
  int64_t run_start_ = 0;
  int64_t table_start_ = 0;
  RunCounts counts_at_table_start_;
  bool in_table_ = false;
};

}  // namespace mx

#endif  // MX_CONTEXT_RUN_RESULTS_H_
