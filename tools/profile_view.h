// The game files as the plugins' profile reads see them, for the checker:
// every section and key in file order with its line number, and which
// occurrence a read sees. Built on the store's own format rules.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/profile_format.h"

namespace tools {

struct ProfileKey {
  std::string name;        // GBK, without the blanks around it
  std::string value;       // what a read returns, but never cut
  std::string read;        // what a read returns: at most 10239 bytes
  bool has_value = false;  // false for a line without "="
  int line = 0;            // from 1
};

struct ProfileSection {
  std::string name;  // GBK, without the brackets and blanks
  int line = 0;
  int index = 0;  // in the store's layout
  std::vector<ProfileKey> keys;
};

class ProfileView {
 public:
  // The sections after the first header; keys before it are never read.
  std::vector<ProfileSection> sections;
  bool utf8 = false;  // the file begins with a UTF-8 byte order mark
  // Lines before the first section header that are not comments.
  std::vector<int> lines_before_sections;

  // The section a read of `name` sees, or null.
  const ProfileSection* Find(std::string_view name) const;
  // The key of `section` a read of `key` sees, or null.
  const ProfileKey* FindKey(const ProfileSection& section, std::string_view key) const;
  // The value a read returns (at most 10239 bytes): empty when the section
  // or the key is missing.
  std::string Read(std::string_view section, std::string_view key) const;

 private:
  friend ProfileView ParseProfile(std::string_view bytes);
  std::shared_ptr<const std::string> bytes_;
  std::shared_ptr<const store::ProfileLayout> layout_;
};

ProfileView ParseProfile(std::string_view bytes);

// Names compare without regard to ASCII letter case, like the profile read.
bool SameName(std::string_view a, std::string_view b);

}  // namespace tools
