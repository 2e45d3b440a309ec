#include "cli/progress_bar.h"

#include <string>

namespace mx::cli {

namespace {
constexpr int kBarWidth = 40;
}  // namespace

void ProgressBar::Update(int32_t done, int32_t total) {
  if (total <= 0) return;
  const int width = static_cast<int>(int64_t{done} * kBarWidth / total);
  // Redraw only when something visible changed: a run of thousands of tables
  // must not spend its time on the terminal.
  if (width == last_width_ && done != total && done - last_done_ < 50) return;
  last_width_ = width;
  last_done_ = done;
  std::string bar(static_cast<size_t>(width), '#');
  bar.resize(kBarWidth, ' ');
  std::fprintf(out_, "\r[%s] %d/%d target tables", bar.c_str(), done, total);
  std::fflush(out_);
  drawn_ = true;
}

void ProgressBar::Finish() {
  if (!drawn_) return;
  std::fputc('\n', out_);
  std::fflush(out_);
  drawn_ = false;
}

}  // namespace mx::cli
