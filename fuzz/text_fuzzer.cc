// Fuzz target of the text operations: no crash, and the properties each
// routine keeps for any bytes. Input: text, search text and end marker,
// separated by zero bytes (which no text holds), then an option byte (bit 0:
// ignore case) and a signed start position byte.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text/text.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

char Fold(char b) { return (b >= 'A' && b <= 'Z') ? static_cast<char>(b + ('a' - 'A')) : b; }

bool MatchesAt(std::string_view t, std::size_t i, std::string_view s, bool ignore_case) {
  if (i + s.size() > t.size()) return false;
  for (std::size_t j = 0; j < s.size(); ++j) {
    if (ignore_case ? Fold(t[i + j]) != Fold(s[j]) : t[i + j] != s[j]) return false;
  }
  return true;
}

// True when byte i is a character start of a walk that begins at byte `from`.
bool IsWalkPosition(std::string_view t, std::size_t from, std::size_t i) {
  std::size_t p = from;
  while (p < i) p += text::IsLeadByte(t[p]) ? 2 : 1;
  return p == i;
}

bool IsSubstring(std::string_view part, std::string_view whole) {
  return whole.find(part) != std::string_view::npos;
}

bool IsSubsequence(std::string_view part, std::string_view whole) {
  std::size_t j = 0;
  for (char c : whole) {
    if (j < part.size() && part[j] == c) ++j;
  }
  return j == part.size();
}

// The bytes that no strip pass can remove, in order.
text::Text Unremovable(std::string_view t) {
  text::Text out;
  for (char c : t) {
    if (c != ' ' && c != '\r' && c != '\n' && c != '\\' && c != 'r' && c != 'n') out.push_back(c);
  }
  return out;
}

// The text, or the text without a lone lead byte at its end: what a one-byte
// search text leaves of a text it does not occur in.
bool IsTextOrTextWithoutTrailingLeadByte(std::string_view result, std::string_view t) {
  if (result == t) return true;
  return !t.empty() && text::IsLeadByte(t.back()) && result == t.substr(0, t.size() - 1);
}

void CheckFind(std::string_view t, std::string_view s, std::int32_t start, bool ignore_case) {
  const std::int32_t p = text::Find(t, s, start, ignore_case);
  if (p == -1) return;
  Check(p >= 1 && static_cast<std::size_t>(p) <= t.size());
  if (s.empty()) {
    Check(p == 1);
    return;
  }
  const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  const std::size_t i = static_cast<std::size_t>(p) - 1;
  Check(i >= from && IsWalkPosition(t, from, i));
  Check(MatchesAt(t, i, s, ignore_case));
}

void CheckSplit(std::string_view t, std::string_view sep) {
  const text::TextList members = text::Split(t, sep);
  if (t.empty()) Check(members.empty());
  text::Text joined;
  for (std::size_t i = 0; i < members.size(); ++i) {
    if (i > 0) joined.append(sep.data(), sep.size());
    joined += members[i];
  }
  // A separator at the very end adds no empty last member, so only then the
  // joined members lack one separator at their end.
  const bool whole = text::View(joined) == t;
  const bool all_but_last_separator =
      !sep.empty() && joined.size() + sep.size() == t.size() && t.substr(0, joined.size()) == text::View(joined) &&
      t.substr(joined.size()) == sep;
  Check(whole || all_but_last_separator);
}

void CheckStrip(std::string_view t) {
  text::Text v(t.data(), t.size());
  const text::Text copy = text::Strip(v);
  Check(copy == v);
  Check(copy.empty() || copy.data() != v.data());
  // Passes only remove bytes, and only these six kinds of byte, apart from a
  // lone lead byte at the very end that the space pass drops.
  Check(IsSubsequence(text::View(v), t));
  Check(IsTextOrTextWithoutTrailingLeadByte(text::View(Unremovable(text::View(v))), text::View(Unremovable(t))));
  // No space is left at a character start: later passes remove whole ASCII
  // characters, so the characters around them keep their boundaries. (CR LF
  // and \r, \n pairs can form again when a pass joins neighbours.)
  for (std::size_t i = 0; i < v.size(); i += text::IsLeadByte(v[i]) ? 2 : 1) Check(v[i] != ' ');
}

void CheckTextBetween(std::string_view t, std::string_view a, std::string_view z) {
  const text::Text between = text::TextBetween(t, a, z);
  Check(IsSubstring(text::View(between), t));
  if (z.empty() || t.empty()) Check(between.empty());
}

void CheckReplace(std::string_view t, std::string_view s, std::string_view r) {
  const text::Text same = text::Replace(t, s, s);
  const text::Text replaced = text::Replace(t, s, r);
  if (s.size() == 1) {
    Check(IsTextOrTextWithoutTrailingLeadByte(text::View(same), t));
  } else {
    Check(text::View(same) == t);
    if (text::Find(t, s, text::kNoStart, false) == -1) Check(text::View(replaced) == t);
  }
}

void CheckMidAndCompare(std::string_view t, std::string_view s, std::int32_t pos) {
  const text::Text mid = text::Mid(t, pos, text::Length(s));
  Check(IsSubstring(text::View(mid), t) && mid.size() <= s.size());
  Check(text::Compare(t, t) == 0 && text::Compare(t, s) == -text::Compare(s, t));
  Check(text::Concat({t, s}).size() == t.size() + s.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::string_view parts[3];
  for (auto& part : parts) {
    const std::size_t end = rest.find('\0');
    part = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  const std::string_view t = parts[0], s = parts[1], z = parts[2];
  const bool ignore_case = !rest.empty() && (rest[0] & 1) != 0;
  const std::int32_t start = rest.size() > 1 ? static_cast<std::int8_t>(rest[1]) : text::kNoStart;

  CheckFind(t, s, start, ignore_case);
  CheckSplit(t, s);
  CheckStrip(t);
  CheckTextBetween(t, s, z);
  CheckReplace(t, s, z);
  CheckMidAndCompare(t, s, start);
  Check(text::View(text::BytesToText(std::string_view(reinterpret_cast<const char*>(data), size))) == parts[0]);
  return 0;
}
