// On Windows: the plugin DLL through LoadLibraryA and GetProcAddress.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "tools/plugin_library.h"

namespace tools {

const char kPluginSuffix[] = ".cqp.dll";
const char kHostLibraryFile[] = "cqapi.dll";

PluginLibrary::~PluginLibrary() {
  if (library_ != nullptr) FreeLibrary(static_cast<HMODULE>(library_));
}

bool PluginLibrary::Open(std::string* error) {
  library_ = LoadLibraryA(path_.c_str());
  if (library_ == nullptr) *error = path_ + ": LoadLibraryA failed, error " + std::to_string(GetLastError());
  return library_ != nullptr;
}

void* PluginLibrary::Export(const char* name) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library_), name));
}

bool PluginLibrary::Unload() {
  FreeLibrary(static_cast<HMODULE>(library_));
  library_ = nullptr;
  return GetModuleHandleA(path_.c_str()) == nullptr;
}

}  // namespace tools
