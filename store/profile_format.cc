// The profile-file format: parsing, the name and key rules, reads and the
// rewrite after a write.
#include "store/profile_format.h"

#include <iconv.h>

#include <cstring>

namespace store {
namespace {

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr std::size_t kUtf8MarkSize = 3;
constexpr char kUtf16LeMark[] = "\xFF\xFE";
constexpr char kUtf16BeMark[] = "\xFE\xFF";
constexpr std::size_t kUtf16MarkSize = 2;

// Names and values end at a zero byte.
std::string_view CutAtZero(std::string_view v) { return v.substr(0, v.find('\0')); }

bool IsLineBreak(char c) { return c == '\n' || c == '\r'; }

// Blanks as the routines trim them: the ASCII control blanks, DOS end-of-file
// and the space. Line breaks never reach here inside a line.
bool IsBlank(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return (b >= 0x09 && b <= 0x0D) || b == 0x1A || b == 0x20;
}

std::string_view TrimRight(std::string_view v) {
  while (!v.empty() && IsBlank(v.back())) v.remove_suffix(1);
  return v;
}

std::string_view TrimLeft(std::string_view v) {
  while (!v.empty() && IsBlank(v.front())) v.remove_prefix(1);
  return v;
}

// Bytes of the character that begins at `i` (a lead byte at the very end
// stands alone).
std::size_t CharSize(std::string_view v, std::size_t i) {
  return text::IsLeadByte(v[i]) && i + 1 < v.size() ? 2 : 1;
}

// Position of the last "]" that is a character of its own, or npos. In UTF-8
// no byte of a longer character is ever an ASCII byte.
std::size_t LastCloseBracket(std::string_view line, bool utf8) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < line.size(); i += utf8 ? 1 : CharSize(line, i))
    if (line[i] == ']') found = i;
  return found;
}

// "=" never is the second byte of a two-byte character, so the first one is
// the separator.
std::size_t FirstEquals(std::string_view line) { return line.find('='); }

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

text::Text Convert(const char* to, const char* from, std::string_view in, bool* ok) {
  *ok = false;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return text::Text();
  text::Text out(in.size() * 2 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char* dst = &out[0];
  std::size_t dst_left = out.size();
  const std::size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) return text::Text();
  out.resize(out.size() - dst_left);
  *ok = true;
  return out;
}

// A text of a UTF-8 file in code page 936; what cannot be converted matches
// nothing and reads as missing.
text::Text FromFile(const ProfileLayout& layout, std::string_view v, bool* ok) {
  if (!layout.utf8) {
    *ok = true;
    return text::Text(v.data(), v.size());
  }
  return Convert("CP936", "UTF-8", v, ok);
}

text::Text ToFile(bool utf8, std::string_view v, bool* ok) {
  if (!utf8) {
    *ok = true;
    return text::Text(v.data(), v.size());
  }
  return Convert("UTF-8", "CP936", v, ok);
}

bool SameFileName(const ProfileLayout& layout, std::string_view file_name, std::string_view name) {
  if (!layout.utf8) return SameProfileName(file_name, name);
  bool ok = false;
  const text::Text converted = FromFile(layout, file_name, &ok);
  return ok && SameProfileName(text::View(converted), name);
}

// One line of the file: the bytes up to the next line break, without the
// blanks at both ends. Runs of CR and LF end a line together, so blank lines
// vanish.
struct LineCursor {
  std::string_view bytes;
  std::size_t pos = 0;
  int number = 0;

  bool Next(std::string_view* line) {
    while (pos < bytes.size()) {
      const std::size_t start = pos;
      while (pos < bytes.size() && !IsLineBreak(bytes[pos])) ++pos;
      const std::size_t end = pos;
      while (pos < bytes.size() && IsLineBreak(bytes[pos])) {
        // CR LF is one line break; any other CR or LF is one of its own.
        if (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') ++pos;
        ++pos;
        ++number;
      }
      if (pos == bytes.size() && end == pos) ++number;
      const std::string_view t = TrimLeft(TrimRight(bytes.substr(start, end - start)));
      if (!t.empty()) {
        *line = t;
        return true;
      }
    }
    return false;
  }
};

// The name of a header line, without the blanks inside the brackets, or
// false for any other line.
bool HeaderName(std::string_view line, bool utf8, std::string_view* name) {
  if (line.empty() || line[0] != '[') return false;
  const std::size_t close = LastCloseBracket(line, utf8);
  if (close == std::string_view::npos) return false;
  *name = CutAtZero(TrimLeft(TrimRight(line.substr(1, close - 1))));
  return true;
}

ProfileKeyLine KeyLine(std::string_view line) {
  ProfileKeyLine key;
  const std::size_t eq = FirstEquals(line);
  if (eq == std::string_view::npos) {
    key.name = CutAtZero(line);
  } else {
    key.name = CutAtZero(TrimRight(line.substr(0, eq)));
    key.value = CutAtZero(TrimLeft(line.substr(eq + 1)));
    key.has_value = true;
  }
  return key;
}

bool StartsWith(std::string_view bytes, const char* mark, std::size_t size) {
  return bytes.size() >= size && bytes.compare(0, size, mark, size) == 0;
}

ProfileEncoding DetectEncoding(std::string_view bytes) {
  if (StartsWith(bytes, kUtf8Mark, kUtf8MarkSize)) return ProfileEncoding::kUtf8;
  if (StartsWith(bytes, kUtf16LeMark, kUtf16MarkSize)) return ProfileEncoding::kUtf16Le;
  if (StartsWith(bytes, kUtf16BeMark, kUtf16MarkSize)) return ProfileEncoding::kUtf16Be;
  return ProfileEncoding::kCodePage;
}

const char* Utf16Name(ProfileEncoding e) { return e == ProfileEncoding::kUtf16Le ? "UTF-16LE" : "UTF-16BE"; }

// The text of the file after its byte order mark, UTF-16 turned into UTF-8
// (into `layout->decoded`). False for UTF-16 that does not convert.
bool Body(std::string_view bytes, ProfileLayout* layout, std::string_view* body) {
  layout->encoding = DetectEncoding(bytes);
  layout->utf8 = layout->encoding != ProfileEncoding::kCodePage;
  switch (layout->encoding) {
    case ProfileEncoding::kCodePage:
      *body = bytes;
      return true;
    case ProfileEncoding::kUtf8:
      *body = bytes.substr(kUtf8MarkSize);
      return true;
    default:
      break;
  }
  bool ok = false;
  layout->decoded = std::make_unique<text::Text>(
      Convert("UTF-8", Utf16Name(layout->encoding), bytes.substr(kUtf16MarkSize), &ok));
  *body = text::View(*layout->decoded);
  return ok;
}

// Bytes of the first `count` characters of `v` that fit into `room` bytes.
std::size_t Fit(std::string_view v, std::size_t count, std::size_t room) {
  std::size_t end = 0;
  for (std::size_t chars = 0; end < v.size() && chars < count; ++chars) {
    const std::size_t n = CharSize(v, end);
    if (end + n > room) break;
    end += n;
  }
  return end;
}

std::size_t CountChars(std::string_view v) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < v.size(); i += CharSize(v, i)) ++chars;
  return chars;
}

// The value a read returns through a buffer of `buffer_size` bytes: at most
// buffer_size - 1 characters and as many whole characters as fit into
// buffer_size - 1 bytes. A value in matching quotes loses the opening one,
// and its last character goes with the closing one as long as the quoted
// text fitted the buffer; a longer quoted value keeps no closing quote and
// loses nothing else.
text::Text CutValue(std::string_view v, std::size_t buffer_size) {
  const std::size_t room = buffer_size - 1;
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) {
    v.remove_prefix(1);
    const std::size_t chars = CountChars(v);
    std::size_t kept = chars < room ? chars : room;
    if (chars <= buffer_size) --kept;
    return text::Text(v.data(), Fit(v, kept, room));
  }
  return text::Text(v.data(), Fit(v, room, room));
}

void AppendLine(text::Text* out, std::string_view a, std::string_view b = {}, std::string_view c = {}) {
  out->append(a.data(), a.size());
  out->append(b.data(), b.size());
  out->append(c.data(), c.size());
  out->append("\r\n", 2);
}

}  // namespace

std::string_view TrimProfileBlanks(std::string_view v) { return TrimLeft(TrimRight(v)); }

bool SameProfileName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    const std::size_t n = CharSize(a, i);
    if (n == 1) {
      if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    } else if (a[i] != b[i] || a[i + 1] != b[i + 1]) {
      return false;
    }
    i += n;
  }
  return true;
}

ProfileLayout ParseProfile(std::string_view bytes) {
  ProfileLayout layout;
  layout.sections.emplace_back();
  std::string_view body;
  if (!Body(bytes, &layout, &body)) {
    layout.broken = true;
    return layout;
  }
  LineCursor cursor{body};
  std::string_view line;
  while (cursor.Next(&line)) {
    const int number = cursor.number;
    std::string_view name;
    if (HeaderName(line, layout.utf8, &name)) {
      layout.sections.emplace_back();
      layout.sections.back().name = name;
      layout.sections.back().line = number;
      continue;
    }
    ProfileKeyLine key = KeyLine(line);
    key.line = number;
    layout.sections.back().keys.push_back(key);
  }
  return layout;
}

namespace {

// The first section of exactly this name (letter case aside).
int FindSection(const ProfileLayout& layout, std::string_view section) {
  for (std::size_t i = 0; i < layout.sections.size(); ++i)
    if (SameFileName(layout, layout.sections[i].name, section)) return static_cast<int>(i);
  return -1;
}

}  // namespace

int FindProfileSection(const ProfileLayout& layout, std::string_view section) {
  return FindSection(layout, TrimProfileBlanks(section));
}

int FindProfileKey(const ProfileLayout& layout, int index, std::string_view key) {
  key = TrimProfileBlanks(key);
  const auto& keys = layout.sections[index].keys;
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (SameFileName(layout, keys[i].name, key)) return static_cast<int>(i);
  return -1;
}

text::Text ProfileReadResult(const ProfileLayout& layout, const ProfileKeyLine& key, std::size_t buffer_size) {
  if (!key.has_value) return text::Text();
  bool ok = false;
  const text::Text value = FromFile(layout, key.value, &ok);
  if (!ok) return text::Text();
  return CutValue(text::View(value), buffer_size);
}

text::Text ReadProfileValue(std::string_view bytes, std::string_view section, std::string_view key,
                            std::size_t buffer_size) {
  const std::string_view body = bytes;
  if (DetectEncoding(bytes) != ProfileEncoding::kCodePage) {
    const ProfileLayout layout = ParseProfile(bytes);
    const int s = FindProfileSection(layout, section);
    if (s < 0) return text::Text();
    const int k = FindProfileKey(layout, s, key);
    return k < 0 ? text::Text() : ProfileReadResult(layout, layout.sections[s].keys[k], buffer_size);
  }
  section = TrimProfileBlanks(section);
  key = TrimProfileBlanks(key);

  // Find the header of the section. A "[" opens a header only when nothing
  // but blanks stands before it on its line and a "]" follows on that line;
  // with the empty name, the nameless part before the first header is meant.
  std::size_t body_start = std::string_view::npos;
  if (section.empty()) body_start = 0;
  const char* const begin = body.data();
  const char* const end = begin + body.size();
  for (const char* p = begin; body_start == std::string_view::npos;) {
    const char* open = static_cast<const char*>(std::memchr(p, '[', end - p));
    if (open == nullptr) return text::Text();
    const char* before = open;
    while (before > begin && IsBlank(before[-1]) && !IsLineBreak(before[-1])) --before;
    const char* line_end = open;
    while (line_end < end && !IsLineBreak(*line_end)) ++line_end;
    p = line_end;
    if (before > begin && !IsLineBreak(before[-1])) continue;
    std::string_view name;
    if (!HeaderName(TrimRight(std::string_view(open, line_end - open)), false, &name)) continue;
    if (SameProfileName(name, section)) body_start = line_end - begin;
  }

  // The keys up to the next header; the first line of the name decides.
  LineCursor cursor{body.substr(body_start)};
  std::string_view line, name;
  while (cursor.Next(&line)) {
    if (HeaderName(line, false, &name)) break;
    const ProfileKeyLine k = KeyLine(line);
    if (!SameProfileName(k.name, key)) continue;
    return k.has_value ? CutValue(k.value, buffer_size) : text::Text();
  }
  return text::Text();
}

bool EditProfile(std::string_view bytes, std::string_view section, const std::string_view* key,
                 const std::string_view* value, text::Text* out) {
  const ProfileLayout layout = ParseProfile(bytes);
  if (layout.broken) return false;
  // A section delete compares the name as it is given; every other write
  // compares it without the blanks around it.
  const std::string_view wanted_section = key ? TrimProfileBlanks(section) : section;
  const int s = FindSection(layout, wanted_section);
  const int k = key != nullptr && s >= 0 ? FindProfileKey(layout, s, *key) : -1;
  const bool drop_section = key == nullptr;
  const bool drop_key = key != nullptr && value == nullptr;
  if (drop_section && s < 0) return false;
  if (drop_key && k < 0) return false;

  // A new value loses its leading blanks; the value it already has is no
  // change and leaves the file as it stands.
  text::Text new_value;
  if (key != nullptr && value != nullptr) {
    bool ok = false;
    new_value = ToFile(layout.utf8, TrimLeft(*value), &ok);
    if (!ok) return false;
    if (k >= 0) {
      const ProfileKeyLine& old = layout.sections[s].keys[k];
      if (old.has_value && old.value == text::View(new_value)) return false;
    }
  }
  bool ok_section = false, ok_key = false;
  const text::Text file_section = ToFile(layout.utf8, wanted_section, &ok_section);
  const text::Text file_key = ToFile(layout.utf8, key ? TrimProfileBlanks(*key) : std::string_view(), &ok_key);
  if (!ok_section || !ok_key) return false;

  text::Text result;
  result.reserve(bytes.size() + file_section.size() + file_key.size() + new_value.size() + 16);
  if (layout.encoding == ProfileEncoding::kUtf8) result.append(kUtf8Mark, kUtf8MarkSize);
  for (std::size_t i = 0; i < layout.sections.size(); ++i) {
    const bool target = static_cast<int>(i) == s;
    if (target && drop_section) continue;
    const ProfileSection& sec = layout.sections[i];
    // A nameless section, the part before the first header among them, has
    // no header line.
    if (!sec.name.empty()) AppendLine(&result, "[", sec.name, "]");
    for (std::size_t j = 0; j < sec.keys.size(); ++j) {
      const ProfileKeyLine& kl = sec.keys[j];
      if (target && static_cast<int>(j) == k) {
        if (!drop_key) AppendLine(&result, kl.name, "=", text::View(new_value));
      } else if (kl.has_value) {
        AppendLine(&result, kl.name, "=", kl.value);
      } else {
        AppendLine(&result, kl.name);
      }
    }
    if (target && k < 0) AppendLine(&result, text::View(file_key), "=", text::View(new_value));
  }
  if (s < 0) {
    AppendLine(&result, "[", text::View(file_section), "]");
    AppendLine(&result, text::View(file_key), "=", text::View(new_value));
  }
  if (layout.encoding == ProfileEncoding::kUtf16Le || layout.encoding == ProfileEncoding::kUtf16Be) {
    bool ok = false;
    const text::Text wide = Convert(Utf16Name(layout.encoding), "UTF-8", text::View(result), &ok);
    if (!ok) return false;
    result.assign(layout.encoding == ProfileEncoding::kUtf16Le ? kUtf16LeMark : kUtf16BeMark, kUtf16MarkSize);
    result += wide;
  }
  *out = std::move(result);
  return true;
}

}  // namespace store
