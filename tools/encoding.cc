// The terminal conversions built on the strict ones.
#include "tools/encoding.h"

#include <cstdio>

namespace tools {
namespace {

// The length of the GBK character at the start of `t` (1 or 2).
std::size_t CharLength(std::string_view t) {
  return static_cast<unsigned char>(t[0]) >= 0x80 && t.size() >= 2 ? 2 : 1;
}

std::string HexByte(unsigned char b) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "\\x%02X", b);
  return buf;
}

}  // namespace

std::string ShowGbk(std::string_view gbk) {
  std::string out;
  if (GbkToUtf8(gbk, &out)) return out;
  out.clear();
  while (!gbk.empty()) {
    const std::size_t n = CharLength(gbk);
    std::string one;
    if (GbkToUtf8(gbk.substr(0, n), &one)) {
      out += one;
      gbk.remove_prefix(n);
    } else {
      out += HexByte(static_cast<unsigned char>(gbk[0]));
      gbk.remove_prefix(1);
    }
  }
  return out;
}

std::string ToTerminal(Terminal terminal, std::string_view utf8) {
  switch (terminal) {
    case Terminal::kUtf8:
      return std::string(utf8);
    case Terminal::kGbk: {
      std::string out;
      if (Utf8ToGbk(utf8, &out)) return out;
      return ToNativeTerminal(utf8);
    }
    case Terminal::kNative:
      break;
  }
  return ToNativeTerminal(utf8);
}

std::string FromTerminal(Terminal terminal, std::string_view bytes) {
  switch (terminal) {
    case Terminal::kUtf8:
      return std::string(bytes);
    case Terminal::kGbk:
      return ShowGbk(bytes);
    case Terminal::kNative:
      break;
  }
  return FromNativeTerminal(bytes);
}

}  // namespace tools
