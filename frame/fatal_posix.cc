// Natively: the report on stderr, then the end of the process with status 255
// (exit code -1 as a byte), skipping every exit handler as Windows does.
#include <unistd.h>

#include <cstring>

#include "frame/fatal.h"

namespace frame {

void ShowFatalReportAndExit(const char* report) {
  const char* p = report;
  std::size_t left = std::strlen(report);
  while (left > 0) {
    const ssize_t n = write(STDERR_FILENO, p, left);
    if (n <= 0) break;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  _exit(255);
}

}  // namespace frame
