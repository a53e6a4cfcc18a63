// What the nickname test client needs from the platform: loading a plugin
// library and calling its 获取昵称 export, counting the HTTP clients that the
// loaded libraries make and release, and the process's peak memory.
#pragma once

#include <cstddef>

namespace client {

struct Plugin;

// The library at `path` with its nickname export found by its GBK name and
// the library's HTTP client watched; nullptr when either is missing.
Plugin* LoadPlugin(const char* path);

// Lets the library go; false when the system keeps it loaded all the same
// (natively, a library holding a GNU unique symbol stays until exit).
bool UnloadPlugin(Plugin* plugin);

// What the export returns for `account`, which may be null.
const char* GetNickname(Plugin* plugin, const char* account);

// Platform part of the loading: counts the HTTP clients of the library whose
// system handle is `library`; false when that cannot be set up.
bool WatchClients(void* library);
// Platform part: calls the nickname export at `nickname` in the platform's
// convention.
const char* CallNickname(void* nickname, const char* account);

// HTTP clients made and released by the libraries since the program began:
// WinINet sessions (InternetOpenA) or libcurl easy handles.
int ClientsMade();
int ClientsReleased();

// The most memory the process has held at once, in bytes.
std::size_t PeakMemory();

}  // namespace client
