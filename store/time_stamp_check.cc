// A plain program over the shared time stamp cases, for the Windows build
// under Wine where no test framework runs: prints each mismatch and exits 1
// on any. With the argument "now" it prints the current local time instead,
// as YYYY-MM-DD HH:MM:SS, for comparison with the system's own clock.
#include <cstdio>
#include <cstring>
#include <string_view>

#include "store/time_stamp.h"
#include "store/time_stamp_cases.h"

namespace {

using store::TimeValue;

void PrintTime(const char* label, const TimeValue& t) {
  std::printf("%s%04d-%02d-%02d %02d:%02d:%02d\n", label, t.year, t.month, t.day, t.hour, t.minute,
              t.second);
}

void PrintHex(const char* label, std::string_view t) {
  std::printf("%s", label);
  for (unsigned char c : t) std::printf("%02X ", c);
  std::printf("\n");
}

int failures = 0;

void ExpectTime(const TimeValue& expected, const TimeValue& actual, std::string_view input) {
  if (expected == actual) return;
  ++failures;
  PrintHex("text to time of ", input);
  PrintTime("  expected ", expected);
  PrintTime("  actual   ", actual);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "now") == 0) {
    PrintTime("", store::CurrentTime());
    return 0;
  }
  int checked = 0;
  for (const auto& c : store::cases::kFormatCases) {
    const text::Text t = store::TimeToText(c.time);
    if (text::View(t) != c.text) {
      ++failures;
      PrintTime("time to text of ", c.time);
      PrintHex("  expected ", c.text);
      PrintHex("  actual   ", text::View(t));
    }
    ExpectTime(c.time, store::TextToTime(c.text), c.text);
    ++checked;
  }
  for (const auto& c : store::cases::kParseCases) {
    ExpectTime(c.time, store::TextToTime(c.text), c.text);
    ++checked;
  }
  for (const auto& c : store::cases::kElapsedCases) {
    const long long got = store::ElapsedSeconds(c.now, c.earlier);
    if (got != c.seconds) {
      ++failures;
      PrintTime("elapsed seconds to ", c.now);
      PrintTime("  from ", c.earlier);
      std::printf("  expected %lld, actual %lld\n", static_cast<long long>(c.seconds), got);
    }
    ++checked;
  }
  std::printf("%d cases, %d failed\n", checked, failures);
  return failures == 0 ? 0 : 1;
}
