// The info blocks of the two plugin libraries: ten lines, each ending with
// CR LF, that tell the host the plugin's name, command and message export.
#pragma once

#include "text/text.h"

namespace frame {

text::Text OstrelleInfoBlock();  // the start plugin, command #开始
text::Text BrannickInfoBlock();  // the step plugin, command #选择

}  // namespace frame
