// Natively: file names are UTF-8, so one set of game files serves both builds
// and `ls` shows 生存配置.ini.
#include "store/file_name.h"

#include "store/code_page.h"

namespace store {

const char kDirectorySeparator = '/';

text::Text NativeFileName(std::string_view gbk_path) {
  text::Text out;
  if (!ConvertCodePage(CodePage::kGbk, CodePage::kUtf8, gbk_path, &out)) return text::Text();
  // In UTF-8 a 0x5C byte is always the backslash character itself.
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

}  // namespace store
