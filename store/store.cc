// Read value, write value and delete section over the platform's profile routines.
#include "store/store.h"

#include "store/file_name.h"
#include "store/profile.h"
#include "store/run_directory.h"
#include "store/story_name.h"

namespace store {
namespace {

constexpr char kConfigRoot[] = "\\config\\Veldrin\\";
constexpr char kMainConfigName[] = "\xC9\xFA\xB4\xE6\xC5\xE4\xD6\xC3.ini";  // 生存配置.ini
constexpr char kStorySuffix[] = ".ini";

text::Text Own(std::string_view v) { return text::Text(v.data(), v.size()); }

std::string_view SkipLeadingBlanks(std::string_view v) {
  std::size_t i = 0;
  while (i < v.size() && static_cast<unsigned char>(v[i]) >= 0x01 && static_cast<unsigned char>(v[i]) <= 0x20) ++i;
  return v.substr(i);
}

}  // namespace

text::Text MainConfigPath() {
  return text::Concat({text::View(RunDirectory()), text::View(NativeFileName(text::Concat({kConfigRoot, kMainConfigName})))});
}

text::Text StoryPath(std::string_view story_name) {
  if (!IsSafeStoryName(story_name)) return text::Text();
  const text::Text native = NativeFileName(text::Concat({kConfigRoot, story_name, kStorySuffix}));
  if (native.empty()) return text::Text();
  return text::Concat({text::View(RunDirectory()), text::View(native)});
}

text::Text ReadValue(std::string_view file, std::string_view section, std::string_view key) {
  file = SkipLeadingBlanks(file);
  section = SkipLeadingBlanks(section);
  key = SkipLeadingBlanks(key);
  if (file.empty() || section.empty() || key.empty()) return text::Text();
  return ProfileRead(Own(file), Own(section), Own(key));
}

void WriteValue(std::string_view file, std::string_view section, std::string_view key, std::string_view value) {
  const text::Text k = Own(key), v = Own(value);
  ProfileWrite(Own(file), Own(section), &k, &v);
}

void DeleteSection(std::string_view file, std::string_view section) {
  ProfileWrite(Own(file), Own(section), nullptr, nullptr);
}

}  // namespace store
