// Load and unload, the same on every platform.
#include "frame/lifecycle.h"

#include "frame/plugin.h"
#include "nickname/lookup.h"
#include "store/run_directory.h"

namespace frame {

void OnLoad() { store::FixRunDirectory(); }

void OnUnload() {
  ReleaseResultSlots();
  nickname::ReleaseHttpClient();
  PluginUnload();
}

}  // namespace frame
