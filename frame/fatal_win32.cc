// Windows: the report in a modal error box without owner, then the end of the
// host process. TerminateProcess, not ExitProcess, so that no library's
// detach routine (ours included) runs after the box.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "frame/fatal.h"

namespace frame {

void ShowFatalReportAndExit(const char* report) {
  MessageBoxA(nullptr, report, "\xB4\xED\xCE\xF3" /* 错误 */, MB_OK | MB_ICONERROR);
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(-1));
  for (;;) Sleep(INFINITE);  // TerminateProcess of the own process does not return
}

}  // namespace frame
