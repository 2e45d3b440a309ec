// What every fuzz target shares: a check that stops the process with a
// message when a property does not hold (so that libFuzzer and the replay
// driver both keep the input that broke it), a budget of processor time that
// grows linearly with the input, and a reader that cuts one input into the
// several texts an operation takes.
#ifndef MX_TESTS_FUZZ_FUZZ_SUPPORT_H_
#define MX_TESTS_FUZZ_FUZZ_SUPPORT_H_

#include <time.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace mx::fuzz {

// Stops the process when `holds` is false; the driver in charge keeps the
// input.
inline void Check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property does not hold: %s\n", property);
  std::fflush(stderr);
  std::abort();
}

// The processor time of the calling thread, in nanoseconds: unlike the wall
// clock it does not grow when the machine is busy with other work.
inline int64_t ThreadCpuNanos() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Stops the process when the work between construction and Finish took
// more processor time than `fixed_us` plus `per_byte_us` for every input
// byte: a rewrite that does not end, or whose time grows faster than its
// input, fails on the inputs that show it. The budgets of the targets are
// about fifty times what they were measured to need in an unoptimised build
// under the sanitizers. With MX_FUZZ_TIMES set in the environment every
// input's size and time (microseconds) go to standard error, to measure.
class LinearTimeBudget {
 public:
  LinearTimeBudget(size_t input_size, int64_t fixed_us, int64_t per_byte_us)
      : size_(input_size),
        per_byte_us_(per_byte_us),
        limit_ns_((fixed_us + per_byte_us * static_cast<int64_t>(input_size)) *
                  1000),
        start_ns_(ThreadCpuNanos()) {}

  // For an operation whose output may outgrow its input (a select list
  // expanded for every table of its from-clause): the output's bytes count
  // as input bytes.
  void AllowOutput(size_t bytes) {
    size_ += bytes;
    limit_ns_ += per_byte_us_ * static_cast<int64_t>(bytes) * 1000;
  }

  void Finish() const {
    const int64_t spent = ThreadCpuNanos() - start_ns_;
    static const bool report = std::getenv("MX_FUZZ_TIMES") != nullptr;
    if (report) {
      std::fprintf(stderr, "time %zu %lld\n", size_,
                   static_cast<long long>(spent / 1000));
    }
    if (spent <= limit_ns_) return;
    std::fprintf(stderr,
                 "over the time budget: %lld us spent, %lld us allowed\n",
                 static_cast<long long>(spent / 1000),
                 static_cast<long long>(limit_ns_ / 1000));
    Check(false, "time linear in the input");
  }

 private:
  size_t size_;
  int64_t per_byte_us_;
  int64_t limit_ns_;
  int64_t start_ns_;
};

// Cuts an input into texts: each Next() is the text up to the next NUL byte
// (or the rest), so a corpus file "a\0b" gives "a" and "b" and later texts
// are empty. Byte() takes one leading byte as a small number.
class InputReader {
 public:
  InputReader(const uint8_t* data, size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  std::string Next() {
    const size_t nul = rest_.find('\0');
    std::string text(rest_.substr(0, nul));
    rest_.remove_prefix(nul == std::string_view::npos ? rest_.size() : nul + 1);
    return text;
  }

  uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }

  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// True when every "&" of `text` opens one of `entities` and no "<" or ">"
// stands bare.
inline bool OnlyEntities(std::string_view text,
                         std::initializer_list<std::string_view> entities) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '<' || text[i] == '>') return false;
    if (text[i] != '&') continue;
    bool known = false;
    for (std::string_view entity : entities) {
      if (text.substr(i, entity.size()) == entity) known = true;
    }
    if (!known) return false;
  }
  return true;
}

}  // namespace mx::fuzz

#endif  // MX_TESTS_FUZZ_FUZZ_SUPPORT_H_
