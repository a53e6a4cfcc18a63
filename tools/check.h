// The story checker: problems of a story file and of the main configuration
// file, each with a stable code and the line to look at, and a summary of the
// story with every path from the root.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/story.h"

namespace tools {

enum class Severity { kError, kWarning, kNote };
enum class Language { kChinese, kEnglish };

struct Diagnostic {
  std::string file;  // as the operator named it
  int line = 1;
  Severity severity = Severity::kError;
  std::string code;     // E/W/N and three digits; listed in the operator guide
  std::string message;  // UTF-8
};

// What a file's bytes are encoded in, as far as the plugins care.
enum class FileEncoding { kGbk, kUtf8Bom, kUtf8, kInvalid };
// `bad_offset` gets the offset of the first byte that is not GBK (kInvalid).
FileEncoding DetectEncoding(std::string_view bytes, std::size_t* bad_offset);

// The UTF-8 file (with or without a BOM) as GBK with the BOM dropped; false
// when a character has no GBK form.
bool ConvertUtf8File(std::string_view bytes, std::string* gbk);

// Problems of a story file. `story` receives the tree when the file could be
// read as GBK.
std::vector<Diagnostic> CheckStory(const std::string& file, std::string_view bytes, Language language,
                                   std::optional<Story>* story);

// The bytes of the story file of a story name (GBK), or nothing when it does
// not exist.
using StoryReader = std::function<std::optional<std::string>(std::string_view story_name)>;

// Problems of the main configuration file.
std::vector<Diagnostic> CheckMainConfig(const std::string& file, std::string_view bytes, Language language,
                                        const StoryReader& read_story);

// "file:line: error|warning|note CODE: message"
std::string FormatDiagnostic(const Diagnostic& d);

// The summary and the walk of every path, as lines of UTF-8 text.
std::vector<std::string> FormatSummary(const Story& story, Language language);

// The diagnostics, and the summary and walk when a story is given, as one
// JSON object.
std::string FormatJson(const std::vector<Diagnostic>& diagnostics, const Story* story);

bool HasErrors(const std::vector<Diagnostic>& diagnostics);

}  // namespace tools
