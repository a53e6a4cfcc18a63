// Fuzz target of text to time: no crash; a time that parses lies in the range
// of time values, and its time text reads back as the same time.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "store/time_stamp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view t(reinterpret_cast<const char*>(data), size);
  const store::TimeValue v = store::TextToTime(t);
  const text::Text stamp = store::TimeToText(v);
  if (!(store::TextToTime(text::View(stamp)) == v)) std::abort();
  // Every time counts forward from the earliest one, and back to it.
  const std::int64_t forward = store::ElapsedSeconds(v, store::kEarliestTime);
  if (forward < 0 || store::ElapsedSeconds(store::kEarliestTime, v) != (forward == 0 ? 0 : 1 - forward)) {
    std::abort();
  }
  return 0;
}
