// The test client's platform part on Windows: the library's WinINet session
// calls routed through counters by rewriting its import address table.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <psapi.h>
#include <wininet.h>

#include <cstring>
#include <set>

#include "tests/nickname/client_host.h"

namespace client {

namespace {

using NicknameExport = const char*(__stdcall*)(const char*);

std::set<HINTERNET> g_sessions;
int g_made = 0;
int g_released = 0;

HINTERNET WINAPI CountingOpen(LPCSTR agent, DWORD access, LPCSTR proxy, LPCSTR bypass, DWORD flags) {
  HINTERNET h = InternetOpenA(agent, access, proxy, bypass, flags);
  if (h != nullptr && g_sessions.insert(h).second) ++g_made;
  return h;
}

BOOL WINAPI CountingClose(HINTERNET h) {
  if (g_sessions.erase(h) > 0) ++g_released;
  return InternetCloseHandle(h);
}

// Points the module's imports of InternetOpenA and InternetCloseHandle at the
// counting functions; false unless both were found.
bool WatchSessions(HMODULE module) {
  BYTE* base = reinterpret_cast<BYTE*>(module);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  int watched = 0;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name != 0; ++d) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), "wininet.dll") != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const char* name = reinterpret_cast<const char*>(
          reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name);
      ULONG_PTR counting = 0;
      if (std::strcmp(name, "InternetOpenA") == 0) counting = reinterpret_cast<ULONG_PTR>(&CountingOpen);
      if (std::strcmp(name, "InternetCloseHandle") == 0) counting = reinterpret_cast<ULONG_PTR>(&CountingClose);
      if (counting == 0) continue;
      DWORD old = 0;
      if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old)) return false;
      slots->u1.Function = counting;
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
      ++watched;
    }
  }
  return watched == 2;
}

}  // namespace

bool WatchClients(void* library) { return WatchSessions(static_cast<HMODULE>(library)); }

const char* CallNickname(void* nickname, const char* account) {
  return reinterpret_cast<NicknameExport>(nickname)(account);
}

int ClientsMade() { return g_made; }
int ClientsReleased() { return g_released; }

std::size_t PeakMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return counters.PeakWorkingSetSize;
}

}  // namespace client
