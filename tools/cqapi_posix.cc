// Natively: our host library cqapi.so. The step plugin calls
// api_message_group_send; the message goes to the console program that
// loaded the plugin, which shows it at once.
#include <dlfcn.h>

#include "tools/host_post.h"

extern "C" __attribute__((visibility("default"))) int api_message_group_send(const char* group, const char* text) {
  const auto post = reinterpret_cast<tools::HostPost>(dlsym(RTLD_DEFAULT, tools::kHostPostName));
  if (post != nullptr) post(group, text);
  return 0;
}
