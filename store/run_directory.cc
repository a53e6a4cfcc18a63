// Cuts the executable's path at its last separator.
#include "store/run_directory.h"

#include "store/file_name.h"

namespace store {
namespace {
text::Text g_run_directory;
}

void FixRunDirectory() {
  text::Text exe = ExecutablePath();
  const auto cut = exe.find_last_of(kDirectorySeparator);
  g_run_directory = cut == text::Text::npos ? text::Text() : exe.substr(0, cut);
}

const text::Text& RunDirectory() { return g_run_directory; }

void SetRunDirectoryForTesting(const text::Text& dir) { g_run_directory = dir; }

}  // namespace store
