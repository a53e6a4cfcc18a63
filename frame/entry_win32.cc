// The library's entry point on Windows: load at process attach, unload when
// the host frees the library. At process exit nothing is released: the system
// reclaims it, and WinINet must not be called under the loader lock then.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "frame/lifecycle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    frame::OnLoad();
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    frame::OnUnload();
  }
  return TRUE;
}
