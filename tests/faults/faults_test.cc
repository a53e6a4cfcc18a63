// Both handlers when the disk, the files or the configuration root fail them:
// every call still gives its defined reply, the process lives on, memory
// stays bounded, and no other group's state is lost or altered.
#include <errno.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "start/start_handler.h"
#include "step/step_handler.h"
#include "store/clock.h"
#include "store/test_clock.h"
#include "store/profile_posix_calls.h"
#include "store/store.h"
#include "tests/faults/fault_files.h"
#include "tests/game/run_directory_fixture.h"

namespace {

using namespace fault_test;

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ToString(const frame::Result& r) { return r ? std::string(r->data(), r->size()) : "<missing>"; }

class FaultTest : public testing::Test {
 protected:
  void SetUp() override {
    Prepare();
    store::SetClockForTesting(&clock_);
  }
  void TearDown() override {
    store::SetClockForTesting(nullptr);
    unsetenv("CQAPI_RECORD");
    std::filesystem::remove(record_);
  }

  // The game files and our host library, in the run directory as it is now.
  void Prepare() {
    std::filesystem::create_directories(files_.directory() + "/config/Veldrin");
    files_.WriteStory("tale", kTale);
    files_.WriteMainConfig(kMainConfig);
    // Once loaded the library stays mapped: never write over it.
    std::filesystem::copy_file(HOST_LIBRARY_FILE, files_.directory() + "/cqapi.so",
                               std::filesystem::copy_options::skip_existing);
    // Beside the run directory, where a full disk cannot refuse it.
    record_ = files_.directory() + ".posted";
    setenv("CQAPI_RECORD", record_.c_str(), 1);
  }

  std::string Start(const std::string& story, const std::string& group, const std::string& sender) {
    text::Text m(story.c_str()), t("2"), g(group.c_str()), s(sender.c_str());
    return ToString(start::StartHandler(m, t, g, s));
  }
  std::string Step(const std::string& choice, const std::string& group) {
    clock_.now += 3;
    text::Text c(choice.c_str()), t("2"), g(group.c_str());
    return ToString(step::StepHandler(c, t, g));
  }

  std::string MainPath() const {
    const text::Text p = store::MainConfigPath();
    return std::string(p.data(), p.size());
  }
  std::string StoryFile() const {
    const text::Text p = store::StoryPath("tale");
    return std::string(p.data(), p.size());
  }
  // Everything a handler reads of the groups other than `except`.
  std::vector<std::string> OtherGroups(const std::string& except) const {
    std::vector<std::string> out;
    out.push_back(game_test::MainValue(ADMIN_SECTION, "100"));
    out.push_back(game_test::MainValue(ADMIN_SECTION, "200"));
    for (const char* g : {"100", "200", "300", "400"}) {
      if (g == except) continue;
      for (const char* k : {STORY_KEY, PROGRESS_KEY, TIME_KEY}) out.push_back(game_test::MainValue(g, k));
    }
    return out;
  }

  // A whole round of calls when no write reaches the disk: every reply is
  // the one of a successful write, and the file stays as it was.
  void PlayWithoutWrites() {
    const std::string before = Bytes(MainPath());
    EXPECT_EQ(Start("tale", "100", "2"), "the start");
    EXPECT_EQ(Step("1", "100"), kNotPlaying);
    EXPECT_EQ(Step("1", "200"), "n111");
    EXPECT_EQ(Step("1", "200"), "n111");  // the progress never moved on
    EXPECT_EQ(Step("2", "300"), "the start");
    EXPECT_EQ(Step("1", "400"), std::string("the end") + kStoryEnded);
    EXPECT_EQ(Step("1", "400"), std::string("the end") + kStoryEnded);  // the section is still there
    EXPECT_EQ(Bytes(MainPath()), before);
    EXPECT_EQ(Bytes(record_).find(std::string("n12 falls") + kDeathNotice) != std::string::npos, true);
    // Nothing half-written is left beside the file either.
    for (const auto& entry : std::filesystem::directory_iterator(files_.directory() + "/config/Veldrin"))
      EXPECT_EQ(entry.path().filename().string().find(".writing"), std::string::npos) << entry.path();
  }

  game_test::RunDirectoryFixture files_;
  store::TestClock clock_;
  std::string record_;
};

// A real full disk: a tmpfs of a few pages, filled up.
TEST_F(FaultTest, FullDisk) {
  if (mount("tmpfs", files_.directory().c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
  Prepare();
  {
    std::ofstream filler(files_.directory() + "/filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), block.size())) {
    }
  }
  // The last bytes of room: small files still fit in a page of their own.
  for (int i = 0; std::ofstream(files_.directory() + "/small" + std::to_string(i)).put('x').flush(); ++i) {
    if (i > 64) break;
  }
  PlayWithoutWrites();
  ASSERT_EQ(umount2(files_.directory().c_str(), MNT_DETACH), 0);
}

// The same with each system call of the writer failing in turn, and with a
// read-only file.
TEST_F(FaultTest, FailedWrites) {
  store::ProfileSystemCalls& calls = store::MutableProfileSystemCalls();
  const store::ProfileSystemCalls real = calls;
  struct Case {
    const char* what;
    std::function<void()> fail;
  };
  const Case cases[] = {
      {"no room", [&] { calls.write = [](int, const void*, size_t) -> ssize_t { return errno = ENOSPC, -1; }; }},
      {"short writes then no room",
       [&] {
         calls.write = [](int, const void*, size_t size) -> ssize_t {
           static int n = 0;
           return ++n % 3 == 0 ? (errno = ENOSPC, -1) : static_cast<ssize_t>(size > 7 ? 7 : size);
         };
       }},
      {"flush fails", [&] { calls.fsync = [](int) { return errno = EIO, -1; }; }},
      {"rename refused", [&] { calls.rename = [](const char*, const char*) { return errno = EACCES, -1; }; }},
      {"read-only file", [&] { ASSERT_EQ(chmod(MainPath().c_str(), 0444), 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Prepare();
    c.fail();
    PlayWithoutWrites();
    calls = real;
    chmod(MainPath().c_str(), 0644);
  }
}

TEST_F(FaultTest, MissingConfigurationRoot) {
  std::filesystem::remove_all(files_.directory() + "/config");
  EXPECT_EQ(Start("tale", "100", "1"), kTaleNotConfigured);
  EXPECT_EQ(Step("1", "200"), kNotPlaying);
  EXPECT_FALSE(std::filesystem::exists(files_.directory() + "/config"));
}

TEST_F(FaultTest, StoryChangesInTheMiddleOfAGame) {
  struct Case {
    const char* what;
    std::function<void(const std::string& story)> change;
    std::string reply;
    std::string progress;  // of group 200 afterwards
  };
  const Case cases[] = {
      {"deleted", [](const std::string& s) { std::filesystem::remove(s); }, kNoSuchNode, "11"},
      {"emptied", [](const std::string& s) { std::ofstream(s, std::ios::trunc); }, kNoSuchNode, "11"},
      {"rewritten: the node is now a dead end",
       [](const std::string& s) {
         std::ofstream(s, std::ios::trunc) << "[1]\r\n" START "=new start\r\n[111]\r\n" NODE "=n111 again\r\n";
       },
       "new start", "1"},
      {"rewritten as a directory",
       [](const std::string& s) {
         std::filesystem::remove(s);
         std::filesystem::create_directory(s);
       },
       kNoSuchNode, "11"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(StoryFile());
    Prepare();
    const std::vector<std::string> others = OtherGroups("200");
    c.change(StoryFile());
    EXPECT_EQ(Step("1", "200"), c.reply);
    EXPECT_EQ(game_test::MainValue("200", PROGRESS_KEY), c.progress);
    EXPECT_EQ(game_test::MainValue("200", STORY_KEY), "tale");
    EXPECT_EQ(OtherGroups("200"), others);
  }
}

// Binary garbage, alone and in front of real sections.
TEST_F(FaultTest, GarbageMainConfiguration) {
  std::minstd_rand random(7);
  std::string garbage(256 * 1024, '\0');
  for (char& b : garbage) b = static_cast<char>(random());
  garbage[0] = 'x';  // no byte order mark

  std::ofstream(MainPath(), std::ios::binary | std::ios::trunc) << garbage;
  EXPECT_EQ(Start("tale", "100", "1"), kNoPermission);
  EXPECT_EQ(Step("1", "200"), kNotPlaying);
  EXPECT_EQ(Bytes(MainPath()), garbage);

  std::string with_sections = garbage + "\r\n";
  for (char c : std::string(kMainConfig)) with_sections += c == '\n' ? std::string("\r\n") : std::string(1, c);
  std::ofstream(MainPath(), std::ios::binary | std::ios::trunc) << with_sections;
  const std::vector<std::string> others = OtherGroups("100");
  EXPECT_EQ(Start("tale", "100", "1"), "the start");
  EXPECT_EQ(OtherGroups("100"), others);
  EXPECT_EQ(Step("1", "100"), "n11");
  EXPECT_EQ(Step("2", "300"), "the start");
  EXPECT_EQ(Step("1", "400"), std::string("the end") + kStoryEnded);
  EXPECT_EQ(game_test::MainValue("100", PROGRESS_KEY), "11");
  EXPECT_EQ(game_test::MainValue("200", PROGRESS_KEY), "11");
  EXPECT_EQ(game_test::MainValue("200", TIME_KEY), OLD_STAMP);
  EXPECT_EQ(game_test::MainValue("300", PROGRESS_KEY), "1");
  EXPECT_EQ(game_test::MainValue("400", STORY_KEY), "");
  EXPECT_EQ(game_test::MainValue(ADMIN_SECTION, "100"), "1|2");
}

long PeakRssKiB() {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A story of 50 MB whose nodes lie at its very end: the replies are right
// and the memory a call takes stays within a few times the file.
TEST_F(FaultTest, StoryOfFiftyMegabytes) {
  constexpr long kStoryBytes = 50L * 1024 * 1024;
  {
    std::ofstream story(StoryFile(), std::ios::binary | std::ios::trunc);
    story << "[1]\r\n" START "=the start\r\n" ENDING "=the end\r\n";
    const std::string text(1000, 'w');
    for (long n = 0; story.tellp() < kStoryBytes; ++n) story << "[9" << n << "]\r\n" NODE "=" << text << "\r\n";
    story << "[11]\r\n" NODE "=n11\r\n[111]\r\n" NODE "=n111\r\n[12]\r\n" NODE "=n12 falls\r\n";
  }
  const long before = PeakRssKiB();
  const std::vector<std::string> others = OtherGroups("100");
  EXPECT_EQ(Start("tale", "100", "1"), "the start");
  EXPECT_EQ(Step("1", "100"), "n11");
  EXPECT_EQ(Step("2", "300"), "the start");
  EXPECT_EQ(Step("9", "100"), kNoSuchNode);
  EXPECT_EQ(game_test::MainValue("100", PROGRESS_KEY), "11");
  EXPECT_EQ(OtherGroups("100"), others);
  const long grown_kib = PeakRssKiB() - before;
  EXPECT_LT(grown_kib * 1024, 5 * kStoryBytes) << "peak RSS grew by " << grown_kib << " KiB";
}

}  // namespace
