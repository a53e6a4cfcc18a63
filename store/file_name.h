// How a path below the run directory, written as a code-page-936 text with
// "\" between directories, reaches the file system.
#pragma once

#include <string_view>

#include "text/text.h"

namespace store {

// The platform's directory separator: "\" on Windows, "/" natively.
extern const char kDirectorySeparator;

// Windows: the text unchanged. Natively: converted to UTF-8, with every "\"
// that is a character of its own (not the second byte of a two-byte
// character) turned into "/". Empty when the text cannot be converted, which
// the profile routines read as a file that does not exist.
text::Text NativeFileName(std::string_view gbk_path);

}  // namespace store
