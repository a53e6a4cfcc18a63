// The profile-file format as the profile routines see it: which lines open
// sections and which hold keys, which occurrence a read or a write uses, what
// a read returns and what a write leaves in the file. The native profile
// routines and the story checker both go through these rules.
//
// Bytes, never characters: names and values are code-page-936 texts. A file
// that begins with a UTF-8 or UTF-16 byte order mark holds that encoding
// instead; its names and values are converted at this boundary, and a rewrite
// keeps the file's encoding.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace store {

// One key line: the name without the blanks around it and the value without
// the blanks before and after it. A line without "=" (a comment line, too) is
// a key without a value: a read of it gives the missing text. A zero byte
// ends a name or a value.
struct ProfileKeyLine {
  std::string_view name;
  std::string_view value;
  bool has_value = false;
  int line = 0;  // from 1
};

// A section: its name between "[" and the last "]" of the header line, and
// its keys in file order.
struct ProfileSection {
  std::string_view name;
  int line = 0;  // of the header; 0 for the nameless part before the first header
  std::vector<ProfileKeyLine> keys;
};

enum class ProfileEncoding { kCodePage, kUtf8, kUtf16Le, kUtf16Be };

// A whole file. sections[0] is always the nameless part before the first
// header (often without keys). The views point into the bytes that were
// parsed, which the caller keeps alive, or for UTF-16 into `decoded`.
struct ProfileLayout {
  ProfileEncoding encoding = ProfileEncoding::kCodePage;
  bool utf8 = false;  // names and values below are UTF-8, not code page 936
  std::unique_ptr<text::Text> decoded;  // UTF-16 files: the text as UTF-8
  bool broken = false;  // UTF-16 that does not convert: reads see nothing, writes leave it alone
  std::vector<ProfileSection> sections;
};

ProfileLayout ParseProfile(std::string_view bytes);

// True when two code-page-936 names are the same name for the profile
// routines: letters compare without regard to case.
bool SameProfileName(std::string_view a, std::string_view b);

// The blanks that the routines remove around names and values.
std::string_view TrimProfileBlanks(std::string_view v);

// The index of the section that reads and writes of `section` use (the first
// of that name, after blanks around it are removed), or -1. A later section of
// the same name is never seen.
int FindProfileSection(const ProfileLayout& layout, std::string_view section);

// The index of the key line that reads and writes of `key` use in section
// `index` (the first of that name), or -1.
int FindProfileKey(const ProfileLayout& layout, int index, std::string_view key);

// What a read of a key line returns through a buffer of `buffer_size` bytes:
// a value in matching quotes without them, at most buffer_size - 1 bytes and
// never half of a two-byte character; the empty text for a key without value.
text::Text ProfileReadResult(const ProfileLayout& layout, const ProfileKeyLine& key, std::size_t buffer_size);

// The same read straight from the bytes of a file, without building the
// layout: the fast path of the native routines.
text::Text ReadProfileValue(std::string_view bytes, std::string_view section, std::string_view key,
                            std::size_t buffer_size);

// The bytes that the profile write leaves after setting `key` of `section` to
// `value` (null `key`: removing the section; null `value`: removing the key).
// False when the write leaves the file untouched (the key already holds that
// value, or there is nothing to remove); `out` then holds nothing of use.
// A rewrite puts every line into its plain form: no blank lines, no blanks
// around names and "=", CR LF after every line. Two things stay that would
// otherwise change what the file means: a header "[]" further down (its keys
// would join the section before it), and an empty first line in front of a
// line that begins with the bytes of a byte order mark.
bool EditProfile(std::string_view bytes, std::string_view section, const std::string_view* key,
                 const std::string_view* value, text::Text* out);

}  // namespace store
