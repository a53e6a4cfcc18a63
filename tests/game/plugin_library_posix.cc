// Natively: the plugin through dlopen, plugmain with the C convention.
#include <dlfcn.h>
#include <time.h>

#include "tests/game/plugin_library.h"

namespace game_test {

const char kPluginSuffix[] = ".cqp.so";

using PlugMain = const char* (*)(const char*, const char*, const char*, const char*, const char*);

PluginLibrary::PluginLibrary(const std::string& path) {
  library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library_ != nullptr) plugmain_ = dlsym(library_, "plugmain");
}

PluginLibrary::~PluginLibrary() {
  if (library_ != nullptr) dlclose(library_);
}

const char* PluginLibrary::Message(const char* message, const char* type, const char* group, const char* sender,
                                   const char* fifth) {
  return reinterpret_cast<PlugMain>(plugmain_)(message, type, group, sender, fifth);
}

void SleepMilliseconds(int ms) {
  timespec t{ms / 1000, (ms % 1000) * 1000000L};
  while (nanosleep(&t, &t) != 0) {
  }
}

}  // namespace game_test
