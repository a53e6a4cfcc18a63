// The checker on one small broken file per problem, each with the exact
// lines it must print, and on the bundled example, which must be clean.
#include "tools/check.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace tools {
namespace {

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Fixture(const std::string& name) { return Bytes(std::string(CHECK_FIXTURES) + "/" + name); }

const std::string kExampleStory = std::string(EXAMPLES) + "/config/Veldrin/\xE8\xBF\xB7\xE9\x9B\xBE\xE6\xA3\xAE\xE6\x9E\x97.ini";  // 迷雾森林.ini (UTF-8 file name)
const std::string kExampleConfig = std::string(EXAMPLES) + "/config/Veldrin/\xE7\x94\x9F\xE5\xAD\x98\xE9\x85\x8D\xE7\xBD\xAE.ini";  // 生存配置.ini

// The errors and warnings, and separately the notes, as printed.
std::vector<std::string> Lines(const std::vector<Diagnostic>& diagnostics, bool notes) {
  std::vector<std::string> out;
  for (const Diagnostic& d : diagnostics)
    if ((d.severity == Severity::kNote) == notes) out.push_back(FormatDiagnostic(d));
  return out;
}

std::vector<std::string> StoryLines(const std::string& name, Language language = Language::kChinese) {
  std::optional<Story> story;
  return Lines(CheckStory(name, Fixture(name), language, &story), false);
}

// The story reader of the main configuration checks: only the example story exists.
std::optional<std::string> ReadExampleStory(std::string_view name) {
  if (name == "\xC3\xD4\xCE\xED\xC9\xAD\xC1\xD6") return Bytes(kExampleStory);  // 迷雾森林
  return std::nullopt;
}

struct Case {
  const char* fixture;
  std::vector<std::string> lines;
};

class StoryProblems : public testing::TestWithParam<Case> {};

TEST_P(StoryProblems, PrintsExactly) { EXPECT_EQ(GetParam().lines, StoryLines(GetParam().fixture)); }

INSTANTIATE_TEST_SUITE_P(Fixtures, StoryProblems, testing::Values(
  Case{"bom.ini", {u8"bom.ini:1: warning W001: 文件存成了带 BOM 的 UTF-8：游戏文件应当是 GBK；靠 BOM 认出 UTF-8 的读法不是每个 Windows 都有（用 --fix-encoding 转成 GBK）"}},
  Case{"utf8.ini", {u8"utf8.ini:2: error E002: 文件存成了 UTF-8：插件按 GBK 读，中文全是乱码，“剧情”等键都读不到（用 --fix-encoding 转成 GBK）"}},
  Case{"not_gbk.ini", {u8"not_gbk.ini:7: error E003: 不是有效的 GBK 文本：字节 0xFF 不成字"}},
  Case{"dup_section.ini", {u8"dup_section.ini:6: warning W010: 节 [11] 重复：插件只读第 4 行的那一节，这一节的键都读不到"}},
  Case{"dup_key.ini", {u8"dup_key.ini:6: warning W011: 键 \"剧情\" 在 [11] 里重复：插件读第 5 行的值"}},
  Case{"empty_section.ini", {u8"empty_section.ini:4: warning W013: 节 [] 的名字是空的：插件读不到它"}},
  Case{"before_sections.ini", {u8"before_sections.ini:2: warning W014: 这一行在第一个节之前：插件读不到它"}},
  Case{"too_long.ini", {u8"too_long.ini:7: error E012: 值有 10240 字节，插件最多只读到前 10239 字节"}},
  Case{"no_root.ini", {u8"no_root.ini:1: error E101: 没有 [1] 节：故事无法开始"}},
  Case{"no_start.ini", {u8"no_start.ini:1: error E102: [1] 没有“开始”：插件会回答这个游戏没有配置"}},
  Case{"no_end.ini", {u8"no_end.ini:1: error E103: [1] 没有“结束”：故事永远不会结束"}},
  Case{"never_ends.ini", {u8"never_ends.ini:3: error E104: 没有哪个能到达的节点的“剧情”和结束文本完全相同：故事永远不会结束"}},
  Case{"near_ending.ini", {u8"near_ending.ini:3: error E104: 没有哪个能到达的节点的“剧情”和结束文本完全相同：故事永远不会结束",
                           u8"near_ending.ini:5: warning W105: [11] 的剧情和结束文本只差空白或全角半角：结束按完全相同判断，这里不会结束"}},
  Case{"no_text.ini", {u8"no_text.ini:8: error E110: [13] 没有“剧情”：选到这里的玩家只会看到“你这是选到哪里去了。”",
                       u8"no_text.ini:9: warning W120: 插件不会读 [13] 里的键 \"剧本\"（写错了？）"}},
  Case{"missing_on_path.ini", {u8"missing_on_path.ini:6: error E111: [131] 永远到不了：路径上的 [13] 没有节点（没有这一节或它没有“剧情”）"}},
  Case{"after_dead_end.ini", {u8"after_dead_end.ini:8: error E112: [122] 永远到不了：[12] 没有第一个选项 [121]，是死路，队伍到那里就死亡"}},
  Case{"after_ending.ini", {u8"after_ending.ini:6: warning W113: [111] 永远到不了：[11] 的剧情等于结束文本，故事在那里结束"}},
  Case{"unknown_key.ini", {u8"unknown_key.ini:6: warning W120: 插件不会读 [11] 里的键 \"选项\"（写错了？）"}},
  Case{"no_equals.ini", {u8"no_equals.ini:6: warning W121: 这一行没有“=”，插件不读它（一段剧情必须写在同一行）"}},
  Case{"gap.ini", {u8"gap.ini:1: warning W130: [1] 的选项编号有缺口：有 3，没有 2"}},
  Case{"child_zero.ini", {u8"child_zero.ini:6: warning W131: [10] 是 [1] 的选项 0：选项最好从 1 开始"}},
  Case{"tenth_child.ini", {u8"tenth_child.ini:22: warning W132: [110] 是 [1] 的第十个选项：路径 [110] 也是 [11] 之后的选项 0，选项最多用 1 到 9"}},
  Case{"long_choice.ini", {u8"long_choice.ini:6: warning W133: [1左边] 只能在 [1] 发多字符的选项 \"左边\" 到达：路径不记选项的边界，容易混淆"}}));

class ConfigProblems : public testing::TestWithParam<Case> {};

TEST_P(ConfigProblems, PrintsExactly) {
  const std::string name = GetParam().fixture;
  EXPECT_EQ(GetParam().lines, Lines(CheckMainConfig(name, Fixture(name), Language::kChinese, ReadExampleStory), false));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ConfigProblems, testing::Values(
  Case{"config_no_admin.ini", {u8"config_no_admin.ini:1: error E201: 没有“群生存权限管理”节：谁都不能开始游戏"}},
  Case{"config_empty_admin.ini", {u8"config_empty_admin.ini:2: warning W202: 群 10001 的管理列表是空的：这个群不能开始游戏"}},
  Case{"config_admin_blank.ini", {u8"config_admin_blank.ini:2: warning W203: 群 10001 的管理列表里有空的或带空格的账号 \" 20002\"：它不会和任何发言人相同"}},
  Case{"config_story_missing.ini", {u8"config_story_missing.ini:4: error E204: 群 10001 的游戏文件 沙漠.ini 不存在"}},
  Case{"config_story_outside.ini", {u8"config_story_outside.ini:4: error E205: 群 10001 的游戏 \"..\\迷雾森林\" 会离开配置目录：插件拒绝读它"}},
  Case{"config_stale_progress.ini", {u8"config_stale_progress.ini:5: error E206: 群 10001 的进度 [1113] 在游戏 迷雾森林 里已经没有了：这个群的每个选择都会得到“你这是选到哪里去了。”"}}));

TEST(Check, EnglishMessages) {
  EXPECT_EQ(std::vector<std::string>{"no_start.ini:1: error E102: [1] has no 开始: the start plugin answers that the story is not set up"},
            StoryLines("no_start.ini", Language::kEnglish));
}

TEST(Check, BundledExampleIsClean) {
  std::optional<Story> story;
  const std::vector<Diagnostic> d = CheckStory("story.ini", Bytes(kExampleStory), Language::kChinese, &story);
  EXPECT_EQ(std::vector<std::string>{}, Lines(d, false));
  EXPECT_FALSE(HasErrors(d));
  EXPECT_EQ(std::vector<std::string>{},
            Lines(CheckMainConfig("config.ini", Bytes(kExampleConfig), Language::kChinese, ReadExampleStory), false));

  // Every dead end is listed, so the author confirms each death is meant.
  std::vector<std::string> dead_ends;
  for (const std::string& line : Lines(d, true)) dead_ends.push_back(line.substr(0, line.find(u8" 是死路")));
  EXPECT_EQ((std::vector<std::string>{"story.ini:25: note N140: [111112]", "story.ini:37: note N140: [111122]",
                                      "story.ini:40: note N140: [1112]", "story.ini:46: note N140: [1121]",
                                      "story.ini:52: note N140: [11221]", "story.ini:58: note N140: [112221]",
                                      "story.ini:64: note N140: [121]"}),
            dead_ends);
}

TEST(Check, SummaryAndEveryPathOfTheExample) {
  std::optional<Story> story;
  CheckStory("story.ini", Bytes(kExampleStory), Language::kChinese, &story);
  ASSERT_TRUE(story);
  EXPECT_EQ((std::vector<std::string>{
                u8"摘要：节点 23 个（能到达 23 个），结局 3 个，死亡 7 个",
                u8"最深路径：6 步，到 [1111111]",
                u8"最长剧情：47 字，在 [1111] 第 13 行",
                u8"每条路径（从 [1] 起的选择）：",
                u8"  结局  1 1 1 1 1 1  [1111111] 第 22 行",
                u8"  死亡  1 1 1 1 2  [111112] 第 25 行",
                u8"  结局  1 1 1 2 1 1  [1111211] 第 34 行",
                u8"  死亡  1 1 1 2 2  [111122] 第 37 行",
                u8"  死亡  1 1 2  [1112] 第 40 行",
                u8"  死亡  1 2 1  [1121] 第 46 行",
                u8"  死亡  1 2 2 1  [11221] 第 52 行",
                u8"  死亡  1 2 2 2 1  [112221] 第 58 行",
                u8"  死亡  2 1  [121] 第 64 行",
                u8"  结局  2 2 1 1  [12211] 第 72 行",
                u8"最短的结局路径：2 2 1 1（4 步）"}),
            FormatSummary(*story, Language::kChinese));
  const std::string json = FormatJson({}, &*story);
  EXPECT_NE(std::string::npos, json.find("\"summary\":{\"nodes\":23,\"reachable\":23,\"endings\":3,\"deaths\":7,"
                                         "\"deepest\":6,\"longest_text_characters\":47}"))
      << json;
  EXPECT_NE(std::string::npos, json.find("\"shortest_ending\":[\"2\",\"2\",\"1\",\"1\"]")) << json;
}

TEST(Check, StoryThatCannotEndSaysSo) {
  std::optional<Story> story;
  CheckStory("never_ends.ini", Fixture("never_ends.ini"), Language::kEnglish, &story);
  ASSERT_TRUE(story);
  EXPECT_EQ("no path reaches an ending", FormatSummary(*story, Language::kEnglish).back());
}

TEST(Check, Utf8FileConvertsToGbkWithoutItsMark) {
  std::string gbk;
  ASSERT_TRUE(ConvertUtf8File(Fixture("bom.ini"), &gbk));
  EXPECT_EQ("[1]\r\n\xBF\xAA\xCA\xBC=", gbk.substr(0, 10));  // 开始=
  EXPECT_FALSE(ConvertUtf8File("\xE2\x82\xAC\xF0\x9F\x98\x80", &gbk)) << "an emoji has no GBK form";
}

}  // namespace
}  // namespace tools
