// A temporary run directory with game files, for the native unit tests of the
// handlers: the store is pointed at it for the life of the fixture.
#pragma once

#include <string>
#include <string_view>

namespace game_test {

class RunDirectoryFixture {
 public:
  // Makes the directory with config/Veldrin below it and points the store at it.
  RunDirectoryFixture();
  // Removes the directory again.
  ~RunDirectoryFixture();
  RunDirectoryFixture(const RunDirectoryFixture&) = delete;
  RunDirectoryFixture& operator=(const RunDirectoryFixture&) = delete;

  const std::string& directory() const { return directory_; }

  // Writes `lines` (code-page-936 bytes, "\n" between lines) as a file with
  // CR LF line ends: the main configuration file, or a story file.
  void WriteMainConfig(std::string_view lines) const;
  void WriteStory(std::string_view gbk_story_name, std::string_view lines) const;
  // Any file below the run directory, by its path relative to it as a
  // code-page-936 text with "\\" between directories.
  void WriteFile(std::string_view gbk_relative, std::string_view lines) const;

  // The bytes of the main configuration file; empty when it does not exist.
  std::string MainConfigBytes() const;

 private:
  std::string directory_;
};

// A value of the main configuration file, as the handlers read it.
std::string MainValue(std::string_view section, std::string_view key);

}  // namespace game_test
