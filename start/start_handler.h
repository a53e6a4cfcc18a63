// The start handler behind plugmain of Ostrelle: an administrator of a group
// names a story, and the group starts it at the root node.
#pragma once

#include "frame/result.h"
#include "text/text.h"

namespace start {

// Strips `message` in place and takes it as the story name. Replies with the
// story's start text when the message comes from a group ("2"), the story has
// a start text, and `sender` is on the group's administrator list; the group
// section then holds the story name and the progress "1". Every refusal is a
// fixed reply and writes nothing. A start text that has vanished by the time
// it is read again comes back as the missing text.
frame::Result StartHandler(text::Text& message, const text::Text& type, const text::Text& group,
                           const text::Text& sender);

}  // namespace start
