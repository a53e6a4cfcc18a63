// On Windows: the system's code-page conversions, and the console's code
// page as the terminal's encoding.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "tools/encoding.h"

namespace tools {
namespace {

constexpr UINT kGbk = 936;

bool ToWide(UINT cp, DWORD flags, std::string_view in, std::wstring* out) {
  out->clear();
  if (in.empty()) return true;
  const int n = MultiByteToWideChar(cp, flags, in.data(), static_cast<int>(in.size()), nullptr, 0);
  if (n <= 0) return false;
  out->resize(static_cast<std::size_t>(n));
  return MultiByteToWideChar(cp, flags, in.data(), static_cast<int>(in.size()), &(*out)[0], n) == n;
}

// `strict`: fail on a character without a form in `cp` instead of a "?".
bool FromWide(UINT cp, bool strict, const std::wstring& in, std::string* out) {
  out->clear();
  if (in.empty()) return true;
  BOOL used_default = FALSE;
  const bool utf8 = cp == CP_UTF8;
  const DWORD flags = strict && !utf8 ? WC_NO_BEST_FIT_CHARS : 0;
  BOOL* used = strict && !utf8 ? &used_default : nullptr;
  const int n = WideCharToMultiByte(cp, flags, in.data(), static_cast<int>(in.size()), nullptr, 0, nullptr, used);
  if (n <= 0 || used_default) return false;
  out->resize(static_cast<std::size_t>(n));
  WideCharToMultiByte(cp, flags, in.data(), static_cast<int>(in.size()), &(*out)[0], n, nullptr, used);
  return !used_default;
}

UINT TerminalCodePage(UINT console_cp) { return console_cp != 0 ? console_cp : GetACP(); }

}  // namespace

bool GbkToUtf8(std::string_view in, std::string* out) {
  std::wstring wide;
  return ToWide(kGbk, MB_ERR_INVALID_CHARS, in, &wide) && FromWide(CP_UTF8, true, wide, out);
}

bool Utf8ToGbk(std::string_view in, std::string* out) {
  std::wstring wide;
  return ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, in, &wide) && FromWide(kGbk, true, wide, out);
}

std::string Utf8FromArgument(std::string_view argument) {
  std::wstring wide;
  std::string out;
  if (!ToWide(CP_ACP, 0, argument, &wide) || !FromWide(CP_UTF8, false, wide, &out)) return std::string(argument);
  return out;
}

std::string ToNativeTerminal(std::string_view utf8) {
  std::wstring wide;
  std::string out;
  if (!ToWide(CP_UTF8, 0, utf8, &wide) || !FromWide(TerminalCodePage(GetConsoleOutputCP()), false, wide, &out))
    return std::string(utf8);
  return out;
}

std::string FromNativeTerminal(std::string_view bytes) {
  std::wstring wide;
  std::string out;
  if (!ToWide(TerminalCodePage(GetConsoleCP()), 0, bytes, &wide) || !FromWide(CP_UTF8, false, wide, &out))
    return std::string(bytes);
  return out;
}

}  // namespace tools
