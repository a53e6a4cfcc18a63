// Natively: file names are UTF-8, so one set of game files serves both builds
// and `ls` shows 生存配置.ini.
#include <iconv.h>

#include <cerrno>

#include "store/file_name.h"

namespace store {

const char kDirectorySeparator = '/';

text::Text NativeFileName(std::string_view gbk_path) {
  iconv_t cd = iconv_open("UTF-8", "CP936");
  if (cd == reinterpret_cast<iconv_t>(-1)) return text::Text();
  text::Text out(gbk_path.size() * 3 + 4, '\0');
  char* in = const_cast<char*>(gbk_path.data());
  std::size_t in_left = gbk_path.size();
  char* dst = &out[0];
  std::size_t out_left = out.size();
  const std::size_t rc = iconv(cd, &in, &in_left, &dst, &out_left);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) return text::Text();
  out.resize(out.size() - out_left);
  // In UTF-8 a 0x5C byte is always the backslash character itself.
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

}  // namespace store
