// The timestamp format of log lines and the check of a fixed time.
#include "platform/clock.h"

#include <gtest/gtest.h>

namespace mx {
namespace {

TEST(ClockTest, SystemClockGivesAValidTimestamp) {
  SystemClock clock;
  EXPECT_TRUE(IsValidTimestamp(clock.Now())) << clock.Now();
}

TEST(ClockTest, TimestampFieldsMustBePlausible) {
  EXPECT_TRUE(IsValidTimestamp("2024-02-29 23:59:59"));
  EXPECT_TRUE(IsValidTimestamp("2000-02-29 00:00:00"));
  for (const char* bad :
       {"", "2024-02-29", "2024-02-29T10:00:00", "2023-02-29 10:00:00",
        "1900-02-29 10:00:00", "2024-13-01 10:00:00", "2024-04-31 10:00:00",
        "2024-01-00 10:00:00", "2024-01-01 24:00:00", "2024-01-01 10:60:00",
        "2024-01-01 10:00:60", "2024-1-01 10:00:00", "2024-01-01 10:00:00 "}) {
    EXPECT_FALSE(IsValidTimestamp(bad)) << bad;
  }
}

}  // namespace
}  // namespace mx
