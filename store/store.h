// The game store: where the game files lie and how one value is read,
// written or removed. Nothing is cached; every read goes to the file.
#pragma once

#include <string_view>

#include "text/text.h"

namespace store {

// The file "生存配置.ini" of the configuration root config\Veldrin below the
// run directory, in the platform's file-name form.
text::Text MainConfigPath();

// The story file of a story name: the name followed by ".ini", in the
// configuration root. Empty (a file that reads as missing) when the name
// cannot name a file below the configuration root.
text::Text StoryPath(std::string_view story_name);

// The value of `key` in `section` of `file`: leading bytes 0x01-0x20 of all
// three are skipped first, and an empty name gives the empty text without
// opening the file. At most 10239 bytes; an empty value reads as missing
// (the empty text).
text::Text ReadValue(std::string_view file, std::string_view section, std::string_view key);

// Writes the value as it stands (an empty value leaves "key=" in the file).
// Success or failure is not reported.
void WriteValue(std::string_view file, std::string_view section, std::string_view key, std::string_view value);

// Removes `section` with all its keys; other sections stay as they are.
void DeleteSection(std::string_view file, std::string_view section);

}  // namespace store
