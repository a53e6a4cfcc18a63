// The run directory: the directory of the host program's executable (not of
// the plugin library), in the platform's file-name form, without a trailing
// separator. Fixed once when the library loads.
#pragma once

#include "text/text.h"

namespace store {

void FixRunDirectory();
const text::Text& RunDirectory();

// For native unit tests, which load no plugin: puts the game files below `dir`.
void SetRunDirectoryForTesting(const text::Text& dir);

// Platform part: the full path of the executable of the current process.
text::Text ExecutablePath();

}  // namespace store
