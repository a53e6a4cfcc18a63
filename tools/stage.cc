// The stage directory of a playtest on another run directory.
#include "tools/stage.h"

#include <chrono>
#include <filesystem>
#include <random>
#include <system_error>

#include "store/run_directory.h"
#include "tools/encoding.h"
#include "tools/plugin_library.h"

namespace tools {

namespace fs = std::filesystem;

std::string ProgramDirectory() {
  const text::Text exe = store::ExecutablePath();
  return TextFromPath(PathFromText(std::string(exe.data(), exe.size())).parent_path());
}

int RunFromStage(const std::string& run_dir, const std::string& library_dir, bool in_place,
                 const std::vector<std::string>& args, std::string* error) {
  std::error_code ec;
  const fs::path config = fs::absolute(PathFromText(run_dir) / "config", ec);
  if (ec || !fs::is_directory(config)) {
    *error = u8"运行目录里没有 config 文件夹：" + Utf8FromArgument(TextFromPath(config));
    return -1;
  }
  // Time and a random number: playtests that run at the same time each get their own.
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const fs::path stage =
      fs::temp_directory_path(ec) / ("veldrin-play-" + std::to_string(stamp) + "-" + std::to_string(std::random_device()()));
  if (ec || !fs::create_directories(stage, ec)) {
    *error = u8"无法建立临时目录 " + Utf8FromArgument(TextFromPath(stage));
    return -1;
  }
  const text::Text exe_text = store::ExecutablePath();
  const fs::path exe = PathFromText(std::string(exe_text.data(), exe_text.size()));
  const fs::path staged = stage / exe.filename();
  fs::copy_file(exe, staged, ec);
  if (!ec) fs::copy_file(PathFromText(library_dir) / kHostLibraryFile, stage / kHostLibraryFile, ec);
  if (!ec) {
    if (in_place)
      fs::create_directory_symlink(config, stage / "config", ec);
    else
      fs::copy(config, stage / "config", fs::copy_options::recursive, ec);
  }
  int status = -1;
  if (ec)
    *error = u8"无法准备临时目录 " + Utf8FromArgument(TextFromPath(stage)) + ": " + ec.message();
  else
    status = RunProgram(TextFromPath(staged), args);
  fs::remove_all(stage, ec);
  return status;
}

}  // namespace tools
