// What a routine hands back through an export: a text, or the missing text,
// which the host receives as the null pointer.
#pragma once

#include <optional>

#include "text/text.h"

namespace frame {

// std::nullopt is the missing text; an empty Text is a pointer to an empty text.
using Result = std::optional<text::Text>;

// The text routines and read value give an empty result as the missing text.
inline Result MissingIfEmpty(text::Text t) {
  if (t.empty()) return std::nullopt;
  return Result(std::move(t));
}

}  // namespace frame
