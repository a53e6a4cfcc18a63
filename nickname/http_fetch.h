// The HTTP GET behind the nickname lookup, one implementation per platform
// (WinINet on Windows, libcurl elsewhere), and the rules both follow.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace nickname {

// The bytes of an answer's body, zero bytes included.
using Body = std::vector<char, text::Allocator<char>>;

// The most bytes of one body that are kept. A service that never stops
// sending would otherwise fill the host's memory; a real answer carries the
// nickname in its first few hundred bytes.
constexpr std::size_t kBodyLimit = std::size_t{1} << 20;

// The body of the answer to a GET of `url` ("http://host[:port]/..."),
// whatever the answer's status, after any redirects. Empty when nothing was
// requested or no answer came; the bytes received so far when a read failed or
// kBodyLimit was reached. Creates the library's HTTP client on first use and
// keeps it for later fetches (released by ReleaseHttpClient, nickname/lookup.h).
// Blocks until the exchange has ended.
Body HttpFetch(std::string_view url);

// Puts in `*target` the request target for what follows the host (and port)
// in a URL: the bytes before the first "#", sent as they are, with a leading
// "/" added when they lack one. False, with nothing to request, when what
// follows the host is longer than 2047 bytes.
bool RequestTarget(std::string_view behind_host, text::Text* target);

// How many bytes one read asks for, given the Content-Length value of the
// answer (empty when it has none): the value plus one, at most 102400; 10240
// when the value is missing or not a positive decimal number.
std::size_t ReadBufferSize(std::string_view content_length);

// Appends to `body` as many of the `n` bytes as fit under kBodyLimit. False
// once the body is full: reading stops there.
bool AppendPiece(Body& body, const char* piece, std::size_t n);

}  // namespace nickname
