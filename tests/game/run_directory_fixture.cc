// The temporary run directory of the handler unit tests.
#include "tests/game/run_directory_fixture.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "store/file_name.h"
#include "store/run_directory.h"
#include "store/store.h"

namespace game_test {
namespace {

std::string WithCrLf(std::string_view lines) {
  std::string out;
  for (char c : lines) {
    if (c == '\n') out += '\r';
    out += c;
  }
  if (!out.empty() && out.back() != '\n') out += "\r\n";
  return out;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace

RunDirectoryFixture::RunDirectoryFixture() {
  std::string pattern = (std::filesystem::temp_directory_path() / "game-run-XXXXXX").string();
  if (mkdtemp(&pattern[0]) == nullptr) throw std::runtime_error("mkdtemp failed");
  directory_ = pattern;
  std::filesystem::create_directories(directory_ + "/config/Veldrin");
  store::SetRunDirectoryForTesting(text::Text(directory_.c_str()));
}

RunDirectoryFixture::~RunDirectoryFixture() {
  std::error_code ignored;
  std::filesystem::remove_all(directory_, ignored);
  store::SetRunDirectoryForTesting(text::Text());
}

void RunDirectoryFixture::WriteMainConfig(std::string_view lines) const {
  const text::Text path = store::MainConfigPath();
  WriteBytes(std::string(path.data(), path.size()), WithCrLf(lines));
}

void RunDirectoryFixture::WriteStory(std::string_view gbk_story_name, std::string_view lines) const {
  const text::Text path = store::StoryPath(gbk_story_name);
  if (path.empty()) throw std::invalid_argument("not a story name");
  WriteBytes(std::string(path.data(), path.size()), WithCrLf(lines));
}

void RunDirectoryFixture::WriteFile(std::string_view gbk_relative, std::string_view lines) const {
  const text::Text native = store::NativeFileName(text::Concat({"\\", gbk_relative}));
  WriteBytes(directory_ + std::string(native.data(), native.size()), WithCrLf(lines));
}

std::string RunDirectoryFixture::MainConfigBytes() const {
  const text::Text path = store::MainConfigPath();
  std::ifstream in(std::string(path.data(), path.size()), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string MainValue(std::string_view section, std::string_view key) {
  const text::Text v = store::ReadValue(text::View(store::MainConfigPath()), section, key);
  return std::string(v.data(), v.size());
}

}  // namespace game_test
