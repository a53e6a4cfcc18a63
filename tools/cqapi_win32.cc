// On Windows: our host library cqapi.dll. The step plugin calls
// api_message_group_send (stdcall, two texts); the message goes to the
// console program that loaded the plugin, which shows it at once.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "tools/host_post.h"

extern "C" int __stdcall api_message_group_send(const char* group, const char* text) {
  const auto post =
      reinterpret_cast<tools::HostPost>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(nullptr), tools::kHostPostName)));
  if (post != nullptr) post(group, text);
  return 0;
}
