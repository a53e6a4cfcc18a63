// The two real plugin libraries, loaded from the run directory, for the game
// and fault test hosts: plugmain with the group message type, its replies as
// texts.
#pragma once

#include <string>

#include "store/file_name.h"
#include "store/run_directory.h"
#include "tools/plugin_library.h"

namespace game_test {

class PluginHost {
 public:
  // `step_sender`: the sender of every step.
  explicit PluginHost(const char* step_sender) : step_sender_(step_sender) {
    std::string error;
    const bool start = start_.Load(PluginPath("Ostrelle"), &error);
    const bool step = step_.Load(PluginPath("Brannick"), &error);
    loaded_ = start && step;
  }
  bool loaded() const { return loaded_; }

  std::string Start(const char* message, const char* group, const char* sender, const char* type = "2") {
    return Reply(start_.Plugmain(message, type, group, sender, ""));
  }
  std::string Step(const char* message, const char* group, const char* type = "2") {
    return Reply(step_.Plugmain(message, type, group, step_sender_, ""));
  }

 private:
  static std::string PluginPath(const char* name) {
    const text::Text dir = store::RunDirectory();
    return std::string(dir.data(), dir.size()) + store::kDirectorySeparator + name + tools::kPluginSuffix;
  }
  static std::string Reply(const char* r) { return r != nullptr ? std::string(r) : std::string("(null)"); }

  const char* step_sender_;
  tools::PluginLibrary start_;
  tools::PluginLibrary step_;
  bool loaded_ = false;
};

}  // namespace game_test
