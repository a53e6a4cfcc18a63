// The story name check, walking the name by characters component by component.
#include "store/story_name.h"

#include "text/text.h"

namespace store {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

// Windows opens these as devices in every directory and with any extension.
bool IsDeviceName(std::string_view base) {
  for (const char* device : {"CON", "PRN", "AUX", "NUL"})
    if (EqualsIgnoringAsciiCase(base, device)) return true;
  if (base.size() == 4 && base[3] >= '1' && base[3] <= '9')
    return EqualsIgnoringAsciiCase(base.substr(0, 3), "COM") || EqualsIgnoringAsciiCase(base.substr(0, 3), "LPT");
  return false;
}

// One component, already known to hold no separator. `first_dot` is the byte
// offset of its first one-byte dot, or npos.
bool IsSafeComponent(std::string_view component, std::size_t first_dot, bool only_dots) {
  if (!component.empty() && only_dots) return false;
  return !IsDeviceName(component.substr(0, first_dot));
}

}  // namespace

bool IsSafeStoryName(std::string_view name) {
  if (!name.empty() && IsSeparator(name[0])) return false;
  std::size_t begin = 0;
  std::size_t first_dot = std::string_view::npos;
  bool only_dots = true;
  std::size_t i = 0;
  while (i <= name.size()) {
    if (i == name.size() || IsSeparator(name[i])) {
      const std::string_view component = name.substr(begin, i - begin);
      const std::size_t dot = first_dot == std::string_view::npos ? first_dot : first_dot - begin;
      if (!IsSafeComponent(component, dot, only_dots)) return false;
      begin = i + 1;
      first_dot = std::string_view::npos;
      only_dots = true;
      ++i;
      continue;
    }
    const char c = name[i];
    if (c == ':') return false;
    if (c == '.') {
      if (first_dot == std::string_view::npos) first_dot = i;
    } else {
      only_dots = false;
    }
    i += text::IsLeadByte(c) && i + 1 < name.size() ? 2 : 1;
  }
  return true;
}

}  // namespace store
