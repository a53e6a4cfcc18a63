// Load and unload of a plugin library, called from the platform's entry file.
#pragma once

namespace frame {

// Fixes the run directory; reads, writes and connects nothing.
void OnLoad();

// Releases the five result slots, the HTTP client and the plugin's own
// resources. Not run after a fatal error report.
void OnUnload();

// Defined beside the exports: empties the five result slots.
void ReleaseResultSlots();

}  // namespace frame
