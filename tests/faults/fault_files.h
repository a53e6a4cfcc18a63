// The game files of the fault tests: a small story and a main configuration
// file with groups at several places in it ("\n" between lines; the tests
// write CR LF).
#pragma once

#include "tests/game/game_texts.h"

namespace fault_test {

#define OLD_STAMP "2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5"                        // 2024年6月1日

using game_texts::kDeathNotice;
using game_texts::kNoPermission;
using game_texts::kNoSuchNode;
using game_texts::kNotPlaying;
using game_texts::kStoryEnded;

constexpr char kTaleNotConfigured[] = YOUR_GAME "tale" NOT_CONFIGURED;  // 你选择的游戏tale没有配置。

constexpr char kTale[] =
    "[1]\n" START "=the start\n" ENDING "=the end\n"
    "[11]\n" NODE "=n11\n[111]\n" NODE "=n111\n[1111]\n" NODE "=the end\n"
    "[12]\n" NODE "=n12 falls\n";

// Group 100 has not started; 200 stands at 11, 300 at the root, 400 one step
// before the end; 999 is nobody's.
constexpr char kMainConfig[] =
    "[" ADMIN_SECTION "]\n100=1|2\n200=3\n"
    "[200]\n" STORY_KEY "=tale\n" PROGRESS_KEY "=11\n" TIME_KEY "=" OLD_STAMP "\n"
    "[300]\n" STORY_KEY "=tale\n" PROGRESS_KEY "=1\n"
    "[400]\n" STORY_KEY "=tale\n" PROGRESS_KEY "=111\n";

}  // namespace fault_test
