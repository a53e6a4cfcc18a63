// On Windows, for the store's profile-format rules that veldrin.exe carries:
// memmem, which the C library there lacks (posix_shim_win32.cc). Included
// ahead of that one source file.
#pragma once

#include <cstddef>

// The first place where the `needle_size` bytes of `needle` occur in the
// `size` bytes at `haystack`, or null.
void* memmem(const void* haystack, std::size_t size, const void* needle, std::size_t needle_size);
