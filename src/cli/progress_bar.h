// A progress bar on a terminal: how many target tables of the run are done.
// Draws on standard error only when it is a terminal and nothing else writes
// there.
#ifndef MX_CLI_PROGRESS_BAR_H_
#define MX_CLI_PROGRESS_BAR_H_

#include <cstdint>
#include <cstdio>

namespace mx::cli {

class ProgressBar {
 public:
  explicit ProgressBar(std::FILE* out) : out_(out) {}
  ~ProgressBar() { Finish(); }

  void Update(int32_t done, int32_t total);
  void Finish();

 private:
  std::FILE* out_;
  bool drawn_ = false;
  int last_width_ = -1;
  int32_t last_done_ = -1;
};

}  // namespace mx::cli

#endif  // MX_CLI_PROGRESS_BAR_H_
