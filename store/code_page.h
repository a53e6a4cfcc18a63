// Conversions between the encodings a game file or file name can be in: code
// page 936 (GBK), UTF-8 and UTF-16 of either byte order.
#pragma once

#include <string_view>

#include "text/text.h"

namespace store {

enum class CodePage { kGbk, kUtf8, kUtf16Le, kUtf16Be };

// Strict: on success stores the converted bytes in *out and returns true;
// false (and *out unspecified) when `in` is not valid in `from` or holds a
// character that `to` cannot represent. An empty text converts to an empty one.
bool ConvertCodePage(CodePage from, CodePage to, std::string_view in, text::Text* out);

}  // namespace store
