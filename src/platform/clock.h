// The date and time written into log lines, as "YYYY-MM-DD HH:MM:SS", behind
// an interface so that tests and reproducible runs can fix it.
#ifndef MX_PLATFORM_CLOCK_H_
#define MX_PLATFORM_CLOCK_H_

#include <string>

namespace mx {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::string Now() = 0;
};

class SystemClock : public Clock {
 public:
  std::string Now() override;  // local time
};

class FixedClock : public Clock {
 public:
  explicit FixedClock(std::string now) : now_(std::move(now)) {}
  std::string Now() override { return now_; }

 private:
  std::string now_;
};

// True for a text of the form "YYYY-MM-DD HH:MM:SS" with plausible fields.
bool IsValidTimestamp(const std::string& text);

}  // namespace mx

#endif  // MX_PLATFORM_CLOCK_H_
