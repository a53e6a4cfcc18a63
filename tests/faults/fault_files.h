// The game files of the fault tests: a small story and a main configuration
// file with groups at several places in it ("\n" between lines; the tests
// write CR LF).
#pragma once

namespace fault_test {

#define ADMIN_SECTION "\xC8\xBA\xC9\xFA\xB4\xE6\xC8\xA8\xCF\xDE\xB9\xDC\xC0\xED"  // 群生存权限管理
#define STORY_KEY "\xBD\xF8\xD0\xD0\xB5\xC4\xD3\xCE\xCF\xB7"                    // 进行的游戏
#define PROGRESS_KEY "\xBD\xF8\xB6\xC8"                                         // 进度
#define TIME_KEY "\xCA\xB1\xBC\xE4"                                             // 时间
#define NODE "\xBE\xE7\xC7\xE9"                                                 // 剧情
#define START "\xBF\xAA\xCA\xBC"                                                // 开始
#define ENDING "\xBD\xE1\xCA\xF8"                                               // 结束
#define OLD_STAMP "2024\xC4\xEA" "6\xD4\xC2" "1\xC8\xD5"                        // 2024年6月1日

constexpr char kNotPlaying[] =
    "\xB1\xBE\xC8\xBA\xC3\xBB\xD3\xD0\xBF\xAA\xC6\xF4\xB4\xF3\xC3\xB0\xCF\xD5\xA3\xAC\xC7\xEB\xC1\xAA\xCF\xB5"
    "\xC8\xA8\xCF\xDE\xB9\xDC\xC0\xED\xA1\xA3";  // 本群没有开启大冒险，请联系权限管理。
constexpr char kNoSuchNode[] = "\xC4\xE3\xD5\xE2\xCA\xC7\xD1\xA1\xB5\xBD\xC4\xC4\xC0\xEF\xC8\xA5\xC1\xCB\xA1\xA3";  // 你这是选到哪里去了。
constexpr char kNoGamePermission[] =
    "\xC4\xE3\xB5\xC4\xC8\xBA\xC3\xBB\xD3\xD0\xD3\xCE\xCF\xB7\xC8\xA8\xCF\xDE\xA1\xA3";  // 你的群没有游戏权限。
constexpr char kTaleNotConfigured[] =
    "\xC4\xE3\xD1\xA1\xD4\xF1\xB5\xC4\xD3\xCE\xCF\xB7" "tale"
    "\xC3\xBB\xD3\xD0\xC5\xE4\xD6\xC3\xA1\xA3";  // 你选择的游戏tale没有配置。
constexpr char kStoryEnded[] = "\r\n\xB1\xBE\xB4\xCE\xB4\xF3\xC3\xB0\xCF\xD5\xBD\xE1\xCA\xF8\xA1\xA3";  // \r\n本次大冒险结束。
constexpr char kDeathNotice[] =
    "\r\n\xC4\xE3\xD2\xD1\xCB\xC0\xCD\xF6\xA3\xAC\xBD\xAB\xB7\xB5\xBB\xD8\xB3\xF5\xCA\xBC\xCE\xBB\xD6\xC3";  // \r\n你已死亡，将返回初始位置

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
