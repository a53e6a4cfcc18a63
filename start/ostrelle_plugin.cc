// The start plugin Ostrelle: its info block and its message handler.
#include "frame/info_block.h"
#include "frame/plugin.h"
#include "start/start_handler.h"

namespace frame {

text::Text PluginInfoBlock() { return OstrelleInfoBlock(); }

Result PluginMessage(text::Text& message, const text::Text& type, const text::Text& group, const text::Text& sender,
                     const text::Text&) {
  return start::StartHandler(message, type, group, sender);
}

void PluginUnload() {}

}  // namespace frame
