// Conversions between code page 936 (GBK), UTF-8 and the terminal's
// encoding. The game's texts are GBK bytes; what the tools print is composed
// in UTF-8 and converted once, on the way out.
#pragma once

#include <string>
#include <string_view>

namespace tools {

// Strict conversions: false (and `out` unspecified) when `in` is not valid in
// its encoding or holds a character the other cannot represent.
bool GbkToUtf8(std::string_view in, std::string* out);
bool Utf8ToGbk(std::string_view in, std::string* out);

// The number of bytes of the GBK character that begins at `at`: 2 for a
// lead byte (text::IsLeadByte) with a byte after it, else 1.
std::size_t GbkCharSize(std::string_view gbk, std::size_t at);

// For showing a GBK text whatever it holds: a byte that does not start a
// valid character is shown as "\xNN".
std::string ShowGbk(std::string_view gbk);

// The first `characters` characters of a GBK text, shown, with "…" when
// the text is longer.
std::string ShowGbkOpening(std::string_view gbk, std::size_t characters);

enum class Terminal {
  kNative,  // natively UTF-8; on Windows the console's code page
  kUtf8,
  kGbk,
};

// UTF-8 to the terminal's encoding, and back; characters the terminal cannot
// show become "?". Platform part for kNative.
std::string ToTerminal(Terminal terminal, std::string_view utf8);
std::string FromTerminal(Terminal terminal, std::string_view bytes);

// Platform part: a command-line argument as UTF-8 (natively arguments are
// UTF-8; on Windows they come in the ANSI code page, whatever --encoding says).
std::string Utf8FromArgument(std::string_view argument);

// Platform part: UTF-8 to the native terminal's encoding and back.
std::string ToNativeTerminal(std::string_view utf8);
std::string FromNativeTerminal(std::string_view bytes);

}  // namespace tools
