// The main configuration files of the store benchmarks: the administrator
// section, then `groups` group sections named 123456789, 123456790, ... with
// the three keys of a playing group. Shared by the native benchmark and the
// Windows one, so both measure the very same bytes.
#pragma once

#include <fstream>
#include <string>

namespace store_bench {

constexpr char kGame[] = "\xBD\xF8\xD0\xD0\xB5\xC4\xD3\xCE\xCF\xB7";  // 进行的游戏
constexpr char kProgress[] = "\xBD\xF8\xB6\xC8";                         // 进度
constexpr char kTime[] = "\xCA\xB1\xBC\xE4";                             // 时间
constexpr long kFirstGroup = 123456789;

inline std::string GroupName(long index) { return std::to_string(kFirstGroup + index); }

// The group that the benchmarks read, write and delete: the last one, so that
// every operation has to pass the whole file.
inline std::string TargetGroup(long groups) { return GroupName(groups - 1); }

inline std::string MainConfigBytes(long groups) {
  // 群生存权限管理, 森林, 2024年5月1日12时3分4秒
  std::string out = "[\xC8\xBA\xC9\xFA\xB4\xE6\xC8\xA8\xCF\xDE\xB9\xDC\xC0\xED]\r\n10001=20001|20002\r\n";
  for (long i = 0; i < groups; ++i) {
    out += "[" + GroupName(i) + "]\r\n";
    out += std::string(kGame) + "=\xC9\xAD\xC1\xD6\r\n";
    out += std::string(kProgress) + "=1" + std::to_string(i % 1000) + "\r\n";
    out += std::string(kTime) + "=2024\xC4\xEA" "5\xD4\xC2" "1\xC8\xD5" "12\xCA\xB1" "3\xB7\xD6" "4\xC3\xEB\r\n";
  }
  return out;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace store_bench
