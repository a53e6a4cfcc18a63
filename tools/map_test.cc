// The map of the bundled example: its node and edge counts, the kinds of
// its nodes, and a label; sections no group reaches are drawn dashed.
#include "tools/map.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tools/check.h"

namespace tools {
namespace {

std::string Count(const std::string& dot, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = dot.find(what); at != std::string::npos; at = dot.find(what, at + 1)) ++n;
  return std::to_string(n);
}

Story StoryOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  std::optional<Story> story;
  CheckStory(path, std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), Language::kChinese,
             &story);
  return *story;
}

TEST(StoryMap, BundledExample) {
  const std::string dot = StoryMapDot(StoryOf(std::string(EXAMPLES) + "/config/Veldrin/\xE8\xBF\xB7\xE9\x9B\xBE\xE6\xA3\xAE\xE6\x9E\x97.ini"));  // 迷雾森林.ini
  EXPECT_EQ("1", Count(dot, "class=\"root\", shape=house"));
  EXPECT_EQ("13", Count(dot, "class=\"way_on\", shape=box"));
  EXPECT_EQ("7", Count(dot, "class=\"dead_end\", shape=octagon"));
  EXPECT_EQ("3", Count(dot, "class=\"ending\", shape=doubleoctagon"));
  EXPECT_EQ("0", Count(dot, "class=\"unreached\""));
  EXPECT_EQ("23", Count(dot, " -> "));
  EXPECT_NE(std::string::npos, dot.find(u8"\"1221\" -> \"12211\" [label=\"1\"];"));
  EXPECT_NE(std::string::npos, dot.find(u8"label=\"12211\\n你终于走出了迷雾，山脚下…\"")) << dot;
}

TEST(StoryMap, SectionsNoGroupReachesAreDashed) {
  const std::string dot = StoryMapDot(StoryOf(std::string(CHECK_FIXTURES) + "/after_dead_end.ini"));
  EXPECT_EQ("1", Count(dot, "class=\"unreached\""));
  EXPECT_NE(std::string::npos, dot.find("\"12\" -> \"122\" [label=\"2\", style=dashed];")) << dot;
  EXPECT_EQ("1", Count(dot, "class=\"dead_end\""));
}

}  // namespace
}  // namespace tools
