// Natively: the host library through dlopen and dlsym, called with the C
// convention, which leaves nothing to check about the stack.
#include <dlfcn.h>

#include "step/host_call.h"

namespace step {

const char kHostLibraryName[] = "cqapi.so";

void* LoadHostLibrary(const text::Text& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* FindHostExport(void* library, const char* name) { return dlsym(library, name); }

void FreeHostLibrary(void* library) { dlclose(library); }

bool CallHostSend(void* send, const char* group, const char* message) {
  using Send = int (*)(const char*, const char*);
  reinterpret_cast<Send>(send)(group, message);
  return true;
}

}  // namespace step
