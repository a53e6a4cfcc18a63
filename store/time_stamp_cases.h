// The tables of time stamp cases that both the native unit test and the
// Windows check program under Wine run, so that both builds answer alike.
#pragma once

#include <cstdint>
#include <string_view>

#include "store/time_stamp.h"

namespace store::cases {

constexpr TimeValue kJune1At090507{2024, 6, 1, 9, 5, 7};
constexpr TimeValue kJune1{2024, 6, 1, 0, 0, 0};
constexpr TimeValue kLatestTime{9999, 12, 31, 23, 59, 59};

struct FormatCase {
  TimeValue time;
  std::string_view text;
};

// Time to text; each text also reads back as its time.
constexpr FormatCase kFormatCases[] = {
    {kJune1At090507, "2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5" "9\xCA\xB1" "5\xB7\xD6" "7\xC3\xEB"},  // 2024年6月1日9时5分7秒
    {{2024, 6, 1, 0, 0, 7}, "2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5" "0\xCA\xB1" "0\xB7\xD6" "7\xC3\xEB"},  // 2024年6月1日0时0分7秒
    {{2024, 6, 1, 9, 5, 0}, "2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5" "9\xCA\xB1" "5\xB7\xD6"},  // 2024年6月1日9时5分
    {{2024, 6, 1, 9, 0, 0}, "2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5" "9\xCA\xB1"},  // 2024年6月1日9时
    {kJune1, "2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5"},  // 2024年6月1日
    {{2024, 12, 31, 23, 59, 59}, "2024\xC4\xEA" "12\xD4\xC2" "31\xC8\xD5" "23\xCA\xB1" "59\xB7\xD6" "59\xC3\xEB"},  // 2024年12月31日23时59分59秒
    {{2024, 6, 1, 0, 30, 0}, "2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5" "0\xCA\xB1" "30\xB7\xD6"},  // 2024年6月1日0时30分
    {kEarliestTime, "100\xC4\xEA" "1\xD4\xC2" "1\xC8\xD5"},  // 100年1月1日
    {kLatestTime, "9999\xC4\xEA" "12\xD4\xC2" "31\xC8\xD5" "23\xCA\xB1" "59\xB7\xD6" "59\xC3\xEB"},  // 9999年12月31日23时59分59秒
};

struct ParseCase {
  std::string_view text;
  TimeValue time;  // kEarliestTime where the text does not parse
};

// Text to time, in the forms the stored texts and operators' edits take.
constexpr ParseCase kParseCases[] = {
    // Other forms of one time.
    {"2024-06-01 09:05:07", kJune1At090507},
    {"2024/6/1 9:5:7", kJune1At090507},
    {"20240601090507", kJune1At090507},  // each field at its full length
    {"2024.06.01", kJune1},
    {"2024061", kJune1},  // a digit beyond a field's length starts the next field
    {"\xA3\xB2\xA3\xB0\xA3\xB2\xA3\xB4\xC4\xEA\xA3\xB6\xD4\xC2\xA3\xB1\xC8\xD5", kJune1},  // ２０２４年６月１日
    {"\xA3\xB2\xA3\xB0\xA3\xB2\xA3\xB4\xA3\xAD\xA3\xB0\xA3\xB6\xA3\xAD\xA3\xB0\xA3\xB1\xA1\xA1"
     "\xA3\xB0\xA3\xB9\xA3\xBA\xA3\xB0\xA3\xB5\xA3\xBA\xA3\xB0\xA3\xB7",  // ２０２４－０６－０１　０９：０５：０７
     kJune1At090507},
    {"0100\xC4\xEA" "1\xD4\xC2" "1\xC8\xD5", kEarliestTime},  // 0100年1月1日
    // The end rule: the text ends after the second, or 秒 follows and nothing
    // after it counts.
    {"2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5" "9\xCA\xB1" "5\xB7\xD6" "7", kJune1At090507},  // 2024年6月1日9时5分7
    {"2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5" "9\xCA\xB1" "5\xB7\xD6" "7\xC3\xEB\xD6\xAE\xBA\xF3\xCB\xE6\xB1\xE3\xD0\xB4",
     kJune1At090507},  // 2024年6月1日9时5分7秒之后随便写
    {"2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5" "9\xCA\xB1" "5\xB7\xD6" "7\xC3\xEB" "abc:", kJune1At090507},  // 2024年6月1日9时5分7秒abc:
    {"2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5\xB0", kJune1},  // 2024年6月1日 and a lone lead byte, dropped
    {"2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5" "9\xCA\xB1" "5\xB7\xD6" "7\xB7\xD6", kEarliestTime},  // 2024年6月1日9时5分7分
    {"2024-06-01 09:05:07:", kEarliestTime},  // no separator after the second
    // The leap rule.
    {"2024\xC4\xEA" "2\xD4\xC2" "29\xC8\xD5", {2024, 2, 29, 0, 0, 0}},  // 2024年2月29日
    {"2000\xC4\xEA" "2\xD4\xC2" "29\xC8\xD5", {2000, 2, 29, 0, 0, 0}},  // 2000年2月29日
    {"2023\xC4\xEA" "2\xD4\xC2" "29\xC8\xD5", kEarliestTime},  // 2023年2月29日
    {"1900\xC4\xEA" "2\xD4\xC2" "29\xC8\xD5", kEarliestTime},  // 1900年2月29日
    // Fields out of range, missing, or left over.
    {"99\xC4\xEA" "1\xD4\xC2" "1\xC8\xD5", kEarliestTime},  // 99年1月1日
    {"2024\xC4\xEA" "13\xD4\xC2" "1\xC8\xD5", kEarliestTime},  // 2024年13月1日
    {"2024\xC4\xEA" "6\xD4\xC2" "31\xC8\xD5", kEarliestTime},  // 2024年6月31日
    {"2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5" "24\xCA\xB1", kEarliestTime},  // 2024年6月1日24时
    {"2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5" "9\xCA\xB1" "60\xB7\xD6", kEarliestTime},  // 2024年6月1日9时60分
    {"2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5" "9\xCA\xB1" "5\xB7\xD6" "60\xC3\xEB", kEarliestTime},  // 2024年6月1日9时5分60秒
    {"2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5 9\xCA\xB1", kEarliestTime},  // 2024年6月1日 9时: one separator only
    {"2024\xD4\xC2" "6\xD4\xC2" "1\xC8\xD5", kEarliestTime},  // 2024月6月1日: 月 is not the year's
    {"2024\xC4\xEA", kEarliestTime},  // 2024年: month 0
    {"2024--06-01", kEarliestTime},
    {"10000-01-01", kEarliestTime},
    {"", kEarliestTime},
    {"\xB0", kEarliestTime},  // empty once folded
    {"abc", kEarliestTime},
};

struct ElapsedCase {
  TimeValue now, earlier;
  std::int64_t seconds;
};

// Elapsed seconds; the counts across the range come from an independent
// Gregorian calendar.
constexpr ElapsedCase kElapsedCases[] = {
    {{2024, 6, 1, 9, 5, 9}, kJune1At090507, 2},
    {kJune1At090507, kJune1At090507, 0},
    {{2024, 6, 1, 9, 5, 8}, kJune1At090507, 1},
    {{2024, 6, 1, 9, 5, 6}, kJune1At090507, 0},    // -1 counts as 0
    {{2024, 6, 1, 9, 5, 2}, kJune1At090507, -4},   // five seconds before
    {{2024, 3, 1, 0, 0, 0}, {2024, 2, 28, 23, 59, 59}, 86401},
    {{2023, 3, 1, 0, 0, 0}, {2023, 2, 28, 23, 59, 59}, 1},
    {{2100, 3, 1, 0, 0, 0}, {2100, 2, 28, 0, 0, 0}, 86400},
    {{2000, 3, 1, 0, 0, 0}, {2000, 2, 28, 0, 0, 0}, 172800},
    {{2025, 1, 1, 0, 0, 0}, {2024, 12, 31, 23, 59, 59}, 1},
    {kJune1, kEarliestTime, 60728659200},  // more than 2^32
    {kLatestTime, kEarliestTime, 312413759999},
    {kEarliestTime, kLatestTime, -312413759998},
};

}  // namespace store::cases
