// What the tools print, composed in UTF-8 and converted once on the way to
// the terminal, and what they read from it.
#pragma once

#include <string>
#include <string_view>

#include "tools/encoding.h"

namespace tools {

void SetTerminal(Terminal terminal);
Terminal CurrentTerminal();

// Writes to standard output or standard error and flushes at once, so that
// texts from the host library and from the tool itself keep their order.
void Say(std::string_view utf8);
void SayError(std::string_view utf8);

}  // namespace tools
