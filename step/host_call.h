// The host call of the step plugin: api_message_group_send of the host
// library, bound at its first use and kept until the plugin unloads.
#pragma once

#include "text/text.h"

namespace step {

// Posts `message` into `group` through the host. The first call of a loaded
// plugin loads the host library from the run directory, else by its plain
// name, and looks up the export; when neither gives the export it ends in the
// fatal error report naming the library and the export. A host function that
// does not remove exactly its two arguments ends in the fatal error report
// with code 6. Does not return in either case.
void PostGroupMessage(const text::Text& group, const text::Text& message);

// Releases the host library if a call loaded it (at unload).
void ReleaseHostLibrary();

// Platform part (host_call_win32.cc, host_call_posix.cc).

// The plain file name of the host library: cqapi.dll on Windows, cqapi.so natively.
extern const char kHostLibraryName[];

// The loaded library, or null; `path` is a full path or a plain name.
void* LoadHostLibrary(const text::Text& path);
// The export's address, or null.
void* FindHostExport(void* library, const char* name);
void FreeHostLibrary(void* library);

// Calls the export with the two texts. False when it did not remove exactly
// its two arguments (only detectable with the Windows calling convention).
bool CallHostSend(void* send, const char* group, const char* message);

}  // namespace step
