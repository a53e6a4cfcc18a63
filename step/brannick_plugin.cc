// The step plugin Brannick: its info block and its message handler.
#include "frame/info_block.h"
#include "frame/plugin.h"

namespace frame {

text::Text PluginInfoBlock() { return BrannickInfoBlock(); }

Result PluginMessage(text::Text& message, const text::Text& type, const text::Text&, const text::Text&,
                     const text::Text&) {
  text::Strip(message);
  if (text::Compare(text::View(type), "2") != 0) return Result(text::Text());
  return std::nullopt;
}

void PluginUnload() {}

}  // namespace frame
