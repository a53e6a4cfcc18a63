// The step handler against a temporary run directory, with a clock that
// stands still and a wait that is recorded, and our own host library beside
// the "host program" to record the death notices.
#include "step/step_handler.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "step/host_call.h"
#include "store/clock.h"
#include "store/test_clock.h"
#include "store/store.h"
#include "store/time_stamp.h"
#include "tests/game/game_texts.h"
#include "tests/game/run_directory_fixture.h"

namespace step {
namespace {

using game_texts::kDeathNotice;
using game_texts::kNoSuchNode;
using game_texts::kNotPlaying;
using game_texts::kStoryEnded;
using game_texts::kTooFast;

constexpr store::TimeValue kNow{2024, 6, 1, 9, 5, 7};

// Stands at kNow (the test clock's start); records each wait together with
// the death notices posted by the time it began.
class FakeClock : public store::TestClock {
 public:
  explicit FakeClock(std::string record) : record_(std::move(record)) {}
  void Sleep(std::int32_t ms) override {
    waits.push_back(ms);
    std::ifstream in(record_, std::ios::binary);
    record_at_wait.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::vector<std::int32_t> waits;
  std::string record_at_wait;

 private:
  std::string record_;
};

std::string Stamp(int seconds_before_now) {
  store::TimeValue t = kNow;
  t.second -= seconds_before_now;
  const text::Text s = store::TimeToText(t);
  return std::string(s.data(), s.size());
}

class StepHandlerTest : public testing::Test {
 protected:
  void SetUp() override {
    files_.WriteStory("tale",
                      "[1]\n" START "=the start\n" ENDING "=the end\n"
                      "[11]\n" NODE "=n11\n[111]\n" NODE "=n111\n[1111]\n" NODE "=the end\n"
                      "[11111]\n" NODE "=beyond the end\n"
                      "[12]\n" NODE "=n12 falls\n[122]\n" NODE "=n122\n"
                      "[13]\n" NODE "=n13 sinks\n[131]\n" NODE "=\n"
                      "[14]\n" NODE "=\n");
    files_.WriteMainConfig("[100]\n" STORY_KEY "=tale\n" PROGRESS_KEY "=1\n"
                           "[200]\n" STORY_KEY "=tale\n" PROGRESS_KEY "=11\n" TIME_KEY "=" + Stamp(5) + "\n"
                           "[300]\n" PROGRESS_KEY "=1\n"
                           "[400]\n" STORY_KEY "=\n" PROGRESS_KEY "=1\n");
    std::filesystem::copy_file(HOST_LIBRARY_FILE, files_.directory() + "/cqapi.so");
    record_ = files_.directory() + "/posted.txt";
    setenv("CQAPI_RECORD", record_.c_str(), 1);
    clock_ = std::make_unique<FakeClock>(record_);
    store::SetClockForTesting(clock_.get());
  }
  void TearDown() override {
    store::SetClockForTesting(nullptr);
    unsetenv("CQAPI_RECORD");
  }

  frame::Result Step(const std::string& choice, const std::string& group, const std::string& type = "2") {
    text::Text c(choice.c_str()), t(type.c_str()), g(group.c_str());
    return StepHandler(c, t, g);
  }
  std::string Reply(const std::string& choice, const std::string& group) {
    const frame::Result r = Step(choice, group);
    EXPECT_TRUE(r.has_value());
    return r ? std::string(r->data(), r->size()) : std::string();
  }
  std::string Posted() const {
    std::ifstream in(record_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // The group and the message of each record of our host library.
  std::vector<std::pair<std::string, std::string>> PostedMessages() const {
    std::vector<std::pair<std::string, std::string>> out;
    const std::string all = Posted();
    std::size_t at = 0;
    while (at < all.size()) {
      const std::size_t t1 = all.find('\t', at), t2 = all.find('\t', t1 + 1), t3 = all.find('\t', t2 + 1);
      const std::size_t n = std::stoul(all.substr(t2 + 1, t3 - t2 - 1));
      out.emplace_back(all.substr(t1 + 1, t2 - t1 - 1), all.substr(t3 + 1, n));
      at = t3 + 1 + n + 1;
    }
    return out;
  }

  game_test::RunDirectoryFixture files_;
  std::string record_;
  std::unique_ptr<FakeClock> clock_;
};

TEST_F(StepHandlerTest, PrivateChatGetsThePointerToAnEmptyText) {
  const std::string before = files_.MainConfigBytes();
  const frame::Result r = Step("1", "100", "1");
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(*r, "");
  EXPECT_EQ(files_.MainConfigBytes(), before);
}

struct Refusal {
  const char* what;
  const char* choice;
  const char* group;
  const char* reply;
};

TEST_F(StepHandlerTest, RefusalsLeaveTheGroupWhereItWas) {
  const Refusal refusals[] = {
      {"never started", "1", "999", kNotPlaying},
      {"no story name", "1", "300", kNotPlaying},
      {"empty story name", "1", "400", kNotPlaying},
      {"no such node", "9", "100", kNoSuchNode},
      {"node without text", "4", "100", kNoSuchNode},
      {"empty choice at the root", "", "100", kNoSuchNode},
      {"choice is not a digit", "x", "100", kNoSuchNode},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.what);
    const std::string before = files_.MainConfigBytes();
    EXPECT_EQ(Reply(r.choice, r.group), r.reply);
    EXPECT_EQ(files_.MainConfigBytes(), before);
  }
  EXPECT_EQ(Posted(), "");
}

TEST_F(StepHandlerTest, PauseRuleCountsWholeSecondsFromTheLastStep) {
  struct Case {
    const char* what;
    std::string stamp;
    bool accepted;
  };
  const Case cases[] = {
      {"same second", Stamp(0), false},  {"one second", Stamp(1), false},
      {"two seconds", Stamp(2), true},   {"in the future", Stamp(-1), false},
      {"unreadable", "abc", true},       {"empty", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    store::WriteValue(text::View(store::MainConfigPath()), "100", TIME_KEY, c.stamp);
    store::WriteValue(text::View(store::MainConfigPath()), "100", PROGRESS_KEY, "1");
    const std::string before = files_.MainConfigBytes();
    EXPECT_EQ(Reply("1", "100"), c.accepted ? "n11" : kTooFast);
    if (!c.accepted) {
      EXPECT_EQ(files_.MainConfigBytes(), before);
    }
  }
}

TEST_F(StepHandlerTest, WayOnWritesTheTimeThenTheProgress) {
  EXPECT_EQ(Reply(" 1\r\n", "100"), "n11");
  EXPECT_EQ(game_test::MainValue("100", PROGRESS_KEY), "11");
  EXPECT_EQ(game_test::MainValue("100", TIME_KEY), Stamp(0));

  // Both keys new: the file keeps them in the order of the writes.
  files_.WriteMainConfig("[500]\n" STORY_KEY "=tale\n");
  EXPECT_EQ(Reply("11", "500"), "n11");
  const std::string bytes = files_.MainConfigBytes();
  const std::size_t time = bytes.find(TIME_KEY "=");
  const std::size_t progress = bytes.find(PROGRESS_KEY "=11");
  ASSERT_NE(time, std::string::npos);
  ASSERT_NE(progress, std::string::npos);
  EXPECT_LT(time, progress);
  EXPECT_EQ(clock_->waits.size(), 0u);
}

TEST_F(StepHandlerTest, PathIsAPlainConcatenation) {
  EXPECT_EQ(Reply("11", "100"), "n111");
  EXPECT_EQ(game_test::MainValue("100", PROGRESS_KEY), "111");
}

TEST_F(StepHandlerTest, EmptyChoiceShowsTheNodeAgainAndRenewsTheTime) {
  EXPECT_EQ(Reply("\r\n", "200"), "n11");
  EXPECT_EQ(game_test::MainValue("200", PROGRESS_KEY), "11");
  EXPECT_EQ(game_test::MainValue("200", TIME_KEY), Stamp(0));
}

TEST_F(StepHandlerTest, EndingDeletesOnlyTheGroupSection) {
  store::WriteValue(text::View(store::MainConfigPath()), "200", PROGRESS_KEY, "111");
  // 1111 has a child, yet its text is the ending text.
  EXPECT_EQ(Reply("1", "200"), std::string("the end") + kStoryEnded);
  const std::string bytes = files_.MainConfigBytes();
  EXPECT_EQ(bytes.find("[200]"), std::string::npos);
  EXPECT_EQ(game_test::MainValue("100", STORY_KEY), "tale");
  EXPECT_EQ(game_test::MainValue("300", PROGRESS_KEY), "1");
  EXPECT_EQ(Reply("1", "200"), kNotPlaying);
}

TEST_F(StepHandlerTest, DeadEndPostsTheNoticeWaitsAndReturnsToTheStart) {
  struct Case {
    const char* what;
    const char* choice;
    const char* node;
  };
  // 12 has only a child ending in 2; the child of 13 has an empty text.
  const Case cases[] = {{"no first child", "2", "n12 falls"}, {"first child empty", "3", "n13 sinks"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(record_);
    clock_->waits.clear();
    store::WriteValue(text::View(store::MainConfigPath()), "200", PROGRESS_KEY, "1");
    EXPECT_EQ(Reply(c.choice, "200"), "the start");
    EXPECT_EQ(game_test::MainValue("200", PROGRESS_KEY), "1");
    EXPECT_EQ(game_test::MainValue("200", TIME_KEY), Stamp(5));
    const auto posted = PostedMessages();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].first, "200");
    EXPECT_EQ(posted[0].second, std::string(c.node) + kDeathNotice);
    // The notice was out before the one wait began.
    EXPECT_EQ(clock_->waits, std::vector<std::int32_t>{1000});
    EXPECT_EQ(clock_->record_at_wait, Posted());
  }
}

TEST_F(StepHandlerTest, MissingHostLibraryEndsInTheFatalReportAfterTheReset) {
  ReleaseHostLibrary();  // the forked child must bind anew
  std::filesystem::remove(files_.directory() + "/cqapi.so");
  store::WriteValue(text::View(store::MainConfigPath()), "200", PROGRESS_KEY, "1");
  EXPECT_EXIT(Step("2", "200"), testing::ExitedWithCode(255), "cqapi\\.so.*api_message_group_send");
  EXPECT_EQ(game_test::MainValue("200", PROGRESS_KEY), "1");
  EXPECT_EQ(Posted(), "");
}

TEST_F(StepHandlerTest, HostLibraryWithoutTheExportEndsInTheFatalReport) {
  ReleaseHostLibrary();
  std::filesystem::remove(files_.directory() + "/cqapi.so");
  std::filesystem::copy_file(HOST_LIBRARY_WITHOUT_EXPORT_FILE, files_.directory() + "/cqapi.so");
  store::WriteValue(text::View(store::MainConfigPath()), "200", PROGRESS_KEY, "1");
  EXPECT_EXIT(Step("2", "200"), testing::ExitedWithCode(255), "cqapi\\.so.*api_message_group_send");
  EXPECT_EQ(game_test::MainValue("200", PROGRESS_KEY), "1");
}

}  // namespace
}  // namespace step
