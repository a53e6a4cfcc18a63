// Windows: the system's profile routines, with the code page of the process.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "store/profile.h"

namespace store {

text::Text ProfileRead(const text::Text& file, const text::Text& section, const text::Text& key) {
  text::Text buffer(kProfileBufferSize, '\0');
  const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", &buffer[0],
                                           static_cast<DWORD>(kProfileBufferSize), file.c_str());
  buffer.resize(n < kProfileBufferSize ? n : kProfileBufferSize - 1);
  return text::Text(buffer.c_str());
}

void ProfileWrite(const text::Text& file, const text::Text& section, const text::Text* key,
                  const text::Text* value) {
  WritePrivateProfileStringA(section.c_str(), key ? key->c_str() : nullptr, value ? value->c_str() : nullptr,
                             file.c_str());
}

}  // namespace store
