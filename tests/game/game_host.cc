// The game test host: loads both real plugin libraries from its own folder
// (the run directory, with the game files below it and our own host library
// beside it) and plays scripted scenarios through plugmain, with the real
// clock and real waits. One scenario per process; it prints each step and
// ends with status 0 when every check held.
//
//   game_host game             the whole game, refusals to ending
//   game_host death            start, a step and a dead end, which is
//                              expected to end the process (fatal report)
//   game_host check-reset N    the group of "death" stands at "1", and N
//                              death notices were posted
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "store/clock.h"
#include "store/file_name.h"
#include "store/run_directory.h"
#include "store/store.h"
#include "tests/game/game_texts.h"
#include "tests/game/plugin_host.h"
#include "text/test_hex.h"

namespace game_test {
namespace {

#define STORY "\xC3\xD4\xCE\xED\xC9\xAD\xC1\xD6"  // 迷雾森林

constexpr char kStory[] = STORY;
using game_texts::kAdministrators;
using game_texts::kDeathNotice;
using game_texts::kNoPermission;
using game_texts::kNoSuchNode;
using game_texts::kNodeKey;
using game_texts::kNotAdministrator;
using game_texts::kNotInGroup;
using game_texts::kNotPlaying;
using game_texts::kProgressKey;
using game_texts::kStartKey;
using game_texts::kStoryEnded;
using game_texts::kStoryKey;
using game_texts::kTooFast;

// Our host library appends here (relative to the working directory, the run directory).
constexpr char kRecordFile[] = "posted.txt";
// Longer than the two seconds of the pause rule, whatever the seconds' edges.
constexpr int kPastThePause = 2100;

int g_failures = 0;

using test_support::Hex;

void Check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  std::fflush(stdout);
  if (!ok) ++g_failures;
}

void CheckEqual(const std::string& got, const std::string& want, const std::string& what) {
  Check(got == want, what);
  if (got != want) std::printf("     got  %s\n     want %s\n", Hex(got).c_str(), Hex(want).c_str());
}

std::string Own(const text::Text& t) { return std::string(t.data(), t.size()); }

std::string MainValue(const char* section, const char* key) {
  return Own(store::ReadValue(text::View(store::MainConfigPath()), section, key));
}

std::string StoryValue(const char* section, const char* key) {
  return Own(store::ReadValue(text::View(store::StoryPath(kStory)), section, key));
}

std::string Node(const char* path) { return StoryValue(path, kNodeKey); }

long long SteadyMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

struct Posted {
  long long ms;
  std::string group, message;
};

std::vector<Posted> ReadPosted() {
  std::ifstream in(kRecordFile, std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<Posted> out;
  std::size_t at = 0;
  while (at < all.size()) {
    const std::size_t t1 = all.find('\t', at), t2 = all.find('\t', t1 + 1), t3 = all.find('\t', t2 + 1);
    if (t3 == std::string::npos) break;
    const std::size_t n = std::stoul(all.substr(t2 + 1, t3 - t2 - 1));
    out.push_back({std::stoll(all.substr(at, t1 - at)), all.substr(t1 + 1, t2 - t1 - 1), all.substr(t3 + 1, n)});
    at = t3 + 1 + n + 1;
  }
  return out;
}

// Steps come from one player.
struct Host : PluginHost {
  Host() : PluginHost("30000") {}
};

void WholeGame(Host& host) {
  const std::string start_text = StoryValue("1", kStartKey);
  const std::string admins_before = MainValue(kAdministrators, "10001");

  // The start plugin's refusals change nothing.
  CheckEqual(host.Start(STORY, "10001", "20001", "1"), kNotInGroup, "start in a private chat");
  CheckEqual(host.Start("\xB2\xBB\xB4\xE6\xD4\xDA", "10001", "20001"),  // 不存在
             YOUR_GAME "\xB2\xBB\xB4\xE6\xD4\xDA" NOT_CONFIGURED, "start of a story that does not exist");
  CheckEqual(host.Start("..\\Veldrin\\" STORY, "10001", "20001"), YOUR_GAME "..\\Veldrin\\" STORY NOT_CONFIGURED,
             "start of a story name that leaves the configuration root");
  CheckEqual(host.Start("..\\..\\" STORY, "10001", "20001"), YOUR_GAME "..\\..\\" STORY NOT_CONFIGURED,
             "start of a story name two levels up");
  CheckEqual(host.Start("CON", "10001", "20001"), YOUR_GAME "CON" NOT_CONFIGURED, "start of a device name");
  CheckEqual(host.Start(STORY, "10003", "20001"), kNoPermission, "start in a group without administrators");
  CheckEqual(host.Start(STORY, "10001", "20003"), kNotAdministrator, "start by a member who is no administrator");
  CheckEqual(MainValue("10001", kStoryKey), "", "no group section after the refusals");
  CheckEqual(host.Step("1", "10001"), kNotPlaying, "step before any start");

  // Two groups start; the second administrator of 10001 with blanks around the name.
  CheckEqual(host.Start(" " STORY "\r\n", "10001", "20002"), start_text, "start by an administrator");
  CheckEqual(MainValue("10001", kStoryKey), kStory, "story name stored");
  CheckEqual(MainValue("10001", kProgressKey), "1", "progress at the root");
  CheckEqual(host.Start(STORY, "10002", "20003"), start_text, "start in a second group");

  // Steps and the pause rule.
  CheckEqual(host.Step("2", "10001", "1"), "", "step in a private chat");
  CheckEqual(host.Step("1", "10001"), Node("11"), "first step");
  CheckEqual(host.Step("2", "10001"), kTooFast, "a step at once is refused");
  store::PlatformClock().Sleep(kPastThePause);
  CheckEqual(host.Step("9", "10001"), kNoSuchNode, "a choice without a node");
  CheckEqual(MainValue("10001", kProgressKey), "11", "the group stays where it was");
  CheckEqual(host.Step("2", "10001"), Node("112"), "a step after two seconds");

  // A death: the notice, then at least a second, then the start text.
  store::PlatformClock().Sleep(kPastThePause);
  const std::size_t posted_before = ReadPosted().size();
  CheckEqual(host.Step("1", "10001"), start_text, "a dead end answers with the start text");
  const long long returned = SteadyMs();
  const std::vector<Posted> posted = ReadPosted();
  Check(posted.size() == posted_before + 1, "one death notice posted");
  if (posted.size() == posted_before + 1) {
    CheckEqual(posted.back().group, "10001", "death notice to the group");
    CheckEqual(posted.back().message, Node("1121") + kDeathNotice, "death notice text");
    Check(returned - posted.back().ms >= 1000, "notice posted at least a second before the reply returned (" +
                                                   std::to_string(returned - posted.back().ms) + " ms)");
  }
  CheckEqual(MainValue("10001", kProgressKey), "1", "back at the root after the death");

  // A restart, then the path to the ending, six choices deep.
  CheckEqual(host.Start(STORY, "10001", "20001"), start_text, "restart by the other administrator");
  const char* const path[] = {"11", "111", "1111", "11111", "111111"};
  for (const char* node : path) {
    store::PlatformClock().Sleep(kPastThePause);
    CheckEqual(host.Step("1", "10001"), Node(node), std::string("step to ") + node);
    CheckEqual(MainValue("10001", kProgressKey), node, std::string("progress ") + node);
  }
  store::PlatformClock().Sleep(kPastThePause);
  CheckEqual(host.Step("1", "10001"), Node("1111111") + kStoryEnded, "the ending");
  CheckEqual(MainValue("10001", kStoryKey), "", "group section deleted: no story");
  CheckEqual(MainValue("10001", kProgressKey), "", "group section deleted: no progress");
  CheckEqual(MainValue("10002", kStoryKey), kStory, "the other group still plays");
  CheckEqual(MainValue(kAdministrators, "10001"), admins_before, "administrator section kept");
  CheckEqual(host.Step("1", "10001"), kNotPlaying, "a step after the ending");
  CheckEqual(host.Step("2", "10002"), Node("12"), "the other group steps on");
}

// The step into a dead end must not return: the host library is missing or
// broken, and the fatal report ends the process.
void Death(Host& host) {
  CheckEqual(host.Start(STORY, "10001", "20001"), StoryValue("1", kStartKey), "start");
  CheckEqual(host.Step("2", "10001"), Node("12"), "step");
  store::PlatformClock().Sleep(kPastThePause);
  std::printf("dead end: expecting the fatal report\n");
  std::fflush(stdout);
  host.Step("1", "10001");
  Check(false, "the dead end returned");
}

}  // namespace
}  // namespace game_test

int main(int argc, char** argv) {
  using namespace game_test;
  store::FixRunDirectory();
  const std::string scenario = argc > 1 ? argv[1] : "";
  if (scenario == "check-reset") {
    CheckEqual(MainValue("10001", kProgressKey), "1", "progress reset before the fatal report");
    CheckEqual(MainValue("10001", kStoryKey), kStory, "story kept");
    const std::string posted = std::to_string(ReadPosted().size());
    CheckEqual(posted, argc > 2 ? argv[2] : "", "death notices posted before the fatal report");
    return g_failures == 0 ? 0 : 1;
  }
  Host host;
  if (!host.loaded()) {
    std::printf("FAIL cannot load the plugins from %s\n", store::RunDirectory().c_str());
    return 1;
  }
  if (scenario == "game") {
    WholeGame(host);
  } else if (scenario == "death") {
    Death(host);
  } else {
    std::printf("unknown scenario %s\n", scenario.c_str());
    return 2;
  }
  std::printf("%d failed\n", g_failures);
  return g_failures == 0 ? 0 : 1;
}
