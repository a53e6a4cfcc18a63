// The game's own texts as the tests expect them, written out here apart from
// the plugins' code so that a wrong byte there is caught: key and section
// names of the game files, and the replies and notices of the plugins.
#pragma once

// Macros where a test writes them into file contents by concatenation.
#define ADMIN_SECTION "\xC8\xBA\xC9\xFA\xB4\xE6\xC8\xA8\xCF\xDE\xB9\xDC\xC0\xED"  // 群生存权限管理
#define STORY_KEY "\xBD\xF8\xD0\xD0\xB5\xC4\xD3\xCE\xCF\xB7"                    // 进行的游戏
#define PROGRESS_KEY "\xBD\xF8\xB6\xC8"                                         // 进度
#define TIME_KEY "\xCA\xB1\xBC\xE4"                                             // 时间
#define NODE "\xBE\xE7\xC7\xE9"                                                 // 剧情
#define START "\xBF\xAA\xCA\xBC"                                                // 开始
#define ENDING "\xBD\xE1\xCA\xF8"                                               // 结束
#define YOUR_GAME "\xC4\xE3\xD1\xA1\xD4\xF1\xB5\xC4\xD3\xCE\xCF\xB7"            // 你选择的游戏
#define NOT_CONFIGURED "\xC3\xBB\xD3\xD0\xC5\xE4\xD6\xC3\xA1\xA3"               // 没有配置。

namespace game_texts {

constexpr char kAdministrators[] = ADMIN_SECTION;
constexpr char kStoryKey[] = STORY_KEY;
constexpr char kProgressKey[] = PROGRESS_KEY;
constexpr char kNodeKey[] = NODE;
constexpr char kStartKey[] = START;

constexpr char kNotInGroup[] = "\xC7\xEB\xD4\xDA\xC8\xBA\xC0\xEF\xCA\xB9\xD3\xC3\xB1\xBE\xB9\xA6\xC4\xDC";  // 请在群里使用本功能
constexpr char kNoPermission[] =
    "\xC4\xE3\xB5\xC4\xC8\xBA\xC3\xBB\xD3\xD0\xD3\xCE\xCF\xB7\xC8\xA8\xCF\xDE\xA1\xA3";  // 你的群没有游戏权限。
constexpr char kNotAdministrator[] =
    "\xC4\xE3\xB2\xBB\xCA\xC7\xB9\xDC\xC0\xED\xA3\xAC\xCE\xDE\xBF\xAA\xC6\xF4\xD3\xCE\xCF\xB7\xC8\xA8\xCF\xDE"
    "\xA1\xA3";  // 你不是管理，无开启游戏权限。
constexpr char kTooFast[] =
    "\xC7\xEB\xCF\xC8\xBF\xB4\xC7\xE5\xB5\xB1\xC7\xB0\xBB\xB7\xBE\xB3\xD4\xD9\xD7\xF6\xD1\xA1\xD4\xF1"
    "\xA1\xA3";  // 请先看清当前环境再做选择。
constexpr char kNotPlaying[] =
    "\xB1\xBE\xC8\xBA\xC3\xBB\xD3\xD0\xBF\xAA\xC6\xF4\xB4\xF3\xC3\xB0\xCF\xD5\xA3\xAC\xC7\xEB\xC1\xAA\xCF\xB5"
    "\xC8\xA8\xCF\xDE\xB9\xDC\xC0\xED\xA1\xA3";  // 本群没有开启大冒险，请联系权限管理。
constexpr char kNoSuchNode[] = "\xC4\xE3\xD5\xE2\xCA\xC7\xD1\xA1\xB5\xBD\xC4\xC4\xC0\xEF\xC8\xA5\xC1\xCB\xA1\xA3";  // 你这是选到哪里去了。
constexpr char kStoryEnded[] = "\r\n\xB1\xBE\xB4\xCE\xB4\xF3\xC3\xB0\xCF\xD5\xBD\xE1\xCA\xF8\xA1\xA3";  // \r\n本次大冒险结束。
constexpr char kDeathNotice[] =
    "\r\n\xC4\xE3\xD2\xD1\xCB\xC0\xCD\xF6\xA3\xAC\xBD\xAB\xB7\xB5\xBB\xD8\xB3\xF5\xCA\xBC\xCE\xBB\xD6\xC3";  // \r\n你已死亡，将返回初始位置

}  // namespace game_texts
