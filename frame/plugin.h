// What each plugin library supplies to the frame: its info block, the
// handler behind plugmain, and what it releases at unload besides the frame's
// own result slots and the nickname lookup's HTTP client.
#pragma once

#include "frame/result.h"
#include "text/text.h"

namespace frame {

text::Text PluginInfoBlock();

// The message handler. `message` is the frame's own copy and may be replaced
// (both handlers strip it in place); the other texts are read only.
Result PluginMessage(text::Text& message, const text::Text& type, const text::Text& group,
                     const text::Text& sender, const text::Text& fifth);

void PluginUnload();

}  // namespace frame
