// Standard output and standard error in the terminal's encoding.
#include "tools/console.h"

#include <cstdio>

namespace tools {
namespace {
Terminal g_terminal = Terminal::kNative;

void Write(std::FILE* f, std::string_view utf8) {
  const std::string bytes = ToTerminal(g_terminal, utf8);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fflush(f);
}
}  // namespace

void SetTerminal(Terminal terminal) { g_terminal = terminal; }
Terminal CurrentTerminal() { return g_terminal; }
void Say(std::string_view utf8) { Write(stdout, utf8); }
void SayError(std::string_view utf8) { Write(stderr, utf8); }

}  // namespace tools
