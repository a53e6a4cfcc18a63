// Fuzz target of the message handlers of both plugins, as plugmain calls them,
// over a temporary run directory with a fuzzed story file "s.ini" and main
// configuration file, and a clock that only moves when the input says so
// (the dead end's wait costs nothing). Deaths reach our own host library from
// tests/game, copied beside the "host program". No crash, no fatal report;
// a start always replies with a text; a private-chat message touches no
// file; every call leaves every section other than its group's reading as
// before.
//
// Input, parts separated by zero bytes: the story file, the main
// configuration file, then up to 16 messages. A message is a control byte
// (bit 0: the step plugin, else the start plugin; bit 1: a private-chat
// message; bits 2-5: seconds the clock moves on first; bits 6-7 free, so
// that it can be a letter and never a zero byte) and then group,
// sender and message text separated by tabs (group "100" and sender "1"
// when left out).
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "fuzz/temporary_directory.h"
#include "start/start_handler.h"
#include "step/step_handler.h"
#include "store/clock.h"
#include "store/profile.h"
#include "store/profile_format.h"
#include "store/run_directory.h"
#include "store/store.h"
#include "store/test_clock.h"
#include "text/text.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

store::TestClock g_clock;
std::string g_story_file, g_main_file;

void Init() {
  static bool done = false;
  if (done) return;
  done = true;
  const std::string dir = fuzz::TemporaryDirectory("plugmain-fuzz");
  std::filesystem::create_directories(dir + "/config/Veldrin");
  std::filesystem::copy_file(HOST_LIBRARY_FILE, dir + "/cqapi.so");
  store::SetRunDirectoryForTesting(text::Text(dir.c_str()));
  store::SetClockForTesting(&g_clock);
  g_story_file = dir + "/config/Veldrin/s.ini";
  const text::Text main = store::MainConfigPath();
  g_main_file.assign(main.data(), main.size());
  // Our host library prints every message it posts.
  const int null = open("/dev/null", O_WRONLY);
  Check(null >= 0 && dup2(null, STDOUT_FILENO) >= 0);
  close(null);
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  Check(f != nullptr);
  Check(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
  Check(std::fclose(f) == 0);
}

std::string ReadFile(const std::string& path) {
  std::string out;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return out;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) out.append(buffer, n);
  std::fclose(f);
  return out;
}

std::string_view NextPart(std::string_view* rest, char separator) {
  const std::size_t end = rest->find(separator);
  const std::string_view part = rest->substr(0, end);
  *rest = end == std::string_view::npos ? std::string_view() : rest->substr(end + 1);
  return part;
}

text::Text ReadBack(const store::ProfileLayout& layout, std::string_view section, std::string_view key) {
  const int s = store::FindProfileSection(layout, section);
  if (s < 0) return text::Text();
  const int k = store::FindProfileKey(layout, s, key);
  return k < 0 ? text::Text() : store::ProfileReadResult(layout, layout.sections[s].keys[k], store::kProfileBufferSize);
}

// Every key of every named section of `from` except `group`'s reads alike in `a` and `b`.
void CheckOtherGroupsAlike(const store::ProfileLayout& from, const store::ProfileLayout& a,
                           const store::ProfileLayout& b, std::string_view group) {
  for (const store::ProfileSection& sec : from.sections) {
    if (sec.name.empty() || store::SameProfileName(sec.name, group)) continue;
    for (const store::ProfileKeyLine& k : sec.keys) {
      if (!k.name.empty()) Check(ReadBack(a, sec.name, k.name) == ReadBack(b, sec.name, k.name));
    }
  }
}

// A group number that the writer keeps within its own section.
bool IsPlainGroup(std::string_view g) {
  const std::string_view t = store::TrimProfileBlanks(g);
  if (t.empty() || t.size() != g.size()) return false;
  for (char c : g) {
    if (c == '\r' || c == '\n' || text::IsLeadByte(c)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Init();
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  WriteFile(g_story_file, NextPart(&rest, '\0'));
  WriteFile(g_main_file, NextPart(&rest, '\0'));

  for (int n = 0; n < 16 && !rest.empty(); ++n) {
    std::string_view message = NextPart(&rest, '\0');
    if (message.empty()) continue;
    const unsigned control = static_cast<unsigned char>(message[0]);
    message.remove_prefix(1);
    const bool step = (control & 1) != 0;
    const bool private_chat = (control & 2) != 0;
    g_clock.now += (control >> 2) & 15;
    std::string_view group = "100", sender = "1";
    if (message.find('\t') != std::string_view::npos) group = NextPart(&message, '\t');
    if (message.find('\t') != std::string_view::npos) sender = NextPart(&message, '\t');

    text::Text m(message.data(), message.size()), t(private_chat ? "1" : "2"), g(group.data(), group.size()),
        s(sender.data(), sender.size());
    const std::string before = ReadFile(g_main_file);
    const frame::Result reply = step ? step::StepHandler(m, t, g) : start::StartHandler(m, t, g, s);
    const std::string after = ReadFile(g_main_file);

    // Every start reply is a text: a fixed one, or a start text just read.
    if (!step) Check(reply.has_value() && !reply->empty());
    if (private_chat) {
      Check(after == before);
      if (step) Check(reply.has_value() && reply->empty());
    }
    if (IsPlainGroup(group)) {
      const store::ProfileLayout a = store::ParseProfile(before), b = store::ParseProfile(after);
      if (a.encoding == store::ProfileEncoding::kCodePage) {
        CheckOtherGroupsAlike(a, a, b, group);
        CheckOtherGroupsAlike(b, a, b, group);
      }
    }
  }
  return 0;
}
