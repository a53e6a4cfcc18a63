// The test client's loading of a plugin library and its nickname export, the
// same on both platforms.
#include "tests/nickname/client_host.h"

#include <string>

#include "tools/plugin_library.h"

namespace client {
namespace {

constexpr char kNicknameExport[] = "\xBB\xF1\xC8\xA1\xEA\xC7\xB3\xC6";  // 获取昵称

}  // namespace

struct Plugin {
  tools::PluginLibrary library;
  void* nickname = nullptr;
};

Plugin* LoadPlugin(const char* path) {
  auto* plugin = new Plugin;
  std::string error;
  if (plugin->library.Load(path, &error)) plugin->nickname = plugin->library.Export(kNicknameExport);
  if (plugin->nickname == nullptr || !WatchClients(plugin->library.handle())) {
    delete plugin;
    return nullptr;
  }
  return plugin;
}

bool UnloadPlugin(Plugin* plugin) {
  const bool gone = plugin->library.Unload();
  delete plugin;
  return gone;
}

const char* GetNickname(Plugin* plugin, const char* account) { return CallNickname(plugin->nickname, account); }

}  // namespace client
