// The five exports: argument copies, the routine, the result slot. Nothing
// thrown may reach the host; anything that escapes a routine ends in the
// fatal error report.
#include "frame/export_abi.h"
#include "frame/fatal.h"
#include "frame/lifecycle.h"
#include "frame/plugin.h"
#include "frame/result_slot.h"
#include "nickname/lookup.h"
#include "text/text.h"

using frame::Result;
using text::Text;

namespace {

frame::ResultSlot g_info_slot, g_message_slot, g_nickname_slot, g_between_slot, g_strip_slot;

// A private copy of a host text; the null pointer is the empty text.
Text ArgumentCopy(const char* p) { return p != nullptr ? Text(p) : Text(); }

// Runs the routine (which makes and releases the argument copies), then hands
// its result to the slot, so a host may pass the slot's previous text in.
template <class Routine>
const char* Serve(frame::ResultSlot& slot, Routine routine) noexcept {
  try {
    return slot.Hold(routine());
  } catch (...) {
    frame::FatalReport(frame::kNoCode, nullptr);
  }
}

}  // namespace

namespace frame {

void ReleaseResultSlots() {
  for (ResultSlot* slot : {&g_info_slot, &g_message_slot, &g_nickname_slot, &g_between_slot, &g_strip_slot})
    slot->Release();
}

}  // namespace frame

PLUGIN_EXPORT const char* PLUGIN_CALL info();
PLUGIN_EXPORT const char* PLUGIN_CALL plugmain(const char* message, const char* type, const char* group,
                                               const char* sender, const char* fifth);
PLUGIN_EXPORT const char* PLUGIN_CALL GetNickname(const char* account)
    PLUGIN_SYMBOL("\xBB\xF1\xC8\xA1\xEA\xC7\xB3\xC6");  // 获取昵称
PLUGIN_EXPORT const char* PLUGIN_CALL TakeTextBetween(const char* t, const char* start, const char* end)
    PLUGIN_SYMBOL("\xC8\xA1\xCE\xC4\xB1\xBE\xD6\xAE\xBC\xE4");  // 取文本之间
PLUGIN_EXPORT const char* PLUGIN_CALL StripBlanksAndBreaks(const char* t)
    PLUGIN_SYMBOL("\xC8\xA5\xBF\xD5\xB8\xF1\xBB\xBB\xD0\xD0");  // 去空格换行

const char* PLUGIN_CALL info() {
  return Serve(g_info_slot, [] { return Result(frame::PluginInfoBlock()); });
}

const char* PLUGIN_CALL plugmain(const char* message, const char* type, const char* group, const char* sender,
                                 const char* fifth) {
  return Serve(g_message_slot, [&] {
    Text m = ArgumentCopy(message);
    Text t = ArgumentCopy(type);
    Text g = ArgumentCopy(group);
    Text s = ArgumentCopy(sender);
    Text f = ArgumentCopy(fifth);
    return frame::PluginMessage(m, t, g, s, f);
  });
}

const char* PLUGIN_CALL GetNickname(const char* account) {
  return Serve(g_nickname_slot, [&] { return frame::MissingIfEmpty(nickname::Lookup(ArgumentCopy(account))); });
}

const char* PLUGIN_CALL TakeTextBetween(const char* t, const char* start, const char* end) {
  return Serve(g_between_slot, [&] {
    Text a = ArgumentCopy(t);
    Text b = ArgumentCopy(start);
    Text c = ArgumentCopy(end);
    return frame::MissingIfEmpty(text::TextBetween(text::View(a), text::View(b), text::View(c)));
  });
}

const char* PLUGIN_CALL StripBlanksAndBreaks(const char* t) {
  return Serve(g_strip_slot, [&] {
    Text v = ArgumentCopy(t);
    return frame::MissingIfEmpty(text::Strip(v));
  });
}
