// The system clock in local time, and the check of a fixed time given on the
// command line.
#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace mx {
namespace {

constexpr char kPattern[] = "dddd-dd-dd dd:dd:dd";

bool MatchesPattern(const std::string& text) {
  if (text.size() != sizeof kPattern - 1) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kPattern[i] == 'd' ? !digit : text[i] != kPattern[i]) return false;
  }
  return true;
}

int Field(const std::string& text, size_t pos, size_t length) {
  return std::stoi(text.substr(pos, length));
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30,
                                  31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::string SystemClock::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

int64_t SystemClock::SteadyMicroseconds() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

bool IsValidTimestamp(const std::string& text) {
  if (!MatchesPattern(text)) return false;
  const int year = Field(text, 0, 4);
  const int month = Field(text, 5, 2);
  const int day = Field(text, 8, 2);
  if (year < 1 || month < 1 || month > 12) return false;
  if (day < 1 || day > DaysInMonth(year, month)) return false;
  return Field(text, 11, 2) <= 23 && Field(text, 14, 2) <= 59 &&
         Field(text, 17, 2) <= 59;
}

}  // namespace mx
