// Natively: the executable of the process, from /proc/self/exe.
#include <unistd.h>

#include "store/run_directory.h"

namespace store {

text::Text ExecutablePath() {
  text::Text path(4096, '\0');
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", &path[0], path.size());
    if (n < 0) return text::Text();
    if (static_cast<std::size_t>(n) < path.size()) {
      path.resize(static_cast<std::size_t>(n));
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace store
