// A plugin library loaded the way the chat host loads it, and the two exports
// the console host calls.
#pragma once

#include <string>

namespace tools {

// "Ostrelle" + kPluginSuffix is the file of the start plugin.
extern const char kPluginSuffix[];  // ".cqp.dll" on Windows, ".cqp.so" natively
// The file of our host library, which the step plugin loads from the run
// directory.
extern const char kHostLibraryFile[];  // "cqapi.dll" / "cqapi.so"

class PluginLibrary {
 public:
  PluginLibrary() = default;
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // Loads the library and finds info and plugmain; on failure fills `error`
  // (UTF-8) and returns false.
  bool Load(const std::string& path, std::string* error);

  // The exports; the texts returned stay the plugin's until the next call of
  // the same export.
  const char* Info() const;
  const char* Plugmain(const char* message, const char* type, const char* group, const char* sender,
                       const char* fifth) const;

 private:
  void* library_ = nullptr;
  void* info_ = nullptr;
  void* plugmain_ = nullptr;
};

}  // namespace tools
