// The start handler against a temporary run directory: every reply, what is
// written and in which order, and that refusals leave the files alone.
#include "start/start_handler.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/game/game_texts.h"
#include "tests/game/run_directory_fixture.h"
#include "text/test_hex.h"

namespace start {
namespace {

#define FOREST "\xC9\xAD\xC1\xD6"                                          // 森林
#define CHAPTER "\xB5\xDA\xD2\xBB\xD5\xC2"                                 // 第一章
#define NO_START "\xCE\xDE\xBF\xAA\xCA\xBC"                                // 无开始
#define FOREST_START "\xC9\xAD\xC1\xD6\xB5\xC4\xC8\xEB\xBF\xDA"            // 森林的入口
#define CHAPTER_START "\xB5\xDA\xD2\xBB\xD5\xC2\xB5\xC4\xBF\xAA\xCD\xB7"   // 第一章的开头
#define OUTSIDE "\xB8\xF9\xC4\xBF\xC2\xBC\xCD\xE2"                         // 根目录外
#define STAMP "2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5" "9\xCA\xB1" "5\xB7\xD6" "7\xC3\xEB"  // 2024年6月1日9时5分7秒

using game_texts::kNoPermission;
using game_texts::kNotAdministrator;
using game_texts::kNotInGroup;

using test_support::Hex;

class StartHandlerTest : public testing::Test {
 protected:
  void SetUp() override {
    files_.WriteMainConfig("[" ADMIN_SECTION "]\n100=111|222\n200=\n300=333\n[900]\n" STORY_KEY "=" FOREST "\n"
                           PROGRESS_KEY "=12\n" TIME_KEY "=" STAMP "\n");
    files_.WriteStory(FOREST, "[1]\n\xBF\xAA\xCA\xBC=" FOREST_START "\n");  // 开始=
    files_.WriteStory(FOREST "\\" CHAPTER, "[1]\n\xBF\xAA\xCA\xBC=" CHAPTER_START "\n");
    files_.WriteStory(NO_START, "[1]\n\xBD\xE1\xCA\xF8=x\n[12]\n\xBF\xAA\xCA\xBC=x\n");  // 结束=, 开始 only below
    files_.WriteStory("", "[1]\n\xBF\xAA\xCA\xBC=dot\n");
    // A story file one level above the root, which no story name may reach.
    files_.WriteFile("config\\" OUTSIDE ".ini", "[1]\n\xBF\xAA\xCA\xBC=" OUTSIDE "\n");
  }

  std::string Start(const std::string& message, const std::string& type, const std::string& group,
                    const std::string& sender) {
    text::Text m(message.c_str()), t(type.c_str()), g(group.c_str()), s(sender.c_str());
    const frame::Result r = StartHandler(m, t, g, s);
    EXPECT_TRUE(r.has_value()) << "missing text for " << Hex(message);
    return r ? std::string(r->data(), r->size()) : std::string();
  }

  game_test::RunDirectoryFixture files_;
};

struct Refusal {
  const char* what;
  const char* message;
  const char* type;
  const char* group;
  const char* sender;
  const char* reply;
};

TEST_F(StartHandlerTest, RefusalsReplyAndLeaveTheFilesAlone) {
  const Refusal refusals[] = {
      {"private chat", FOREST, "1", "100", "111", kNotInGroup},
      {"empty type", FOREST, "", "100", "111", kNotInGroup},
      {"type with a blank", FOREST, "2 ", "100", "111", kNotInGroup},
      {"no story file", "x", "2", "100", "111", YOUR_GAME "x" NOT_CONFIGURED},
      {"no start text", NO_START, "2", "100", "111", YOUR_GAME NO_START NOT_CONFIGURED},
      {"name checked before rights", NO_START, "2", "400", "111", YOUR_GAME NO_START NOT_CONFIGURED},
      {"stripped name in the reply", " x\r\n", "2", "100", "111", YOUR_GAME "x" NOT_CONFIGURED},
      {"no administrator list", FOREST, "2", "400", "111", kNoPermission},
      {"empty administrator list", FOREST, "2", "200", "111", kNoPermission},
      {"not an administrator", FOREST, "2", "100", "333", kNotAdministrator},
      {"administrator of another group", FOREST, "2", "100", "3331", kNotAdministrator},
      {"member compared whole", FOREST, "2", "100", "11", kNotAdministrator},
      {"empty sender", FOREST, "2", "100", "", kNotAdministrator},
      // Names that leave the configuration root or name a device read nothing.
      {"parent directory", "..\\" OUTSIDE, "2", "100", "111", YOUR_GAME "..\\" OUTSIDE NOT_CONFIGURED},
      {"parent with slash", "../" OUTSIDE, "2", "100", "111", YOUR_GAME "../" OUTSIDE NOT_CONFIGURED},
      {"three dots", "...\\" OUTSIDE, "2", "100", "111", YOUR_GAME "...\\" OUTSIDE NOT_CONFIGURED},
      {"down and up", FOREST "\\..\\..\\" OUTSIDE, "2", "100", "111",
       YOUR_GAME FOREST "\\..\\..\\" OUTSIDE NOT_CONFIGURED},
      {"rooted", "\\x", "2", "100", "111", YOUR_GAME "\\x" NOT_CONFIGURED},
      {"drive", "C:x", "2", "100", "111", YOUR_GAME "C:x" NOT_CONFIGURED},
      {"device", "con", "2", "100", "111", YOUR_GAME "con" NOT_CONFIGURED},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.what);
    const std::string before = files_.MainConfigBytes();
    EXPECT_EQ(Start(r.message, r.type, r.group, r.sender), r.reply);
    EXPECT_EQ(files_.MainConfigBytes(), before);
  }
}

struct Accepted {
  const char* what;
  const char* message;
  const char* group;
  const char* sender;
  const char* stored_name;
  const char* reply;
};

TEST_F(StartHandlerTest, AdministratorStartsTheStoryAtTheRoot) {
  const Accepted cases[] = {
      {"first administrator", FOREST, "100", "111", FOREST, FOREST_START},
      {"second administrator", FOREST, "100", "222", FOREST, FOREST_START},
      {"single administrator", FOREST, "300", "333", FOREST, FOREST_START},
      {"stripped name stored", " " FOREST "\r\n", "300", "333", FOREST, FOREST_START},
      {"story below the root", FOREST "\\" CHAPTER, "100", "111", FOREST "\\" CHAPTER, CHAPTER_START},
      {"empty name reads .ini", "", "100", "111", "", "dot"},
  };
  for (const Accepted& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Start(c.message, "2", c.group, c.sender), c.reply);
    EXPECT_EQ(game_test::MainValue(c.group, STORY_KEY), c.stored_name);
    EXPECT_EQ(game_test::MainValue(c.group, PROGRESS_KEY), "1");
    EXPECT_EQ(game_test::MainValue(c.group, TIME_KEY), "");
  }
}

TEST_F(StartHandlerTest, WritesTheStoryNameBeforeTheProgress) {
  Start(FOREST, "2", "100", "111");
  const std::string bytes = files_.MainConfigBytes();
  const std::size_t section = bytes.find("[100]");
  ASSERT_NE(section, std::string::npos);
  const std::size_t story = bytes.find(STORY_KEY "=" FOREST, section);
  const std::size_t progress = bytes.find(PROGRESS_KEY "=1", section);
  ASSERT_NE(story, std::string::npos);
  ASSERT_NE(progress, std::string::npos);
  EXPECT_LT(story, progress);
}

TEST_F(StartHandlerTest, RestartGoesBackToTheRootAndKeepsTheTimeStamp) {
  files_.WriteMainConfig("[" ADMIN_SECTION "]\n900=111\n[900]\n" STORY_KEY "=" NO_START "\n" PROGRESS_KEY "=12\n"
                         TIME_KEY "=" STAMP "\n[901]\n" STORY_KEY "=" FOREST "\n");
  EXPECT_EQ(Start(FOREST, "2", "900", "111"), FOREST_START);
  EXPECT_EQ(game_test::MainValue("900", STORY_KEY), FOREST);
  EXPECT_EQ(game_test::MainValue("900", PROGRESS_KEY), "1");
  EXPECT_EQ(game_test::MainValue("900", TIME_KEY), STAMP);
  EXPECT_EQ(game_test::MainValue("901", STORY_KEY), FOREST);
}

TEST_F(StartHandlerTest, StripsTheCallersTextInPlace) {
  text::Text m(" " FOREST "\r\n"), t("1"), g("100"), s("111");
  StartHandler(m, t, g, s);
  EXPECT_EQ(std::string(m.data(), m.size()), FOREST);
}

}  // namespace
}  // namespace start
