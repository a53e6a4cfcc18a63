// Which story names may become a story file path: a name comes from a chat
// message, so it must not lead out of the configuration root or name a device.
#pragma once

#include <string_view>

namespace store {

// False for a name that would leave the configuration root or open a device:
// a name beginning with "\" or "/" (also a UNC prefix), any ":" (also a drive
// prefix), a component made only of dots, or a component whose part before
// its first dot is CON, PRN, AUX, NUL, COM1-COM9 or LPT1-LPT9 in any ASCII
// letter case. "/" separates components like "\". The name is walked by
// characters, so the second byte of a two-byte character is never a
// separator, a dot or a letter. The empty name and names with components
// below the root (森林\第一章) are accepted.
bool IsSafeStoryName(std::string_view name);

}  // namespace store
