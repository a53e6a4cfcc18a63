// Placeholder until the HTTP fetch lands: every lookup finds nothing.
#include "nickname/lookup.h"

namespace nickname {

text::Text Lookup(const text::Text&) { return text::Text(); }
void ReleaseHttpClient() {}

}  // namespace nickname
