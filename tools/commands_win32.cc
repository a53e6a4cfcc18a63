// The Windows program is the console host alone: check and map read the
// story files with the store's native profile rules, which the Linux build
// carries.
#include "tools/commands.h"
#include "tools/console.h"

namespace tools {

int CheckCommand(const Args&) {
  SayError(u8"Windows 版 veldrin.exe 只有 play；check 和 map 请在 Linux 版里运行\n");
  return 2;
}

int MapCommand(const Args& args) { return CheckCommand(args); }

}  // namespace tools
