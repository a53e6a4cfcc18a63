// On Windows: the code-page conversions through the system's own, by way of
// UTF-16.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstring>
#include <string>

#include "store/code_page.h"

namespace store {
namespace {

constexpr UINT kGbk = 936;

bool IsUtf16(CodePage page) { return page == CodePage::kUtf16Le || page == CodePage::kUtf16Be; }

void SwapBytes(std::wstring* wide) {
  for (wchar_t& c : *wide) c = static_cast<wchar_t>(((c & 0xFF) << 8) | ((c >> 8) & 0xFF));
}

bool ToWide(CodePage from, std::string_view in, std::wstring* wide) {
  if (IsUtf16(from)) {
    if (in.size() % 2 != 0) return false;
    wide->resize(in.size() / 2);
    std::memcpy(&(*wide)[0], in.data(), in.size());
    if (from == CodePage::kUtf16Be) SwapBytes(wide);
    return true;
  }
  const UINT cp = from == CodePage::kGbk ? kGbk : CP_UTF8;
  const int size = static_cast<int>(in.size());
  const int n = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, in.data(), size, nullptr, 0);
  if (n <= 0) return false;
  wide->resize(static_cast<std::size_t>(n));
  return MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, in.data(), size, &(*wide)[0], n) == n;
}

// A lone surrogate is not valid UTF-16 in any target.
bool ValidUtf16(const std::wstring& wide) {
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const wchar_t c = wide[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 == wide.size() || wide[i + 1] < 0xDC00 || wide[i + 1] > 0xDFFF) return false;
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return false;
    }
  }
  return true;
}

bool FromWide(CodePage to, std::wstring* wide, text::Text* out) {
  if (IsUtf16(to)) {
    if (to == CodePage::kUtf16Be) SwapBytes(wide);
    out->assign(reinterpret_cast<const char*>(wide->data()), wide->size() * 2);
    return true;
  }
  const bool gbk = to == CodePage::kGbk;
  const UINT cp = gbk ? kGbk : CP_UTF8;
  // No best fit: a character without a form of its own in code page 936 fails
  // rather than turning into a look-alike or a "?".
  const DWORD flags = gbk ? WC_NO_BEST_FIT_CHARS : 0;
  BOOL used_default = FALSE;
  BOOL* used = gbk ? &used_default : nullptr;
  const int size = static_cast<int>(wide->size());
  const int n = WideCharToMultiByte(cp, flags, wide->data(), size, nullptr, 0, nullptr, used);
  if (n <= 0 || used_default) return false;
  out->assign(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(cp, flags, wide->data(), size, &(*out)[0], n, nullptr, used);
  return !used_default;
}

}  // namespace

bool ConvertCodePage(CodePage from, CodePage to, std::string_view in, text::Text* out) {
  out->clear();
  if (in.empty()) return true;
  std::wstring wide;
  return ToWide(from, in, &wide) && ValidUtf16(wide) && FromWide(to, &wide, out);
}

}  // namespace store
