// The shared library's load and unload routines natively. As on Windows,
// nothing is released when the process exits: by the time the library's
// unload routine runs then, the C++ objects it would release (the result
// slots) have already been destroyed by the exit handlers. An exit handler
// registered at load marks that case; at dlclose the unload routine runs
// before it.
#include <stdlib.h>

#include "frame/lifecycle.h"

namespace {
bool g_process_exiting = false;
void MarkProcessExiting() { g_process_exiting = true; }
}  // namespace

__attribute__((constructor)) static void LoadPlugin() {
  atexit(MarkProcessExiting);
  frame::OnLoad();
}
__attribute__((destructor)) static void UnloadPlugin() {
  if (!g_process_exiting) frame::OnUnload();
}
