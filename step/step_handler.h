// The step handler behind plugmain of Brannick: a member of a playing group
// sends a choice, and the group moves along its story tree.
#pragma once

#include "frame/result.h"
#include "text/text.h"

namespace step {

// Strips `choice` in place. Not a group message ("2"): the empty text (a
// pointer to an empty text, not the missing text); nothing is read. Less than
// two seconds since the group's last accepted step (or a time stamp in the
// future), the group not playing, or no node for progress + choice: a fixed
// reply and no change. A node whose text equals the story's ending text
// deletes the group section and replies the text with the ending line. A node
// with a first child: "时间" = now, then "进度" = the new path, reply the node
// text. Otherwise a dead end: "进度" = "1", the node text with the death
// notice is posted to the group through the host (step/host_call.h), and
// after a wait of 1000 ms on the clock (store/clock.h) the reply is the
// story's start text. Texts read back empty are the missing text.
frame::Result StepHandler(text::Text& choice, const text::Text& type, const text::Text& group);

}  // namespace step
