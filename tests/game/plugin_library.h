// How the game test host loads a plugin library and calls its plugmain: one
// file per platform behind this header.
#pragma once

#include <string>

namespace game_test {

// The file name ending of a plugin library: ".cqp.dll" or ".cqp.so".
extern const char kPluginSuffix[];

class PluginLibrary {
 public:
  // Loads the library at `path`; `loaded()` tells whether that worked.
  explicit PluginLibrary(const std::string& path);
  ~PluginLibrary();  // unloads it
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  bool loaded() const { return plugmain_ != nullptr; }

  // plugmain with the five texts; the plugin's result pointer (may be null).
  const char* Message(const char* message, const char* type, const char* group, const char* sender,
                      const char* fifth);

 private:
  void* library_ = nullptr;
  void* plugmain_ = nullptr;
};

void SleepMilliseconds(int ms);

}  // namespace game_test
