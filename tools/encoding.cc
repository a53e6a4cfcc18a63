// The strict GBK conversions, and the terminal conversions built on them.
#include "tools/encoding.h"

#include <cstdio>

#include "store/code_page.h"
#include "text/text.h"

namespace tools {
namespace {

bool Convert(store::CodePage from, store::CodePage to, std::string_view in, std::string* out) {
  text::Text converted;
  if (!store::ConvertCodePage(from, to, in, &converted)) return false;
  out->assign(converted.data(), converted.size());
  return true;
}

std::string HexByte(unsigned char b) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "\\x%02X", b);
  return buf;
}

}  // namespace

bool GbkToUtf8(std::string_view in, std::string* out) {
  return Convert(store::CodePage::kGbk, store::CodePage::kUtf8, in, out);
}

bool Utf8ToGbk(std::string_view in, std::string* out) {
  return Convert(store::CodePage::kUtf8, store::CodePage::kGbk, in, out);
}

std::size_t GbkCharSize(std::string_view gbk, std::size_t at) {
  return text::IsLeadByte(gbk[at]) && at + 1 < gbk.size() ? 2 : 1;
}

std::string ShowGbk(std::string_view gbk) {
  std::string out;
  if (GbkToUtf8(gbk, &out)) return out;
  out.clear();
  while (!gbk.empty()) {
    const std::size_t n = GbkCharSize(gbk, 0);
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

std::string ShowGbkOpening(std::string_view gbk, std::size_t characters) {
  std::size_t end = 0;
  for (std::size_t n = 0; end < gbk.size() && n < characters; ++n) end += GbkCharSize(gbk, end);
  return ShowGbk(gbk.substr(0, end)) + (end < gbk.size() ? "…" : "");
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
