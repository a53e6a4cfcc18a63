// One result slot per export: it owns the text that the export returned last,
// so the pointer stays valid until the same export returns again.
#pragma once

#include "frame/result.h"

namespace frame {

class ResultSlot {
 public:
  // Releases the text held so far, takes over `result` and returns what the
  // host receives: the slot's bytes, or null for the missing text.
  const char* Hold(Result result) {
    held_ = std::move(result);
    return held_ ? held_->c_str() : nullptr;
  }
  void Release() { held_.reset(); }

 private:
  Result held_;
};

}  // namespace frame
