// The date and time written into log lines, as "YYYY-MM-DD HH:MM:SS", and
// the steady count that measures how long a piece of work took, behind an
// interface so that tests and reproducible runs can fix both.
#ifndef MX_PLATFORM_CLOCK_H_
#define MX_PLATFORM_CLOCK_H_

#include <cstdint>
#include <string>

namespace mx {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::string Now() = 0;
  // Microseconds from an arbitrary start that never goes back: the
  // difference of two readings is the time between them.
  virtual int64_t SteadyMicroseconds() = 0;
};

class SystemClock : public Clock {
 public:
  std::string Now() override;  // local time
  int64_t SteadyMicroseconds() override;
};

class FixedClock : public Clock {
 public:
  explicit FixedClock(std::string now) : now_(std::move(now)) {}
  std::string Now() override { return now_; }
  // Time stands still: everything takes no time.
  int64_t SteadyMicroseconds() override { return 0; }

 private:
  std::string now_;
};

// True for a text of the form "YYYY-MM-DD HH:MM:SS" with plausible fields.
bool IsValidTimestamp(const std::string& text);

}  // namespace mx

#endif  // MX_PLATFORM_CLOCK_H_
