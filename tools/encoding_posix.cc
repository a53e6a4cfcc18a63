// Natively: iconv for GBK, and a UTF-8 terminal.
#include <iconv.h>

#include "tools/encoding.h"

namespace tools {
namespace {

bool Convert(const char* to, const char* from, std::string_view in, std::string* out) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  out->assign(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char* dst = &(*out)[0];
  std::size_t dst_left = out->size();
  const std::size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) return false;
  out->resize(out->size() - dst_left);
  return true;
}

}  // namespace

bool GbkToUtf8(std::string_view in, std::string* out) { return Convert("UTF-8", "CP936", in, out); }

bool Utf8ToGbk(std::string_view in, std::string* out) { return Convert("CP936", "UTF-8", in, out); }

std::string Utf8FromArgument(std::string_view argument) { return std::string(argument); }

std::string ToNativeTerminal(std::string_view utf8) { return std::string(utf8); }

std::string FromNativeTerminal(std::string_view bytes) { return std::string(bytes); }

}  // namespace tools
