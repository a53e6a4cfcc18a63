// The shared library's load and unload routines natively.
#include "frame/lifecycle.h"

__attribute__((constructor)) static void LoadPlugin() { frame::OnLoad(); }
__attribute__((destructor)) static void UnloadPlugin() { frame::OnUnload(); }
