// The fault host: loads both real plugin libraries from its own folder (the
// run directory, with our own host library beside them), writes the game
// files below it, breaks them and calls plugmain, with the real clock and the
// platform's profile routines. One scenario per process; status 0 when every
// reply was the defined one and no other group's state changed.
//
//   fault_host full-disk       the game files, then the disk filled up (the
//                              runner mounts a small tmpfs for it)
//   fault_host missing-root    no configuration root at all
//   fault_host write-files     only writes the game files
//   fault_host read-only       a read-only main configuration file (written
//                              before by write-files; the runner may also
//                              make it immutable, since Wine run as root
//                              writes into files whatever their attributes)
//   fault_host garbage         a main configuration file of binary garbage,
//                              alone and in front of the real sections
//   fault_host story-changes   the story file deleted, then rewritten, mid-game
//   fault_host large-story     a story file of 50 MB
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "store/clock.h"
#include "store/file_name.h"
#include "store/run_directory.h"
#include "store/store.h"
#include "tests/faults/fault_files.h"
#include "tests/game/plugin_host.h"

namespace {

using namespace fault_test;

int g_failures = 0;

void CheckEqual(const std::string& got, const std::string& want, const std::string& what) {
  std::printf("%s %s\n", got == want ? "ok  " : "FAIL", what.c_str());
  if (got != want) {
    std::printf("     got  ");
    for (unsigned char c : got) std::printf("%02X ", c);
    std::printf("\n     want ");
    for (unsigned char c : want) std::printf("%02X ", c);
    std::printf("\n");
    ++g_failures;
  }
  std::fflush(stdout);
}

std::string Own(const text::Text& t) { return std::string(t.data(), t.size()); }
std::string MainPath() { return Own(store::MainConfigPath()); }
std::string StoryFile() { return Own(store::StoryPath("tale")); }
std::string MainValue(const char* section, const char* key) {
  return Own(store::ReadValue(text::View(store::MainConfigPath()), section, key));
}

// Paths are in the platform's narrow form, as the plugins' own.
std::string Bytes(const std::string& path) {
  std::string out;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) out.append(buffer, n);
    std::fclose(f);
  }
  return out;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::string WithCrLf(const char* lines) {
  std::string out;
  for (const char* p = lines; *p; ++p) out += *p == '\n' ? std::string("\r\n") : std::string(1, *p);
  return out;
}

std::string ConfigRoot() {
  return Own(store::RunDirectory()) + store::kDirectorySeparator + "config" + store::kDirectorySeparator + "Veldrin";
}

void WriteGameFiles() {
  std::filesystem::create_directories(ConfigRoot());
  WriteBytes(StoryFile(), WithCrLf(kTale));
  WriteBytes(MainPath(), WithCrLf(kMainConfig));
}

// What every handler reads of the groups other than `except`.
std::vector<std::string> OtherGroups(const std::string& except) {
  std::vector<std::string> out{MainValue(ADMIN_SECTION, "100"), MainValue(ADMIN_SECTION, "200")};
  for (const char* g : {"100", "200", "300", "400"}) {
    if (g == except) continue;
    for (const char* k : {STORY_KEY, PROGRESS_KEY, TIME_KEY}) out.push_back(MainValue(g, k));
  }
  return out;
}

void CheckSame(const std::vector<std::string>& got, const std::vector<std::string>& want, const std::string& what) {
  std::string a, b;
  for (const std::string& s : got) a += s + "|";
  for (const std::string& s : want) b += s + "|";
  CheckEqual(a, b, what);
}

// Steps come from one player.
struct Host : game_test::PluginHost {
  Host() : PluginHost("3") {}
};

void MissingRoot(Host& host) {
  CheckEqual(host.Start("tale", "100", "1"), kTaleNotConfigured, "start without a configuration root");
  CheckEqual(host.Step("1", "200"), kNotPlaying, "step without a configuration root");
  CheckEqual(std::filesystem::exists(Own(store::RunDirectory()) + store::kDirectorySeparator + "config") ? "made"
                                                                                                          : "none",
             "none", "no directory made");
}

// A round of calls whose writes may fail: the replies are those of
// successful writes.
void PlayRound(Host& host) {
  CheckEqual(host.Start("tale", "100", "2"), "the start", "a start");
  CheckEqual(host.Step("1", "200"), "n111", "a step with a way on");
  CheckEqual(host.Step("2", "300"), "the start", "a dead end");
  CheckEqual(host.Step("1", "400"), std::string("the end") + kStoryEnded, "the end");
}

void ReadOnly(Host& host) {
  chmod(MainPath().c_str(), S_IREAD);
  const std::string before = Bytes(MainPath());
  PlayRound(host);
  CheckEqual(Bytes(MainPath()) == before ? "same" : "changed", "same", "the file as it was");
  chmod(MainPath().c_str(), S_IREAD | S_IWRITE);
}

// Many more groups behind the four, so that a rewrite needs more room than a
// page; the ones the round does not touch must all be there afterwards. (A
// rewrite in place may still succeed in the pages the file had.)
void FullDisk(Host& host) {
  WriteGameFiles();
  constexpr int kMoreGroups = 3000;
  {
    std::string more;
    for (int i = 0; i < kMoreGroups; ++i)
      more += "[" + std::to_string(5000 + i) + "]\r\n" STORY_KEY "=tale\r\n" PROGRESS_KEY "=1" + std::to_string(i) + "\r\n";
    WriteBytes(MainPath(), Bytes(MainPath()) + more);
  }
  const std::string filler = Own(store::RunDirectory()) + store::kDirectorySeparator + "filler";
  if (std::FILE* f = std::fopen(filler.c_str(), "wb")) {
    const std::string block(4096, 'x');
    while (std::fwrite(block.data(), 1, block.size(), f) == block.size() && std::fflush(f) == 0) {
    }
    std::fclose(f);
  }
  PlayRound(host);
  CheckEqual(MainValue(ADMIN_SECTION, "100"), "1|2", "the administrators");
  int lost = 0;
  for (int i = 0; i < kMoreGroups; ++i) {
    const std::string g = std::to_string(5000 + i);
    if (MainValue(g.c_str(), PROGRESS_KEY) != "1" + std::to_string(i) || MainValue(g.c_str(), STORY_KEY) != "tale")
      ++lost;
  }
  CheckEqual(std::to_string(lost), "0", "groups lost or altered");
}

void Garbage(Host& host) {
  WriteGameFiles();
  std::minstd_rand random(7);
  std::string garbage(256 * 1024, '\0');
  for (char& b : garbage) b = static_cast<char>(random());
  garbage[0] = 'x';  // no byte order mark
  WriteBytes(MainPath(), garbage);
  CheckEqual(host.Start("tale", "100", "1"), kNoPermission, "start on garbage");
  CheckEqual(host.Step("1", "200"), kNotPlaying, "step on garbage");

  WriteBytes(MainPath(), garbage + "\r\n" + WithCrLf(kMainConfig));
  const std::vector<std::string> others = OtherGroups("100");
  CheckEqual(host.Start("tale", "100", "1"), "the start", "start after garbage");
  CheckSame(OtherGroups("100"), others, "the other groups after the start");
  CheckEqual(host.Step("1", "100"), "n11", "step after garbage");
  CheckEqual(MainValue("100", PROGRESS_KEY), "11", "progress after garbage");
  CheckSame(OtherGroups("100"), others, "the other groups after the step");
}

void StoryChanges(Host& host) {
  WriteGameFiles();
  const std::vector<std::string> others = OtherGroups("200");
  std::remove(StoryFile().c_str());
  CheckEqual(host.Step("1", "200"), kNoSuchNode, "story deleted");
  CheckEqual(MainValue("200", PROGRESS_KEY), "11", "progress kept");
  WriteBytes(StoryFile(), "[1]\r\n" START "=new start\r\n[111]\r\n" NODE "=n111 again\r\n");
  store::PlatformClock().Sleep(2100);  // the pause rule
  CheckEqual(host.Step("1", "200"), "new start", "story rewritten: now a dead end");
  CheckEqual(MainValue("200", PROGRESS_KEY), "1", "back at the root");
  CheckSame(OtherGroups("200"), others, "the other groups");
}

void LargeStory(Host& host) {
  WriteGameFiles();
  {
    std::FILE* f = std::fopen(StoryFile().c_str(), "wb");
    std::fputs("[1]\r\n" START "=the start\r\n" ENDING "=the end\r\n", f);
    const std::string filler = "=" + std::string(1000, 'w') + "\r\n";
    for (long n = 0; std::ftell(f) < 50L * 1024 * 1024; ++n) std::fprintf(f, "[9%ld]\r\n" NODE "%s", n, filler.c_str());
    std::fputs("[11]\r\n" NODE "=n11\r\n[111]\r\n" NODE "=n111\r\n", f);
    std::fclose(f);
  }
  const std::vector<std::string> others = OtherGroups("100");
  CheckEqual(host.Start("tale", "100", "1"), "the start", "start of a 50 MB story");
  CheckEqual(host.Step("1", "100"), "n11", "a step in it");
  CheckEqual(host.Step("9", "300"), kNoSuchNode, "no such node in it");
  CheckSame(OtherGroups("100"), others, "the other groups");
}

}  // namespace

int main(int argc, char** argv) {
  store::FixRunDirectory();
  const std::string scenario = argc > 1 ? argv[1] : "";
  if (scenario == "write-files") {
    WriteGameFiles();
    return 0;
  }
  Host host;
  if (!host.loaded()) {
    std::printf("FAIL cannot load the plugins from %s\n", store::RunDirectory().c_str());
    return 1;
  }
  if (scenario == "full-disk") {
    FullDisk(host);
  } else if (scenario == "missing-root") {
    MissingRoot(host);
  } else if (scenario == "read-only") {
    ReadOnly(host);
  } else if (scenario == "garbage") {
    Garbage(host);
  } else if (scenario == "story-changes") {
    StoryChanges(host);
  } else if (scenario == "large-story") {
    LargeStory(host);
  } else {
    std::printf("unknown scenario %s\n", scenario.c_str());
    return 2;
  }
  std::printf("%d failed\n", g_failures);
  return g_failures == 0 ? 0 : 1;
}
