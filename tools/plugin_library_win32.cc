// On Windows: the plugin DLL through LoadLibraryA, its exports with the
// stdcall convention.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "tools/plugin_library.h"

namespace tools {

const char kPluginSuffix[] = ".cqp.dll";
const char kHostLibraryFile[] = "cqapi.dll";

namespace {
using InfoFn = const char*(__stdcall*)();
using PlugmainFn = const char*(__stdcall*)(const char*, const char*, const char*, const char*, const char*);
}  // namespace

PluginLibrary::~PluginLibrary() {
  if (library_ != nullptr) FreeLibrary(static_cast<HMODULE>(library_));
}

bool PluginLibrary::Load(const std::string& path, std::string* error) {
  path_ = path;
  library_ = LoadLibraryA(path.c_str());
  if (library_ == nullptr) {
    *error = path + ": LoadLibraryA failed, error " + std::to_string(GetLastError());
    return false;
  }
  info_ = reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library_), "info"));
  plugmain_ = reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library_), "plugmain"));
  if (info_ == nullptr || plugmain_ == nullptr) {
    *error = path + ": no export info or plugmain";
    return false;
  }
  return true;
}

const char* PluginLibrary::Info() const { return reinterpret_cast<InfoFn>(info_)(); }

const char* PluginLibrary::Plugmain(const char* message, const char* type, const char* group, const char* sender,
                                    const char* fifth) const {
  return reinterpret_cast<PlugmainFn>(plugmain_)(message, type, group, sender, fifth);
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
