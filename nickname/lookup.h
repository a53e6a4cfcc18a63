// The nickname lookup behind 获取昵称: one HTTP GET of the profile-score
// service, the nickname cut out of the answer between ," and ",.
#pragma once

#include "text/text.h"

namespace nickname {

// The nickname of `account`: the bytes between the markers when fewer than
// 24, the account number itself when 24 or more, and the empty text when
// nothing came back. Never fails; blocks for the whole HTTP exchange.
text::Text Lookup(const text::Text& account);

// Closes the library's HTTP client, if one was made. Called at unload.
void ReleaseHttpClient();

}  // namespace nickname
