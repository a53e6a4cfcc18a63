// On Windows, for the store's profile-format rules that veldrin.exe carries:
// the three iconv calls they make, between "CP936" and "UTF-8", over the
// system's code-page conversions (posix_shim_win32.cc).
#pragma once

#include <cstddef>

typedef void* iconv_t;

// (iconv_t)-1 for a pair of encodings other than CP936 and UTF-8.
iconv_t iconv_open(const char* to, const char* from);
// Converts all of the input at once: (size_t)-1 when it is not valid, holds a
// character without a form in the target, or does not fit.
std::size_t iconv(iconv_t cd, char** in, std::size_t* in_left, char** out, std::size_t* out_left);
int iconv_close(iconv_t cd);
