// Time stamps: the current local time, the stored time text in both
// directions, and the seconds between two times.
#include "store/time_stamp.h"

#include <algorithm>
#include <charconv>

#include "store/clock.h"

namespace store {
namespace {

constexpr char kYear[] = "\xC4\xEA";    // 年
constexpr char kMonth[] = "\xD4\xC2";   // 月
constexpr char kDay[] = "\xC8\xD5";     // 日
constexpr char kHour[] = "\xCA\xB1";    // 时
constexpr char kMinute[] = "\xB7\xD6";  // 分
constexpr char kSecond[] = "\xC3\xEB";  // 秒

void AppendNumber(text::Text& out, int n) {
  char buf[16];
  const auto end = std::to_chars(buf, buf + sizeof buf, n).ptr;
  out.append(buf, static_cast<std::size_t>(end - buf));
}

void AppendPart(text::Text& out, int n, std::string_view unit) {
  AppendNumber(out, n);
  out.append(unit.data(), unit.size());
}

// Full-width forms of ASCII characters become the ASCII bytes, character by
// character; a lead byte standing last is dropped, so every lead byte left
// has its second byte behind it.
text::Text FoldFullWidth(std::string_view t) {
  text::Text out;
  out.reserve(t.size());
  for (std::size_t i = 0; i < t.size(); ++i) {
    const auto b = static_cast<unsigned char>(t[i]);
    if (!text::IsLeadByte(t[i])) {
      out.push_back(t[i]);
      continue;
    }
    if (i + 1 == t.size()) break;
    const auto c = static_cast<unsigned char>(t[++i]);
    if (b == 0xA3 && c >= 0xA1 && c <= 0xFE) {
      out.push_back(static_cast<char>(c - 0x80));
    } else if (b == 0xA1 && c == 0xA1) {  // ideographic space
      out.push_back(' ');
    } else if (b == 0xA1 && c == 0xAB) {
      out.push_back('~');
    } else if (b == 0xA1 && (c == 0xEE || c == 0xEF)) {
      out.push_back('*');
    } else {
      out.push_back(static_cast<char>(b));
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

// Reads the fields of a folded time text left to right. Every field starts
// at a character start, since digits and separators are whole characters.
class FieldReader {
 public:
  explicit FieldReader(std::string_view t) : t_(t) {}

  // Up to `max_digits` decimal digits; 0 when there are none.
  int Number(int max_digits) {
    int n = 0;
    for (int i = 0; i < max_digits && pos_ < t_.size() && t_[pos_] >= '0' && t_[pos_] <= '9'; ++i) {
      n = n * 10 + (t_[pos_++] - '0');
    }
    return n;
  }

  // Steps over one separator: one of the ASCII bytes `ascii`, or `unit`.
  void SkipSeparator(std::string_view ascii, std::string_view unit) {
    if (pos_ < t_.size() && ascii.find(t_[pos_]) != std::string_view::npos) {
      ++pos_;
    } else if (Next(unit)) {
      pos_ += unit.size();
    }
  }

  bool AtEnd() const { return pos_ == t_.size(); }
  bool Next(std::string_view s) const { return t_.substr(pos_, s.size()) == s; }

 private:
  std::string_view t_;
  std::size_t pos_ = 0;
};

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

bool IsValid(const TimeValue& t) {
  return t.year >= 100 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
         t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

// Days from 1970-01-01 to the Gregorian date y-m-d, for any year: eras of
// 400 years, each 146097 days long, with the year counted from March so that
// the leap day falls last.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t year_of_era = y - era * 400;
  const std::int64_t day_of_year = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

std::int64_t SecondsSinceEpoch(const TimeValue& t) {
  return DaysFromCivil(t.year, t.month, t.day) * 86400 + std::int64_t{t.hour} * 3600 +
         std::int64_t{t.minute} * 60 + t.second;
}

}  // namespace

TimeValue CurrentTime() {
  const LocalTime now = CurrentClock().Now();
  // A leap second (second 60) would give a text that does not read back;
  // it counts as the second before it.
  return TimeValue{now.year, now.month, now.day, now.hour, now.minute, std::min(now.second, 59)};
}

text::Text TimeToText(const TimeValue& t) {
  text::Text out;
  AppendPart(out, t.year, kYear);
  AppendPart(out, t.month, kMonth);
  AppendPart(out, t.day, kDay);
  if (t.second != 0) {
    AppendPart(out, t.hour, kHour);
    AppendPart(out, t.minute, kMinute);
    AppendPart(out, t.second, kSecond);
  } else if (t.minute != 0) {
    AppendPart(out, t.hour, kHour);
    AppendPart(out, t.minute, kMinute);
  } else if (t.hour != 0) {
    AppendPart(out, t.hour, kHour);
  }
  return out;
}

TimeValue TextToTime(std::string_view t) {
  // A text ends at its first zero byte.
  const text::Text folded = FoldFullWidth(t.substr(0, t.find('\0')));
  if (folded.empty()) return kEarliestTime;
  FieldReader r(text::View(folded));
  TimeValue v;
  v.year = r.Number(4);
  r.SkipSeparator("/-:.", kYear);
  v.month = r.Number(2);
  r.SkipSeparator("/-:.", kMonth);
  v.day = r.Number(2);
  r.SkipSeparator("/-:. ", kDay);
  v.hour = r.Number(2);
  r.SkipSeparator("/-:.", kHour);
  v.minute = r.Number(2);
  r.SkipSeparator("/-:.", kMinute);
  v.second = r.Number(2);
  // Whatever follows 秒 is not looked at.
  if (!r.AtEnd() && !r.Next(kSecond)) return kEarliestTime;
  return IsValid(v) ? v : kEarliestTime;
}

std::int64_t ElapsedSeconds(const TimeValue& now, const TimeValue& earlier) {
  // The count is d + 5.787037037037037e-6 truncated toward zero. For whole
  // seconds d that fraction never reaches the next second, so truncation
  // gives d when d >= 0 and d + 1 when d < 0. Summed in floating point the
  // fraction would be lost once |d| passes about 2^36 seconds, so the rule is
  // applied in integers.
  const std::int64_t d = SecondsSinceEpoch(now) - SecondsSinceEpoch(earlier);
  return d >= 0 ? d : d + 1;
}

}  // namespace store
