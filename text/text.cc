// The text operations: byte arithmetic and the character walk.
#include "text/text.h"

#include <algorithm>

namespace text {
namespace {

char FoldCase(char b) { return (b >= 'A' && b <= 'Z') ? static_cast<char>(b + ('a' - 'A')) : b; }

bool MatchesAt(std::string_view t, std::size_t i, std::string_view s, bool ignore_case) {
  for (std::size_t j = 0; j < s.size(); ++j) {
    const char a = t[i + j], b = s[j];
    if (ignore_case ? FoldCase(a) != FoldCase(b) : a != b) return false;
  }
  return true;
}

// One step of the character walk from byte i: the next character start, or
// npos when a lead byte stands last and so ends the walk.
std::size_t NextCharacter(std::string_view t, std::size_t i) {
  if (!IsLeadByte(t[i])) return i + 1;
  if (i + 1 == t.size()) return std::string_view::npos;
  return i + 2;
}

Text Copy(std::string_view t) { return Text(t.data(), t.size()); }

}  // namespace

std::int32_t Length(std::string_view t) { return static_cast<std::int32_t>(t.size()); }

int Compare(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

Text Concat(std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (auto p : parts) total += p.size();
  Text out;
  out.reserve(total);
  for (auto p : parts) out.append(p.data(), p.size());
  return out;
}

std::int32_t Find(std::string_view t, std::string_view s, std::int32_t start, bool ignore_case) {
  const std::size_t n = t.size(), k = s.size();
  const std::size_t b = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (k == 0) return b < n ? 1 : -1;
  std::size_t i = b;
  while (i < n && n - i >= k) {
    if (MatchesAt(t, i, s, ignore_case)) return static_cast<std::int32_t>(i + 1);
    i = NextCharacter(t, i);
    if (i == std::string_view::npos) return -1;
  }
  return -1;
}

Text Mid(std::string_view t, std::int32_t pos, std::int32_t count) {
  const std::int64_t n = static_cast<std::int64_t>(t.size());
  if (pos < 1 || pos > n || count <= 0) return Text();
  const std::int64_t last = std::min<std::int64_t>(static_cast<std::int64_t>(pos) + count - 1, n);
  return Copy(t.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(last - pos + 1)));
}

Text Replace(std::string_view t, std::string_view s, std::string_view r) {
  if (t.empty() || s.empty()) return Copy(t);
  const std::size_t n = t.size(), k = s.size();
  Text out;
  out.reserve(n);
  std::size_t i = 0;
  while (n - i >= k) {
    if (MatchesAt(t, i, s, false)) {
      out.append(r.data(), r.size());
      i += k;
      continue;
    }
    const std::size_t next = NextCharacter(t, i);
    if (next == std::string_view::npos) return out;  // the lone lead byte is dropped
    out.append(t.data() + i, next - i);
    i = next;
  }
  out.append(t.data() + i, n - i);
  return out;
}

TextList Split(std::string_view t, std::string_view sep) {
  TextList members;
  if (t.empty()) return members;
  if (sep.empty()) {
    members.push_back(Copy(t));
    return members;
  }
  const std::size_t n = t.size(), k = sep.size();
  std::size_t i = 0, begin = 0;
  while (n - i >= k) {
    if (MatchesAt(t, i, sep, false)) {
      members.push_back(Copy(t.substr(begin, i - begin)));
      i += k;
      begin = i;
      continue;
    }
    i = NextCharacter(t, i);
    if (i == std::string_view::npos) break;
  }
  if (begin < n) members.push_back(Copy(t.substr(begin)));
  return members;
}

Text BytesToText(std::string_view block) { return Copy(block.substr(0, block.find('\0'))); }

Text TextBetween(std::string_view t, std::string_view start_marker, std::string_view end_marker) {
  // Plain 32-bit arithmetic on unchecked results: a missing start marker
  // makes the text begin at byte a-1, as the callers of 取文本之间 expect.
  const std::int32_t a = Length(start_marker);
  const std::int32_t s = Find(t, start_marker, kNoStart, true) + a;
  const std::int32_t e = Find(t, end_marker, s, true);
  return Mid(t, s, e - s);
}

Text Strip(Text& v) {
  static constexpr std::string_view kPasses[] = {" ", "\r\n", "\\r", "\\n"};
  for (auto removed : kPasses) v = Replace(View(v), removed, {});
  return v;
}

}  // namespace text
