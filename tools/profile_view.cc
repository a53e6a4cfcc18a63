// The store's parse of a profile file, with names and values as GBK texts.
#include "tools/profile_view.h"

#include "store/profile.h"
#include "tools/encoding.h"

namespace tools {
namespace {

std::string InGbk(bool utf8, std::string_view v) {
  std::string out;
  if (utf8 && Utf8ToGbk(v, &out)) return out;
  return std::string(v);
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) { return store::SameProfileName(a, b); }

const ProfileSection* ProfileView::Find(std::string_view name) const {
  const int index = store::FindProfileSection(*layout_, name);
  return index >= 1 ? &sections[static_cast<std::size_t>(index - 1)] : nullptr;
}

const ProfileKey* ProfileView::FindKey(const ProfileSection& section, std::string_view key) const {
  const int index = store::FindProfileKey(*layout_, section.index, key);
  return index >= 0 ? &section.keys[static_cast<std::size_t>(index)] : nullptr;
}

std::string ProfileView::Read(std::string_view section, std::string_view key) const {
  const ProfileSection* s = Find(section);
  const ProfileKey* k = s != nullptr ? FindKey(*s, key) : nullptr;
  return k != nullptr ? k->read : std::string();
}

ProfileView ParseProfile(std::string_view bytes) {
  ProfileView view;
  view.bytes_ = std::make_shared<const std::string>(bytes);
  view.layout_ = std::make_shared<const store::ProfileLayout>(store::ParseProfile(*view.bytes_));
  const store::ProfileLayout& layout = *view.layout_;
  view.utf8 = layout.utf8;
  for (const store::ProfileKeyLine& k : layout.sections[0].keys)
    if (k.name.empty() || k.name[0] != ';') view.lines_before_sections.push_back(k.line);
  for (std::size_t i = 1; i < layout.sections.size(); ++i) {
    const store::ProfileSection& s = layout.sections[i];
    ProfileSection section;
    section.name = InGbk(layout.utf8, s.name);
    section.line = s.line;
    section.index = static_cast<int>(i);
    for (const store::ProfileKeyLine& k : s.keys) {
      const text::Text whole = store::ProfileReadResult(layout, k, k.value.size() + 1);
      const text::Text read = store::ProfileReadResult(layout, k, store::kProfileBufferSize);
      section.keys.push_back({InGbk(layout.utf8, k.name), std::string(whole.data(), whole.size()),
                              std::string(read.data(), read.size()), k.has_value, k.line});
    }
    view.sections.push_back(std::move(section));
  }
  return view;
}

}  // namespace tools
