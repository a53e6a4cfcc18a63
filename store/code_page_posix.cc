// Natively: the code-page conversions through iconv.
#include <iconv.h>

#include <cerrno>

#include "store/code_page.h"

namespace store {
namespace {

const char* IconvName(CodePage page) {
  switch (page) {
    case CodePage::kGbk:
      return "CP936";
    case CodePage::kUtf8:
      return "UTF-8";
    case CodePage::kUtf16Le:
      return "UTF-16LE";
    case CodePage::kUtf16Be:
      return "UTF-16BE";
  }
  return "";
}

}  // namespace

bool ConvertCodePage(CodePage from, CodePage to, std::string_view in, text::Text* out) {
  iconv_t cd = iconv_open(IconvName(to), IconvName(from));
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  // Room for the common case; a single GBK byte can become three UTF-8 bytes,
  // so the buffer grows when the output does not fit.
  out->assign(in.size() * 2 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  std::size_t done = 0;
  bool ok = true;
  for (;;) {
    char* dst = &(*out)[done];
    std::size_t dst_left = out->size() - done;
    const std::size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
    done = out->size() - dst_left;
    if (rc != static_cast<std::size_t>(-1)) break;
    if (errno != E2BIG) {
      ok = false;
      break;
    }
    out->resize(out->size() * 2);
  }
  iconv_close(cd);
  if (ok) out->resize(done);
  return ok;
}

}  // namespace store
