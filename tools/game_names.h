// The names of the game files' sections and keys, as the plugins read them.
#pragma once

namespace tools {

constexpr char kRootSection[] = "1";
constexpr char kStartKey[] = "\xBF\xAA\xCA\xBC";                  // 开始
constexpr char kEndingKey[] = "\xBD\xE1\xCA\xF8";                 // 结束
constexpr char kTextKey[] = "\xBE\xE7\xC7\xE9";                   // 剧情
constexpr char kAdminSection[] = "\xC8\xBA\xC9\xFA\xB4\xE6\xC8\xA8\xCF\xDE\xB9\xDC\xC0\xED";  // 群生存权限管理
constexpr char kStoryKey[] = "\xBD\xF8\xD0\xD0\xB5\xC4\xD3\xCE\xCF\xB7";  // 进行的游戏
constexpr char kProgressKey[] = "\xBD\xF8\xB6\xC8";               // 进度
constexpr char kTimeKey[] = "\xCA\xB1\xBC\xE4";                   // 时间
constexpr char kMainConfigName[] = "\xC9\xFA\xB4\xE6\xC5\xE4\xD6\xC3.ini";  // 生存配置.ini

}  // namespace tools
