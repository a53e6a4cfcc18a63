// Cuts the executable's path at its last separator.
#include "store/run_directory.h"

#include "store/file_name.h"

namespace store {
namespace {

// Built at first use: natively the library's load routine runs before the
// constructors of the other objects linked into it, so a plain global would
// be constructed (emptied) after the load had fixed it.
text::Text& Storage() {
  static text::Text run_directory;
  return run_directory;
}

}  // namespace

void FixRunDirectory() {
  text::Text exe = ExecutablePath();
  const auto cut = exe.find_last_of(kDirectorySeparator);
  Storage() = cut == text::Text::npos ? text::Text() : exe.substr(0, cut);
}

const text::Text& RunDirectory() { return Storage(); }

void SetRunDirectoryForTesting(const text::Text& dir) { Storage() = dir; }

}  // namespace store
