// The lines of both info blocks, joined anew at every call of info.
#include "frame/info_block.h"

namespace frame {
namespace {

struct InfoLines {
  const char* name;
  const char* description;
  const char* command;
  const char* hint;
};

text::Text Build(const InfoLines& lines) {
  static constexpr char kVersion[] = "2.0";
  static constexpr char kAuthor[] = "Tamsiel";
  static constexpr char kMessageExport[] = "plugmain";
  static constexpr char kFalse[] = "\xBC\xD9";  // 假
  return text::Concat({lines.name, "\r\n", kVersion, "\r\n", kAuthor, "\r\n", lines.description, "\r\n",
                       lines.command, "\r\n", lines.hint, "\r\n", "", "\r\n", kMessageExport, "\r\n", "1", "\r\n",
                       kFalse, "\r\n"});
}

}  // namespace

text::Text OstrelleInfoBlock() {
  return Build({"Veldrin",
                "\xCC\xF9\xB0\xC9\xD3\xCE\xCF\xB7Veldrin",  // 贴吧游戏Veldrin
                "#\xBF\xAA\xCA\xBC",                        // #开始
                "+\xC3\xB0\xCF\xD5\xD3\xCE\xCF\xB7"});      // +冒险游戏
}

text::Text BrannickInfoBlock() {
  return Build({"Brannick",
                "\xBF\xAA\xCA\xBCVeldrin",              // 开始Veldrin
                "#\xD1\xA1\xD4\xF1",                    // #选择
                "+\xC4\xE3\xB5\xC4\xD1\xA1\xD4\xF1"});  // +你的选择
}

}  // namespace frame
