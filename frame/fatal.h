// The fatal error report: the one reaction to an error that the plugin cannot
// recover from. It shows the report, then ends the host process with exit
// code -1 without running the unload routine. It never returns.
#pragma once

namespace frame {

constexpr int kNoCode = -1;

// Reports "运行时出错!", then the code when it is not kNoCode, then the
// message when it is not null. Builds the report without allocating.
[[noreturn]] void FatalReport(int code, const char* message);

// Platform part: shows `report` (the whole text, code page 936) and ends the
// process with exit code -1.
[[noreturn]] void ShowFatalReportAndExit(const char* report);

}  // namespace frame
