// Natively: the plugin's shared library through dlopen.
#include <dlfcn.h>

#include "tools/plugin_library.h"

namespace tools {

const char kPluginSuffix[] = ".cqp.so";
const char kHostLibraryFile[] = "cqapi.so";

PluginLibrary::~PluginLibrary() {
  if (library_ != nullptr) dlclose(library_);
}

bool PluginLibrary::Open(std::string* error) {
  library_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library_ == nullptr) *error = dlerror();
  return library_ != nullptr;
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
