// What the store's profile-format rules need beyond the C library on
// Windows: iconv between CP936 and UTF-8 through MultiByteToWideChar and
// WideCharToMultiByte, and memmem.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstring>
#include <string>

#include "iconv.h"
#include "memmem.h"

namespace {

struct Conversion {
  UINT from;
  UINT to;
};

Conversion g_to_utf8{936, CP_UTF8};
Conversion g_to_gbk{CP_UTF8, 936};

bool Is(const char* name, const char* a, const char* b) { return std::strcmp(name, a) == 0 || std::strcmp(name, b) == 0; }

}  // namespace

iconv_t iconv_open(const char* to, const char* from) {
  if (Is(from, "CP936", "GBK") && Is(to, "UTF-8", "UTF8")) return &g_to_utf8;
  if (Is(from, "UTF-8", "UTF8") && Is(to, "CP936", "GBK")) return &g_to_gbk;
  return reinterpret_cast<iconv_t>(-1);
}

std::size_t iconv(iconv_t cd, char** in, std::size_t* in_left, char** out, std::size_t* out_left) {
  const std::size_t failed = static_cast<std::size_t>(-1);
  const Conversion& c = *static_cast<const Conversion*>(cd);
  if (*in_left == 0) return 0;
  const int in_size = static_cast<int>(*in_left);
  const int wide_size = MultiByteToWideChar(c.from, MB_ERR_INVALID_CHARS, *in, in_size, nullptr, 0);
  if (wide_size <= 0) return failed;
  std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
  MultiByteToWideChar(c.from, MB_ERR_INVALID_CHARS, *in, in_size, &wide[0], wide_size);
  BOOL used_default = FALSE;
  const bool strict = c.to != CP_UTF8;
  const DWORD flags = strict ? WC_NO_BEST_FIT_CHARS : 0;
  const int size = WideCharToMultiByte(c.to, flags, wide.data(), wide_size, nullptr, 0, nullptr, strict ? &used_default : nullptr);
  if (size <= 0 || used_default || static_cast<std::size_t>(size) > *out_left) return failed;
  WideCharToMultiByte(c.to, flags, wide.data(), wide_size, *out, size, nullptr, nullptr);
  *in += *in_left;
  *in_left = 0;
  *out += size;
  *out_left -= static_cast<std::size_t>(size);
  return 0;
}

int iconv_close(iconv_t) { return 0; }

void* memmem(const void* haystack, std::size_t size, const void* needle, std::size_t needle_size) {
  const char* h = static_cast<const char*>(haystack);
  const char* n = static_cast<const char*>(needle);
  if (needle_size == 0) return const_cast<char*>(h);
  for (std::size_t i = 0; i + needle_size <= size; ++i)
    if (h[i] == n[0] && std::memcmp(h + i, n, needle_size) == 0) return const_cast<char*>(h + i);
  return nullptr;
}
