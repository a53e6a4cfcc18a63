// The platform's profile-file routines, one call each: on Windows
// GetPrivateProfileStringA / WritePrivateProfileStringA, natively our own
// reader and writer that gives the same results.
#pragma once

#include "text/text.h"

namespace store {

// Read buffer of the profile read: a value comes back as at most
// kProfileBufferSize - 1 bytes.
constexpr std::size_t kProfileBufferSize = 10240;

// The value of `key` in `section` of `file`, or the empty text when the file,
// the section or the key is missing. Never fails.
text::Text ProfileRead(const text::Text& file, const text::Text& section, const text::Text& key);

// Sets `key` of `section` to `value`, adding the key, the section and the file
// as needed. A null `key` removes the whole section. Failures are not
// reported; a failed write leaves the file as it was.
void ProfileWrite(const text::Text& file, const text::Text& section, const text::Text* key,
                  const text::Text* value);

}  // namespace store
