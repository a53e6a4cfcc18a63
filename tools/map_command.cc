// veldrin map: the story tree as DOT, and as SVG through Graphviz.
#include <fstream>
#include <iterator>

#include "tools/check.h"
#include "tools/commands.h"
#include "tools/console.h"
#include "tools/map.h"
#include "tools/stage.h"

namespace tools {

int MapCommand(const Args& args) {
  std::string story_path, dot_path, svg_path;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size())
      dot_path = args[++i];
    else if (args[i] == "--svg" && i + 1 < args.size())
      svg_path = args[++i];
    else if (story_path.empty() && !args[i].empty() && args[i][0] != '-')
      story_path = args[i];
    else
      story_path.clear(), i = args.size();
  }
  if (story_path.empty()) {
    SayError(u8"用法：veldrin map 游戏.ini [-o 图.dot] [--svg 图.svg]\n");
    return 2;
  }
  std::ifstream in(story_path, std::ios::binary);
  if (!in) {
    SayError(u8"无法读取 " + Utf8FromArgument(story_path) + "\n");
    return 1;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::optional<Story> story;
  CheckStory(Utf8FromArgument(story_path), bytes, Language::kChinese, &story);
  if (!story) {
    SayError(Utf8FromArgument(story_path) + u8"：不是 GBK 文件，先运行 veldrin check --fix-encoding\n");
    return 1;
  }
  const std::string dot = StoryMapDot(*story);
  if (dot_path.empty() && svg_path.empty()) {
    std::fwrite(dot.data(), 1, dot.size(), stdout);
    return 0;
  }
  const std::string dot_file = dot_path.empty() ? svg_path + ".dot" : dot_path;
  std::ofstream(dot_file, std::ios::binary | std::ios::trunc) << dot;
  if (svg_path.empty()) return 0;
  const int status = RunProgram("dot", {"-Tsvg", "-o", svg_path, dot_file});
  if (dot_path.empty()) std::remove(dot_file.c_str());
  if (status != 0) {
    SayError(u8"Graphviz 的 dot 没有运行成功（装上 graphviz 再试）；DOT 可以用 -o 写出\n");
    return 1;
  }
  return 0;
}

}  // namespace tools
