// Builds the text of the fatal error report in fixed storage, so that it
// works when memory has run out.
#include "frame/fatal.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "text/text_alloc.h"

namespace frame {
namespace {

constexpr char kHeading[] = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n";  // 运行时出错!
constexpr char kCodeLabel[] = "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA";      // 错误代码：
constexpr char kMessageLabel[] = "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";   // 错误信息：
constexpr char kAllocationFailed[] =
    "\xB7\xD6\xC5\xE4 %lu \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!";  // 分配 %d 字节内存失败!

char g_report[4096];
char g_message[256];

}  // namespace

void FatalReport(int code, const char* message) {
  std::size_t used = 0;
  auto append = [&](const char* piece) {
    const std::size_t room = sizeof g_report - 1 - used;
    const std::size_t n = std::min(std::strlen(piece), room);
    std::memcpy(g_report + used, piece, n);
    used += n;
    g_report[used] = '\0';
  };
  append(kHeading);
  if (code != kNoCode) {
    char number[16];
    std::snprintf(number, sizeof number, "%d", code);
    append(kCodeLabel);
    append(number);
    append("\r\n\r\n");
  }
  if (message != nullptr) {
    append(kMessageLabel);
    append(message);
    append("\r\n");
  }
  ShowFatalReportAndExit(g_report);
}

}  // namespace frame

namespace text {

void ReportAllocationFailure(std::size_t bytes) {
  std::snprintf(frame::g_message, sizeof frame::g_message, frame::kAllocationFailed,
                static_cast<unsigned long>(bytes));
  frame::FatalReport(frame::kNoCode, frame::g_message);
}

}  // namespace text
