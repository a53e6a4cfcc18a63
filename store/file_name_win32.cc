// Windows: file names are code-page-936 texts already.
#include "store/file_name.h"

namespace store {

const char kDirectorySeparator = '\\';

text::Text NativeFileName(std::string_view gbk_path) { return text::Text(gbk_path.data(), gbk_path.size()); }

}  // namespace store
