// The test client's platform part natively: the plugins' libcurl easy
// handles counted by defining curl_easy_init and curl_easy_cleanup in the
// program, where every call of them resolves first.
#include <curl/curl.h>
#include <dlfcn.h>

#include <cstdio>
#include <set>

#include "tests/nickname/client_host.h"

namespace client {

namespace {

using NicknameExport = const char* (*)(const char*);

// Never destroyed: a library that stays loaded until exit frees its handle
// after the program's own objects are gone.
std::set<CURL*>& g_handles = *new std::set<CURL*>;
int g_made = 0;
int g_released = 0;

template <class F>
F Next(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// libcurl makes and frees handles of its own through the same functions;
// only the calls from elsewhere are the plugins'.
bool CalledFromLibcurl(void* caller, void* libcurl_function) {
  Dl_info from{}, curl{};
  return dladdr(caller, &from) != 0 && dladdr(libcurl_function, &curl) != 0 && from.dli_fbase == curl.dli_fbase;
}

}  // namespace

// The counting needs nothing of the library: every call resolves to the
// program's functions first.
bool WatchClients(void*) { return true; }

const char* CallNickname(void* nickname, const char* account) {
  return reinterpret_cast<NicknameExport>(nickname)(account);
}

int ClientsMade() { return g_made; }
int ClientsReleased() { return g_released; }

std::size_t PeakMemory() {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (f == nullptr) return 0;
  char line[256];
  std::size_t kib = 0;
  while (std::fgets(line, sizeof line, f) != nullptr)
    if (std::sscanf(line, "VmHWM: %zu kB", &kib) == 1) break;
  std::fclose(f);
  return kib * 1024;
}

}  // namespace client

extern "C" __attribute__((visibility("default"))) CURL* curl_easy_init() {
  static auto next = client::Next<CURL* (*)()>("curl_easy_init");
  CURL* handle = next();
  if (handle != nullptr && !client::CalledFromLibcurl(__builtin_return_address(0), reinterpret_cast<void*>(next)) &&
      client::g_handles.insert(handle).second)
    ++client::g_made;
  return handle;
}

extern "C" __attribute__((visibility("default"))) void curl_easy_cleanup(CURL* handle) {
  static auto next = client::Next<void (*)(CURL*)>("curl_easy_cleanup");
  if (client::g_handles.erase(handle) > 0) ++client::g_released;
  next(handle);
}
