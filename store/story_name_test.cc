// Story names that must stay inside the configuration root, and those refused.
#include "store/story_name.h"

#include <gtest/gtest.h>

#include <string>

namespace store {
namespace {

struct Case {
  const char* name;
  bool safe;
};

class StoryNameTest : public testing::TestWithParam<Case> {};

TEST_P(StoryNameTest, DecidesByComponents) {
  const std::string name = GetParam().name;
  EXPECT_EQ(IsSafeStoryName(name), GetParam().safe) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, StoryNameTest,
    testing::Values(
        // Accepted: plain names, the empty name, subdirectories, dots inside names.
        Case{"\xC9\xAD\xC1\xD6", true},                            // 森林
        Case{"\xC9\xAD\xC1\xD6\\\xB5\xDA\xD2\xBB\xD5\xC2", true},  // 森林\第一章
        Case{"\xC9\xAD\xC1\xD6/\xB5\xDA\xD2\xBB\xD5\xC2", true},   // 森林/第一章
        Case{"", true}, Case{"a.b", true}, Case{"..a", true}, Case{"a..", true}, Case{"CONSOLE", true},
        Case{"COM0", true}, Case{"COM10", true}, Case{"LPT", true}, Case{"xNUL", true}, Case{"a\\", true},
        // The trail byte 0x5C of 昞 is no separator, and 昞's bytes are no letters.
        Case{"\x95\\..", true},   // 昞..
        Case{"\x95\\CON", true},  // 昞CON
        // Refused: leaving the root.
        Case{"..", false}, Case{"...", false}, Case{".", false}, Case{"..\\a", false}, Case{"../a", false},
        Case{"a\\..\\..\\b", false}, Case{"a/../b", false}, Case{"a\\...", false}, Case{"\\a", false},
        Case{"/a", false}, Case{"\\\\server\\share\\a", false}, Case{"//server/share/a", false},
        Case{"C:a", false}, Case{"C:\\a", false}, Case{"a:b", false}, Case{"a\\b:c", false},
        Case{"\xC9\xAD\xC1\xD6\\..\\..\\x", false},  // 森林\..\..\x
        // Refused: devices, in any letter case and with any extension.
        Case{"CON", false}, Case{"con", false}, Case{"Prn", false}, Case{"aux", false}, Case{"NUL", false},
        Case{"nul.txt", false}, Case{"COM1", false}, Case{"com9", false}, Case{"LPT1", false},
        Case{"lpt9.ini", false}, Case{"a\\con", false}, Case{"a/CON.x.y", false}, Case{"AUX\\a", false},
        Case{"\xC9\xAD\xC1\xD6\\NUL", false}));  // 森林\NUL

}  // namespace
}  // namespace store
