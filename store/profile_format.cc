// The profile-file format: parsing, the name and key rules, reads and the
// rewrite after a write.
#include "store/profile_format.h"

#include <cstdint>
#include <cstring>

#include "store/code_page.h"

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

// Empty when the text does not convert.
text::Text Convert(CodePage from, CodePage to, std::string_view in, bool* ok) {
  text::Text out;
  *ok = ConvertCodePage(from, to, in, &out);
  if (!*ok) out.clear();
  return out;
}

// A text of a UTF-8 file in code page 936; what cannot be converted matches
// nothing and reads as missing.
text::Text FromFile(const ProfileLayout& layout, std::string_view v, bool* ok) {
  if (!layout.utf8) {
    *ok = true;
    return text::Text(v.data(), v.size());
  }
  return Convert(CodePage::kUtf8, CodePage::kGbk, v, ok);
}

text::Text ToFile(bool utf8, std::string_view v, bool* ok) {
  if (!utf8) {
    *ok = true;
    return text::Text(v.data(), v.size());
  }
  return Convert(CodePage::kGbk, CodePage::kUtf8, v, ok);
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

// Without the blanks at the end, where a blank that is the second byte of a
// character stays: a header name must never end in half a character, or its
// rewritten line "[name]" would lose its "]" to that character.
std::string_view TrimRightByCharacters(std::string_view v) {
  std::size_t end = 0;
  for (std::size_t i = 0; i < v.size();) {
    const std::size_t n = CharSize(v, i);
    if (n == 2 || !IsBlank(v[i])) end = i + n;
    i += n;
  }
  return v.substr(0, end);
}

// The name of a header line, without the blanks inside the brackets, or
// false for any other line.
bool HeaderName(std::string_view line, bool utf8, std::string_view* name) {
  if (line.empty() || line[0] != '[') return false;
  const std::size_t close = LastCloseBracket(line, utf8);
  if (close == std::string_view::npos) return false;
  const std::string_view inner = line.substr(1, close - 1);
  *name = CutAtZero(TrimLeft(utf8 ? TrimRight(inner) : TrimRightByCharacters(inner)));
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

CodePage Utf16Page(ProfileEncoding e) { return e == ProfileEncoding::kUtf16Le ? CodePage::kUtf16Le : CodePage::kUtf16Be; }

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
      Convert(Utf16Page(layout->encoding), CodePage::kUtf8, bytes.substr(kUtf16MarkSize), &ok));
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

// Names compare without regard to the case of ASCII letters; in UTF-8 every
// byte below 0x80 is a character of its own.
bool SameName(std::string_view a, std::string_view b, bool utf8) {
  if (!utf8) return SameProfileName(a, b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

// True when every line of the text is already in its plain form as far as
// bytes next to line breaks and "=" tell: no zero byte, every line ended by
// CR LF, no blank line, no blank at the start or end of a line or next to any
// "=". (Header lines still need a look of their own.) A file that our own
// writes left always passes; one that fails is merely rewritten the slow way.
// 16 bytes at a time, compared with the next byte of each.
bool PlainLines(std::string_view v) {
  typedef unsigned char Bytes __attribute__((vector_size(16)));
  const unsigned char* p = reinterpret_cast<const unsigned char*>(v.data());
  const std::size_t n = v.size();
  if (n == 0) return true;
  const auto blank = [](unsigned c) { return c == ' ' || c == '\t' || c == 0x0B || c == 0x0C || c == 0x1A; };
  if (p[n - 1] != '\n' || p[0] == '\r' || p[0] == '\n' || blank(p[0])) return false;
  const auto one = [&](std::size_t i) {
    const unsigned a = p[i], b = p[i + 1];
    return a == 0 || ((a == '\r') != (b == '\n')) || (a == '\n' && (b == '\r' || blank(b))) ||
           (blank(a) && (b == '\r' || b == '=')) || (a == '=' && blank(b));
  };
  std::size_t i = 0;
  Bytes bad = {};
  for (; i + 17 <= n; i += 16) {
    Bytes a, b;
    std::memcpy(&a, p + i, 16);
    std::memcpy(&b, p + i + 1, 16);
    const Bytes blank_a = (a == ' ') | (a == '\t') | (a == 0x0B) | (a == 0x0C) | (a == 0x1A);
    const Bytes blank_b = (b == ' ') | (b == '\t') | (b == 0x0B) | (b == 0x0C) | (b == 0x1A);
    const Bytes cr_a = a == '\r', lf_a = a == '\n', cr_b = b == '\r', lf_b = b == '\n', eq_a = a == '=';
    bad |= (a == 0) | (cr_a ^ lf_b) | (lf_a & (cr_b | blank_b)) | (blank_a & (cr_b | (b == '='))) | (eq_a & blank_b);
  }
  for (int k = 0; k < 16; ++k)
    if (bad[k]) return false;
  for (; i + 1 < n; ++i)
    if (one(i)) return false;
  return p[n - 1] != 0;
}

// Finds one byte string of two or more bytes (and fewer than 2^32) in others: Horspool's search on
// the pair of bytes at the end of each window, through a hash of the pair.
// Single bytes such as digits are common in a file of group sections, pairs
// of the name much less, so most windows move on by the name's length less
// one, a step that does not wait for the table.
class ByteSearch {
 public:
  explicit ByteSearch(std::string_view needle) : needle_(needle) {
    // For each pair of the needle, where it ends; the rightmost one counts.
    const std::size_t last = needle.size() - 1;
    for (std::uint32_t& e : pair_end_) e = 0;
    for (std::size_t end = 1; end < last; ++end)
      pair_end_[Hash(needle[end - 1], needle[end])] = static_cast<std::uint32_t>(end);
    std::uint32_t& at_last = pair_end_[Hash(needle[last - 1], needle[last])];
    after_mismatch_ = last - at_last;
    at_last = static_cast<std::uint32_t>(last);
  }

  // The first place of the needle in `hay`, or npos.
  std::size_t Find(std::string_view hay) const {
    const std::size_t last = needle_.size() - 1;
    // q: where the needle's last byte would be.
    for (std::size_t q = last; q < hay.size();) {
      const std::size_t end = pair_end_[Hash(hay[q - 1], hay[q])];
      if (end == 0) {
        q += last;
      } else if (end < last) {
        q += last - end;
      } else {
        if (std::memcmp(hay.data() + q - last, needle_.data(), needle_.size()) == 0) return q - last;
        q += after_mismatch_;
      }
    }
    return std::string_view::npos;
  }

 private:
  // 4096 buckets: few pairs of a file share one with the needle's last pair.
  static constexpr std::size_t kBuckets = 4096;
  static std::size_t Hash(char a, char b) {
    return ((static_cast<std::size_t>(static_cast<unsigned char>(a)) << 4) ^ static_cast<unsigned char>(b)) &
           (kBuckets - 1);
  }

  std::string_view needle_;
  std::uint32_t pair_end_[kBuckets];
  std::size_t after_mismatch_ = 1;
};

// Where the line that opens section `name` (non-empty, without blanks around
// it) ends, or npos. A "[" opens a header only when nothing but blanks stands
// before it on its line and a "]" follows on that line.
std::size_t HeaderLineEnd(std::string_view body, std::string_view name) {
  if (body.empty()) return std::string_view::npos;
  const char* const begin = body.data();
  const char* const end = begin + body.size();
  // The header of `open`, when it is one: its name and the end of its line.
  const auto header_at = [begin, end](const char* open, std::string_view* found, const char** line_end) {
    const char* before = open;
    while (before > begin && IsBlank(before[-1]) && !IsLineBreak(before[-1])) --before;
    const char* e = open;
    while (e < end && !IsLineBreak(*e)) ++e;
    *line_end = e;
    if (before > begin && !IsLineBreak(before[-1])) return false;
    return HeaderName(TrimRight(std::string_view(open, e - open)), false, found);
  };
  std::string_view found;
  const char* line_end = nullptr;

  // A name without ASCII letters has one spelling only: look for the name
  // itself (a group number) and check each place it occurs. A short name
  // such as a story's root "1" occurs on almost every line, so for it
  // visiting the headers is faster.
  constexpr std::size_t kShortName = 4;
  bool letters = false;
  for (char c : name) letters |= (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (!letters && name.size() >= kShortName) {
    const ByteSearch search(name);
    for (const char* p = begin;;) {
      const std::size_t found_at = search.Find(std::string_view(p, end - p));
      if (found_at == std::string_view::npos) return std::string_view::npos;
      const char* at = p + found_at;
      p = at + 1;
      const char* open = at;
      while (open > begin && IsBlank(open[-1]) && !IsLineBreak(open[-1])) --open;
      if (open == begin || open[-1] != '[') continue;
      if (header_at(open - 1, &found, &line_end) && found == name) return line_end - begin;
    }
  }
  for (const char* p = begin;;) {
    const char* open = static_cast<const char*>(std::memchr(p, '[', end - p));
    if (open == nullptr) return std::string_view::npos;
    const bool header = header_at(open, &found, &line_end);
    p = line_end;
    if (header && SameProfileName(found, name)) return line_end - begin;
  }
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

  const std::size_t body_start = section.empty() ? 0 : HeaderLineEnd(body, section);
  if (body_start == std::string_view::npos) return text::Text();

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
  ProfileLayout encoding;
  std::string_view body;
  if (!Body(bytes, &encoding, &body)) return false;
  const bool utf8 = encoding.utf8;
  const bool drop_section = key == nullptr;
  const bool drop_key = key != nullptr && value == nullptr;
  const bool set = key != nullptr && value != nullptr;
  // A section delete compares the name as it is given; every other write
  // compares it without the blanks around it. A new value loses its leading
  // blanks.
  bool ok_section = false, ok_key = false, ok_value = false;
  const text::Text wanted_section = ToFile(utf8, key ? TrimProfileBlanks(section) : section, &ok_section);
  const text::Text wanted_key = ToFile(utf8, key ? TrimProfileBlanks(*key) : std::string_view(), &ok_key);
  const text::Text new_value = ToFile(utf8, set ? TrimLeft(*value) : std::string_view(), &ok_value);
  if (!ok_section || !ok_key || !ok_value) return false;
  const std::string_view new_line_name = text::View(wanted_key), new_line_value = text::View(new_value);

  // One pass over the lines. Lines already in their plain form are copied in
  // runs; the others are written out in it, and blank lines vanish.
  enum class Phase { kBefore, kInside, kAfter };
  Phase phase = wanted_section.empty() ? Phase::kInside : Phase::kBefore;
  bool key_found = false;
  text::Text& result = *out;
  result.clear();
  result.reserve(body.size() + wanted_section.size() + wanted_key.size() + new_value.size() + 16);
  std::size_t run = 0;  // start of the lines that are still to be copied as they stand
  const auto flush = [&](std::size_t upto) {
    result.append(body.data() + run, upto - run);
    run = upto;
  };
  const auto add_new_key = [&] { AppendLine(&result, new_line_name, "=", new_line_value); };

  const char* const b = body.data();
  const std::size_t n = body.size();
  const bool plain_lines = !utf8 && PlainLines(body);
  for (std::size_t pos = 0; pos < n;) {
    if (plain_lines && phase != Phase::kInside) {
      // Outside the section being changed only header lines can need work:
      // go straight to the next line that begins with "[".
      for (;;) {
        const void* at = std::memchr(b + pos, '[', n - pos);
        pos = at ? static_cast<const char*>(at) - b : n;
        if (pos == n || pos == 0 || b[pos - 1] == '\n') break;
        ++pos;
      }
      if (pos == n) break;
    }
    const std::size_t start = pos;
    // One pass finds the end of the line, its first "=", zero bytes and bytes
    // of two-byte characters; a plain line outside the section being
    // changed then needs nothing more.
    std::size_t eq = std::string_view::npos;
    bool zero = false, high = false;
    if (plain_lines) {
      // Every CR comes with its LF: the line ends at the next LF.
      const void* lf = std::memchr(b + pos, '\n', n - pos);
      pos = lf ? static_cast<const char*>(lf) - b - 1 : n;
      if (pos < start) pos = start;  // an empty line
      const void* e = std::memchr(b + start, '=', pos - start);
      if (e) eq = static_cast<const char*>(e) - b;
      if (pos > start && b[start] == '[')
        for (std::size_t i = start; i < pos; ++i) high |= text::IsLeadByte(b[i]);
    } else {
      for (; pos < n; ++pos) {
        const unsigned char c = static_cast<unsigned char>(b[pos]);
        if (c <= '=') {
          if (c == '\n' || c == '\r') break;
          if (c == '=' && eq == std::string_view::npos) eq = pos;
          zero |= c == 0;
        } else {
          high |= c >= 0x80;
        }
      }
    }
    if (phase != Phase::kInside && pos > start && !zero && pos + 1 < n && b[pos] == '\r' && b[pos + 1] == '\n' &&
        (pos + 2 == n || !IsLineBreak(b[pos + 2])) && !IsBlank(b[start]) && !IsBlank(b[pos - 1])) {
      if (b[start] != '[') {
        const bool plain = eq == std::string_view::npos ||
                           ((eq == start || !IsBlank(b[eq - 1])) && (eq + 1 == pos || !IsBlank(b[eq + 1])));
        if (plain) {
          pos += 2;
          continue;
        }
      } else if (!high && b[pos - 1] == ']' && pos - start > 2 && !IsBlank(b[start + 1]) &&
                 !IsBlank(b[pos - 2])) {
        const std::string_view name(b + start + 1, pos - start - 2);
        if (phase == Phase::kAfter || !SameName(name, text::View(wanted_section), utf8)) {
          pos += 2;
          continue;
        }
      }
    }
    pos = start;
    while (pos < body.size() && !IsLineBreak(body[pos])) ++pos;
    const std::string_view raw = body.substr(start, pos - start);
    const std::size_t break_start = pos;
    while (pos < body.size() && IsLineBreak(body[pos])) ++pos;
    const bool plain_break = pos - break_start == 2 && body[break_start] == '\r';
    const std::string_view line = TrimLeft(TrimRight(raw));
    if (line.empty()) {
      flush(start);
      run = pos;
      continue;
    }
    std::string_view name;
    if (HeaderName(line, utf8, &name)) {
      if (phase == Phase::kInside) {
        phase = Phase::kAfter;
        if (set && !key_found) {
          flush(start);
          add_new_key();
        }
      }
      if (phase == Phase::kBefore && SameName(name, text::View(wanted_section), utf8)) phase = Phase::kInside;
      const bool dropped = phase == Phase::kInside && drop_section;
      const bool plain = plain_break && line.size() == raw.size() &&
                         name.data() == raw.data() + 1 && name.size() == raw.size() - 2;
      if (dropped || !plain) {
        flush(start);
        if (!dropped) AppendLine(&result, "[", name, "]");
        run = pos;
      }
      continue;
    }
    const ProfileKeyLine k = KeyLine(line);
    bool plain = plain_break && line.size() == raw.size() && k.name.data() == raw.data() &&
                 (k.has_value ? k.value.data() == k.name.data() + k.name.size() + 1 &&
                                    k.value.data() + k.value.size() == raw.data() + raw.size()
                              : k.name.size() == raw.size());
    bool dropped = phase == Phase::kInside && drop_section;
    if (phase == Phase::kInside && key != nullptr && !key_found && SameName(k.name, text::View(wanted_key), utf8)) {
      key_found = true;
      if (set && k.has_value && k.value == new_line_value) return false;  // no change: the file stays
      dropped = true;
      flush(start);
      if (set) AppendLine(&result, k.name, "=", new_line_value);
      run = pos;
      continue;
    }
    if (dropped || !plain) {
      flush(start);
      if (!dropped) {
        if (k.has_value)
          AppendLine(&result, k.name, "=", k.value);
        else
          AppendLine(&result, k.name);
      }
      run = pos;
    }
  }
  flush(body.size());
  if (phase == Phase::kInside && set && !key_found) add_new_key();
  if (phase == Phase::kBefore) {
    if (!set) return false;  // nothing to delete
    AppendLine(&result, "[", text::View(wanted_section), "]");
    add_new_key();
  }
  if (drop_key && !key_found) return false;

  switch (encoding.encoding) {
    case ProfileEncoding::kCodePage:
      // Lines that happen to begin with the bytes of a byte order mark must
      // not turn the whole file into UTF-8 or UTF-16: an empty line first.
      if (DetectEncoding(text::View(result)) != ProfileEncoding::kCodePage) result.insert(0, "\r\n", 2);
      break;
    case ProfileEncoding::kUtf8:
      result.insert(0, kUtf8Mark, kUtf8MarkSize);
      break;
    default: {
      bool ok = false;
      const text::Text wide = Convert(CodePage::kUtf8, Utf16Page(encoding.encoding), text::View(result), &ok);
      if (!ok) return false;
      result.assign(encoding.encoding == ProfileEncoding::kUtf16Le ? kUtf16LeMark : kUtf16BeMark, kUtf16MarkSize);
      result += wide;
    }
  }
  return true;
}

}  // namespace store
