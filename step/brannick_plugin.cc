// The step plugin Brannick: its info block, its message handler, and the host
// library it releases at unload.
#include "frame/info_block.h"
#include "frame/plugin.h"
#include "step/host_call.h"
#include "step/step_handler.h"

namespace frame {

text::Text PluginInfoBlock() { return BrannickInfoBlock(); }

Result PluginMessage(text::Text& message, const text::Text& type, const text::Text& group, const text::Text&,
                     const text::Text&) {
  return step::StepHandler(message, type, group);
}

void PluginUnload() { step::ReleaseHostLibrary(); }

}  // namespace frame
