// The start plugin Ostrelle: its info block and its message handler.
#include "frame/info_block.h"
#include "frame/plugin.h"

namespace frame {

text::Text PluginInfoBlock() { return OstrelleInfoBlock(); }

Result PluginMessage(text::Text& message, const text::Text& type, const text::Text&, const text::Text&,
                     const text::Text&) {
  text::Strip(message);
  if (text::Compare(text::View(type), "2") != 0)
    return Result(text::Text("\xC7\xEB\xD4\xDA\xC8\xBA\xC0\xEF\xCA\xB9\xD3\xC3\xB1\xBE\xB9\xA6\xC4\xDC"));  // 请在群里使用本功能
  return std::nullopt;
}

void PluginUnload() {}

}  // namespace frame
