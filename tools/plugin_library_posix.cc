// Natively: the plugin's shared library through dlopen, the C convention.
#include <dlfcn.h>

#include "tools/plugin_library.h"

namespace tools {

const char kPluginSuffix[] = ".cqp.so";
const char kHostLibraryFile[] = "cqapi.so";

namespace {
using InfoFn = const char* (*)();
using PlugmainFn = const char* (*)(const char*, const char*, const char*, const char*, const char*);
}  // namespace

PluginLibrary::~PluginLibrary() {
  if (library_ != nullptr) dlclose(library_);
}

bool PluginLibrary::Load(const std::string& path, std::string* error) {
  path_ = path;
  library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library_ == nullptr) {
    *error = dlerror();
    return false;
  }
  info_ = dlsym(library_, "info");
  plugmain_ = dlsym(library_, "plugmain");
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

void* PluginLibrary::Export(const char* name) const { return dlsym(library_, name); }

bool PluginLibrary::Unload() {
  dlclose(library_);
  library_ = nullptr;
  void* still = dlopen(path_.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (still != nullptr) dlclose(still);
  return still == nullptr;
}

}  // namespace tools
