// veldrin: the operators' tool for the story plugins: play, check, map.
#include <string>

#include "tools/commands.h"
#include "tools/console.h"

namespace {

constexpr char kUsage[] =
    u8"veldrin —— 故事插件的操作工具\n"
    u8"  veldrin play  [选项]            在控制台里试玩（载入真插件）\n"
    u8"  veldrin check [选项] 游戏.ini   检查故事文件和生存配置.ini\n"
    u8"  veldrin map   游戏.ini          画出故事树（Graphviz DOT / SVG）\n"
    u8"全局选项：--encoding native|utf-8|gbk  终端的编码（默认：Linux 为 UTF-8，Windows 为控制台代码页）\n";

}  // namespace

int main(int argc, char** argv) {
  tools::Args args(argv + 1, argv + argc);
  tools::Args whole = args;
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] != "--encoding") continue;
    const std::string& v = args[i + 1];
    tools::SetTerminal(v == "utf-8" ? tools::Terminal::kUtf8 : v == "gbk" ? tools::Terminal::kGbk : tools::Terminal::kNative);
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    break;
  }
  if (args.empty()) {
    tools::SayError(kUsage);
    return 2;
  }
  const std::string command = args[0];
  const tools::Args rest(args.begin() + 1, args.end());
  if (command == "play") return tools::PlayCommand(rest, whole);
  if (command == "check") return tools::CheckCommand(rest);
  if (command == "map") return tools::MapCommand(rest);
  tools::SayError(kUsage);
  return 2;
}
