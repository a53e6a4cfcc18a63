// The parts of the HTTP fetch that are the same on every platform.
#include "nickname/http_fetch.h"

#include <algorithm>

namespace nickname {

namespace {

constexpr std::size_t kMaxBehindHost = 2047;
constexpr std::size_t kDefaultReadBuffer = 10240;
constexpr std::size_t kMaxReadBuffer = 102400;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool RequestTarget(std::string_view behind_host, text::Text* target) {
  if (behind_host.size() > kMaxBehindHost) return false;
  const std::string_view sent = behind_host.substr(0, behind_host.find('#'));
  *target = sent.empty() || sent.front() != '/' ? text::Concat({"/", sent}) : text::Concat({sent});
  return true;
}

std::size_t ReadBufferSize(std::string_view content_length) {
  if (content_length.empty()) return kDefaultReadBuffer;
  // Counting stops at the cap, so no length of digits can overflow.
  std::size_t value = 0;
  for (char c : content_length) {
    if (!IsDigit(c)) return kDefaultReadBuffer;
    value = std::min(value * 10 + static_cast<std::size_t>(c - '0'), kMaxReadBuffer);
  }
  if (value == 0) return kDefaultReadBuffer;
  return std::min(value + 1, kMaxReadBuffer);
}

bool AppendPiece(Body& body, const char* piece, std::size_t n) {
  const std::size_t room = kBodyLimit - body.size();
  body.insert(body.end(), piece, piece + std::min(n, room));
  return body.size() < kBodyLimit;
}

}  // namespace nickname
