// Time stamps of the game store: a local date and time to the whole second,
// its stored form under "时间", and the seconds between two of them.
#pragma once

#include <cstdint>
#include <string_view>

#include "text/text.h"

namespace store {

// A local calendar date and time, 0100-01-01 00:00:00 to 9999-12-31 23:59:59,
// Gregorian throughout. No time zone: the machine's wall clock.
struct TimeValue {
  int year = 100, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  friend bool operator==(const TimeValue& a, const TimeValue& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second;
  }
};

// The earliest time: what a missing or unreadable time stamp reads as.
constexpr TimeValue kEarliestTime{};

// Now, in local time (the clock of store/clock.h).
TimeValue CurrentTime();

// "%d年%d月%d日" and then the non-zero time parts, as in 2024年6月1日9时5分.
text::Text TimeToText(const TimeValue& t);

// Parses a stored time text (also full-width forms and forms such as
// 2024-06-01 09:05:07); the earliest time when it does not parse.
TimeValue TextToTime(std::string_view t);

// Seconds from `earlier` to `now`, truncated as the pause rule counts them:
// d when d >= 0, d + 1 when d < 0.
std::int64_t ElapsedSeconds(const TimeValue& now, const TimeValue& earlier);

}  // namespace store
