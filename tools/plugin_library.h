// A plugin library loaded the way the chat host loads it, the two exports the
// console host calls and any other by name: for veldrin and the test hosts.
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

  // Another export by its name, or null; the caller casts it to its type,
  // stdcall on Windows.
  void* Export(const char* name) const;
  // The system's handle of the library (an HMODULE on Windows).
  void* handle() const { return library_; }

  // Lets the library go; false when the system keeps it loaded all the same
  // (natively, a library holding a GNU unique symbol stays until exit).
  bool Unload();

 private:
  // Platform part: opens the library at path_ into library_; on failure fills
  // `error` (UTF-8).
  bool Open(std::string* error);

  std::string path_;
  void* library_ = nullptr;
  void* info_ = nullptr;
  void* plugmain_ = nullptr;
};

}  // namespace tools
