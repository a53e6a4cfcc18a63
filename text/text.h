// Texts and the operations on them: code-page-936 bytes, measured and walked
// byte by byte, where a byte of 0x80 or more begins a two-byte character.
//
// A Text never holds a zero byte. The missing text and the empty text are the
// same value here (an empty Text); where the difference matters to the host,
// the frame decides it (frame/result.h). Every operation returns a new text
// that the caller owns; only Strip changes its argument.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "text/text_alloc.h"

namespace text {

using Text = std::basic_string<char, std::char_traits<char>, Allocator<char>>;
using TextList = std::vector<Text, Allocator<Text>>;

inline std::string_view View(const Text& t) { return {t.data(), t.size()}; }

// True for a byte that begins a two-byte character, whatever byte follows it.
inline bool IsLeadByte(char b) { return static_cast<unsigned char>(b) >= 0x80; }

// Number of bytes.
std::int32_t Length(std::string_view t);

// -1, 0 or 1, comparing unsigned bytes; a proper beginning is the smaller.
int Compare(std::string_view a, std::string_view b);

// The texts one after the other.
Text Concat(std::initializer_list<std::string_view> parts);

// Position (from 1) of the first occurrence of `s` in `t` at a character start,
// beginning at byte `start` (positions below 1 count as 1), or -1. An empty
// `s` gives 1 while at least one byte remains. `ignore_case` folds A-Z onto
// a-z, byte by byte.
constexpr std::int32_t kNoStart = 0;
std::int32_t Find(std::string_view t, std::string_view s, std::int32_t start,
                  bool ignore_case);

// Bytes `pos` to `pos + count - 1` (from 1), as many as exist; empty when `pos`
// lies outside `t` or `count` is not positive. May cut a two-byte character.
Text Mid(std::string_view t, std::int32_t pos, std::int32_t count);

// Every occurrence of `s` at a character start replaced by `r`, left to right
// in one pass. With a one-byte `s`, a lone lead byte at the end is dropped.
Text Replace(std::string_view t, std::string_view s, std::string_view r);

// The pieces between occurrences of `sep`; a trailing separator adds no empty
// last member, and the empty text gives no members.
TextList Split(std::string_view t, std::string_view sep);

// The bytes before the first zero byte of a byte block.
Text BytesToText(std::string_view block);

// The text between the first start marker and the next end marker, both found
// without regard to ASCII letter case (the routine behind 取文本之间).
Text TextBetween(std::string_view t, std::string_view start_marker,
                 std::string_view end_marker);

// Removes spaces, CR LF pairs and the two-character sequences \r and \n from
// `v` in place, in four passes, and returns a separate copy of the result
// (the routine behind 去空格换行).
Text Strip(Text& v);

}  // namespace text
