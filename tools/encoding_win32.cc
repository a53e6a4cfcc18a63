// On Windows: the console's code page as the terminal's encoding, and
// arguments in the ANSI code page.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "tools/encoding.h"

namespace tools {
namespace {

// Lenient: a character without a form in `cp` becomes its best fit or "?".
bool ToWide(UINT cp, std::string_view in, std::wstring* out) {
  out->clear();
  if (in.empty()) return true;
  const int n = MultiByteToWideChar(cp, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
  if (n <= 0) return false;
  out->resize(static_cast<std::size_t>(n));
  return MultiByteToWideChar(cp, 0, in.data(), static_cast<int>(in.size()), &(*out)[0], n) == n;
}

bool FromWide(UINT cp, const std::wstring& in, std::string* out) {
  out->clear();
  if (in.empty()) return true;
  const int n = WideCharToMultiByte(cp, 0, in.data(), static_cast<int>(in.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return false;
  out->resize(static_cast<std::size_t>(n));
  WideCharToMultiByte(cp, 0, in.data(), static_cast<int>(in.size()), &(*out)[0], n, nullptr, nullptr);
  return true;
}

UINT TerminalCodePage(UINT console_cp) { return console_cp != 0 ? console_cp : GetACP(); }

}  // namespace

std::string Utf8FromArgument(std::string_view argument) {
  std::wstring wide;
  std::string out;
  if (!ToWide(CP_ACP, argument, &wide) || !FromWide(CP_UTF8, wide, &out)) return std::string(argument);
  return out;
}

std::string ToNativeTerminal(std::string_view utf8) {
  std::wstring wide;
  std::string out;
  if (!ToWide(CP_UTF8, utf8, &wide) || !FromWide(TerminalCodePage(GetConsoleOutputCP()), wide, &out))
    return std::string(utf8);
  return out;
}

std::string FromNativeTerminal(std::string_view bytes) {
  std::wstring wide;
  std::string out;
  if (!ToWide(TerminalCodePage(GetConsoleCP()), bytes, &wide) || !FromWide(CP_UTF8, wide, &out))
    return std::string(bytes);
  return out;
}

}  // namespace tools
