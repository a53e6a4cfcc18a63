// Time stamps: the shared tables of cases, a walk over the whole range of
// times checked against the C library's Gregorian calendar, and the clock.
#include "store/time_stamp.h"

#include <gtest/gtest.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>

#include "store/clock.h"
#include "store/time_stamp_cases.h"
#include "text/test_hex.h"

namespace store {

void PrintTo(const TimeValue& t, std::ostream* os) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  *os << buf;
}

namespace {

using test_support::Hex;

constexpr TimeValue kEpoch{1970, 1, 1, 0, 0, 0};

TEST(TimeToText, WritesTheDateAndTheNonZeroTimePartsAndReadsBack) {
  for (const auto& c : cases::kFormatCases) {
    EXPECT_EQ(Hex(c.text), Hex(text::View(TimeToText(c.time)))) << testing::PrintToString(c.time);
    EXPECT_EQ(c.time, TextToTime(c.text)) << Hex(c.text);
  }
}

TEST(TextToTime, ReadsTheSixFieldsOrGivesTheEarliestTime) {
  for (const auto& c : cases::kParseCases) EXPECT_EQ(c.time, TextToTime(c.text)) << Hex(c.text);
}

TEST(TextToTime, EndsAtAZeroByte) {
  using namespace std::string_view_literals;
  EXPECT_EQ(cases::kJune1, TextToTime("2024-06-01\0" "abc"sv));
  EXPECT_EQ(kEarliestTime, TextToTime("\0" "2024-06-01"sv));
}

TEST(ElapsedSeconds, CountsWholeSecondsAndOneLessWhenNegative) {
  for (const auto& c : cases::kElapsedCases) {
    EXPECT_EQ(c.seconds, ElapsedSeconds(c.now, c.earlier))
        << testing::PrintToString(c.now) << " - " << testing::PrintToString(c.earlier);
  }
}

// Every 1000003rd second from the earliest to the latest time, as glibc's
// proleptic Gregorian calendar (gmtime_r) gives it: formats and reads back,
// and counts the same seconds from 1970 (one less before 1970, by the
// truncation rule).
TEST(TimeStamps, AgreeWithTheCLibraryCalendarOverTheWholeRange) {
  const std::int64_t first = -59011459200;  // 0100-01-01 00:00:00
  const std::int64_t last = 253402300799;   // 9999-12-31 23:59:59
  int checked = 0;
  for (std::int64_t s = first; s <= last; s += 1000003, ++checked) {
    const time_t t = static_cast<time_t>(s);
    struct tm tm {};
    ASSERT_NE(nullptr, gmtime_r(&t, &tm));
    const TimeValue v{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    const text::Text stamp = TimeToText(v);
    ASSERT_EQ(v, TextToTime(text::View(stamp))) << Hex(text::View(stamp));
    ASSERT_EQ(s >= 0 ? s : s + 1, ElapsedSeconds(v, kEpoch)) << testing::PrintToString(v);
  }
  EXPECT_GT(checked, 300000);
}

class FixedClock final : public Clock {
 public:
  explicit FixedClock(LocalTime now) : now_(now) {}
  LocalTime Now() override { return now_; }
  void Sleep(std::int32_t) override {}

 private:
  LocalTime now_;
};

TEST(CurrentTime, ReadsTheClockInUse) {
  FixedClock fixed({2024, 6, 1, 9, 5, 7});
  SetClockForTesting(&fixed);
  EXPECT_EQ(cases::kJune1At090507, CurrentTime());
  FixedClock leap_second({2016, 12, 31, 23, 59, 60});
  SetClockForTesting(&leap_second);
  EXPECT_EQ((TimeValue{2016, 12, 31, 23, 59, 59}), CurrentTime());  // a text that reads back
  SetClockForTesting(nullptr);
  EXPECT_EQ(&PlatformClock(), &CurrentClock());
}

// The platform clock gives local time: under a fixed offset from UTC it is
// the system time moved by that offset.
TEST(PlatformClock, GivesLocalTimeOfTheZoneInEffect) {
  const char* old_tz = std::getenv("TZ");
  const std::string saved = old_tz != nullptr ? old_tz : "";
  struct Zone { const char* tz; std::int64_t offset; };
  for (const Zone& z : {Zone{"UTC0", 0}, Zone{"XYZ-8", 8 * 3600}, Zone{"ABC+5:30", -(5 * 3600 + 1800)}}) {
    setenv("TZ", z.tz, 1);
    tzset();
    std::int64_t diff = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {  // the second may turn between the two reads
      const std::int64_t before = time(nullptr);
      const LocalTime n = PlatformClock().Now();
      const TimeValue now{n.year, n.month, n.day, n.hour, n.minute, n.second};
      diff = ElapsedSeconds(now, kEpoch) - before - z.offset;
      if (diff == 0) break;
    }
    EXPECT_EQ(0, diff) << z.tz;
  }
  if (old_tz != nullptr) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

TEST(PlatformClock, SleepWaitsAtLeastTheMilliseconds) {
  const auto start = std::chrono::steady_clock::now();
  PlatformClock().Sleep(30);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
  PlatformClock().Sleep(0);
  PlatformClock().Sleep(-5);  // returns at once
}

}  // namespace
}  // namespace store
