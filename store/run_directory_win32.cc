// Windows: the host executable's path from GetModuleFileNameA(NULL).
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "store/run_directory.h"

namespace store {

text::Text ExecutablePath() {
  text::Text path(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0) return text::Text();
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace store
