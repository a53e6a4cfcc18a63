// The part of loading a plugin that is the same on every platform: finding
// info and plugmain, and calling them with the plugins' calling convention.
#include "tools/plugin_library.h"

#include "frame/export_abi.h"

namespace tools {
namespace {
using InfoFn = const char*(PLUGIN_CALL*)();
using PlugmainFn = const char*(PLUGIN_CALL*)(const char*, const char*, const char*, const char*, const char*);
}  // namespace

bool PluginLibrary::Load(const std::string& path, std::string* error) {
  path_ = path;
  if (!Open(error)) return false;
  info_ = Export("info");
  plugmain_ = Export("plugmain");
  if (info_ == nullptr || plugmain_ == nullptr) {
    *error = path + ": no export info or plugmain";
    return false;
  }
  return true;
}

const char* PluginLibrary::Info() const { return reinterpret_cast<InfoFn>(info_)(); }

const char* PluginLibrary::Plugmain(const char* message, const char* type, const char* group, const char* sender,
                                    const char* fifth) const {
  return reinterpret_cast<PlugmainFn>(plugmain_)(message, type, group, sender, fifth);
}

}  // namespace tools
