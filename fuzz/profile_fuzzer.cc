// Fuzz target of the native profile reader and writer over a real file: no
// crash on any file bytes; the fast read agrees with the parsed layout; a
// value written under a valid name reads back; every other section and key
// reads as before the write. Input: an option byte (bit 0: remove the
// section instead), then section name, key name and value separated by zero
// bytes, then the file bytes (which may hold zero bytes themselves).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/temporary_directory.h"
#include "store/profile.h"
#include "store/profile_format.h"
#include "text/text.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

std::string g_file;

void Init() {
  static bool done = false;
  if (done) return;
  done = true;
  g_file = fuzz::TemporaryDirectory("profile-fuzz") + "/p.ini";
}

void WriteFile(std::string_view bytes) {
  std::FILE* f = std::fopen(g_file.c_str(), "wb");
  Check(f != nullptr);
  Check(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
  Check(std::fclose(f) == 0);
}

std::string ReadFile() {
  std::string out;
  std::FILE* f = std::fopen(g_file.c_str(), "rb");
  if (f == nullptr) return out;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) out.append(buffer, n);
  std::fclose(f);
  return out;
}

bool IsBlank(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return (b >= 0x09 && b <= 0x0D) || b == 0x1A || b == 0x20;
}

bool HasAny(std::string_view v, std::string_view bytes) { return v.find_first_of(bytes) != std::string_view::npos; }

// True when the text ends with a lead byte that has no second byte.
bool EndsInHalfCharacter(std::string_view v) {
  std::size_t i = 0;
  while (i < v.size()) {
    if (text::IsLeadByte(v[i]) && i + 1 == v.size()) return true;
    i += text::IsLeadByte(v[i]) ? 2 : 1;
  }
  return false;
}

const std::string_view kLineBreakOrZero("\r\n\0", 3);

// A section name that a header line written by the writer gives back.
bool IsValidSection(std::string_view s) {
  const std::string_view t = store::TrimProfileBlanks(s);
  return !t.empty() && !HasAny(s, kLineBreakOrZero) && !EndsInHalfCharacter(t);
}

// A key name that makes a key line: no "=" inside, and no "[" in front that
// could turn the line into a header.
bool IsValidKey(std::string_view k) {
  const std::string_view t = store::TrimProfileBlanks(k);
  return !t.empty() && !HasAny(k, kLineBreakOrZero) && k.find('=') == std::string_view::npos && t[0] != '[' &&
         !EndsInHalfCharacter(t);
}

// A value that reads back as written: one line, no blanks the reader trims,
// no quotes it removes, and short enough for the read buffer.
bool IsValidValue(std::string_view v) {
  if (HasAny(v, kLineBreakOrZero) || v.size() >= store::kProfileBufferSize) return false;
  if (v.empty()) return true;
  return !IsBlank(v.front()) && !IsBlank(v.back()) && v.front() != '"' && v.front() != '\'';
}

text::Text LayoutRead(const store::ProfileLayout& layout, std::string_view section, std::string_view key,
                      std::size_t buffer_size) {
  const int s = store::FindProfileSection(layout, section);
  if (s < 0) return text::Text();
  const int k = store::FindProfileKey(layout, s, key);
  return k < 0 ? text::Text() : store::ProfileReadResult(layout, layout.sections[s].keys[k], buffer_size);
}

// Every named section and key of `from` that a read reaches, except the
// section `section` (and in it the key `key`, when not null), reads the same
// in `a` and in `b`.
void CheckOthersAlike(const store::ProfileLayout& from, const store::ProfileLayout& a, const store::ProfileLayout& b,
                      std::string_view section, const std::string_view* key) {
  for (std::size_t i = 0; i < from.sections.size(); ++i) {
    const store::ProfileSection& sec = from.sections[i];
    if (sec.name.empty() || store::FindProfileSection(from, sec.name) != static_cast<int>(i)) continue;
    const bool target = store::SameProfileName(sec.name, section);
    if (target && key == nullptr) continue;
    for (const store::ProfileKeyLine& k : sec.keys) {
      if (k.name.empty() || (target && store::SameProfileName(k.name, store::TrimProfileBlanks(*key)))) continue;
      const text::Text before = LayoutRead(a, sec.name, k.name, store::kProfileBufferSize);
      const text::Text after = LayoutRead(b, sec.name, k.name, store::kProfileBufferSize);
      Check(before == after);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Init();
  if (size == 0) return 0;
  const bool remove = (data[0] & 1) != 0;
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string_view parts[3];
  for (auto& part : parts) {
    const std::size_t end = rest.find('\0');
    part = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  const std::string_view section = parts[0], key = parts[1], value = parts[2];
  // Owned, as the routines always see the file: never a null view.
  const std::string file_bytes(rest);
  const std::string_view bytes = file_bytes;

  // The fast read and the layout agree, through the real buffer and a small one.
  const store::ProfileLayout before = store::ParseProfile(bytes);
  for (const std::size_t buffer_size : {store::kProfileBufferSize, std::size_t{4}}) {
    Check(store::ReadProfileValue(bytes, section, key, buffer_size) == LayoutRead(before, section, key, buffer_size));
  }

  WriteFile(bytes);
  const text::Text file(g_file.c_str()), s(section.data(), section.size()), k(key.data(), key.size()),
      v(value.data(), value.size());
  Check(store::ProfileRead(file, s, k) == store::ReadProfileValue(bytes, section, key, store::kProfileBufferSize));
  if (remove) {
    store::ProfileWrite(file, s, nullptr, nullptr);
  } else {
    store::ProfileWrite(file, s, &k, &v);
  }
  const std::string written = ReadFile();
  const store::ProfileLayout after = store::ParseProfile(written);

  // Names and values with line breaks inject lines of their own, and a file
  // with a byte order mark holds its names in another encoding.
  // A zero byte cuts a line short, and a rewrite keeps only the cut line.
  if (before.encoding != store::ProfileEncoding::kCodePage || !IsValidSection(section)) return 0;
  if (bytes.find('\0') != std::string_view::npos) return 0;
  if (!remove && !(IsValidKey(key) && !HasAny(value, kLineBreakOrZero))) return 0;
  if (!remove && IsValidValue(value)) Check(store::ProfileRead(file, s, k) == v);
  // Removing compares the name as given; writing, without its blanks.
  const std::string_view target = remove ? section : store::TrimProfileBlanks(section);
  const std::string_view* target_key = remove ? nullptr : &key;
  CheckOthersAlike(before, before, after, target, target_key);
  CheckOthersAlike(after, before, after, target, target_key);
  return 0;
}
