// Natively: a UTF-8 terminal and UTF-8 arguments.
#include "tools/encoding.h"

namespace tools {

std::string Utf8FromArgument(std::string_view argument) { return std::string(argument); }

std::string ToNativeTerminal(std::string_view utf8) { return std::string(utf8); }

std::string FromNativeTerminal(std::string_view bytes) { return std::string(bytes); }

}  // namespace tools
