// How our host library hands a posted group message to the console host: the
// console program exports one function by this name, and the library looks
// it up in the program that loaded it.
#pragma once

#if defined(_WIN32)
#define HOST_POST_EXPORT extern "C" __declspec(dllexport)
#else
#define HOST_POST_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace tools {

constexpr char kHostPostName[] = "veldrin_host_post";

// The group number and the message text, GBK, as the plugin passed them.
using HostPost = void (*)(const char* group, const char* text);

}  // namespace tools
