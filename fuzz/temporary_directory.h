// The fuzz targets' working directory: made once, on tmpfs where there is one
// (the writers' flushes to disk cost nothing there), removed at exit.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzz {

// A new directory named `name` and six random characters; aborts when none
// can be made.
inline std::string TemporaryDirectory(const char* name) {
  static std::string made;
  std::string dir = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "/tmp/") + name + "-XXXXXX";
  if (mkdtemp(&dir[0]) == nullptr) std::abort();
  made = dir;
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(made, ignored);
  });
  return dir;
}

}  // namespace fuzz
