// Windows: the plugin through LoadLibraryA, plugmain with the stdcall convention.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "tests/game/plugin_library.h"

namespace game_test {

const char kPluginSuffix[] = ".cqp.dll";

using PlugMain = const char*(__stdcall*)(const char*, const char*, const char*, const char*, const char*);

PluginLibrary::PluginLibrary(const std::string& path) {
  library_ = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
  if (library_ != nullptr)
    plugmain_ = reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library_), "plugmain"));
}

PluginLibrary::~PluginLibrary() {
  if (library_ != nullptr) FreeLibrary(static_cast<HMODULE>(library_));
}

const char* PluginLibrary::Message(const char* message, const char* type, const char* group, const char* sender,
                                   const char* fifth) {
  return reinterpret_cast<PlugMain>(plugmain_)(message, type, group, sender, fifth);
}

void SleepMilliseconds(int ms) { Sleep(static_cast<DWORD>(ms)); }

}  // namespace game_test
