// On Windows: CreateProcessA with the arguments quoted the way the C
// runtime splits them again, then wait.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "tools/stage.h"

namespace tools {
namespace {

std::string Quote(const std::string& a) {
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : a) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}

}  // namespace

std::filesystem::path PathFromText(const std::string& text) {
  std::wstring wide;
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n > 0) {
    wide.resize(static_cast<std::size_t>(n));
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
  }
  return std::filesystem::path(wide);
}

std::string TextFromPath(const std::filesystem::path& path) {
  const std::wstring wide = path.wstring();
  std::string text;
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  if (n > 0) {
    text.resize(static_cast<std::size_t>(n));
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], n, nullptr, nullptr);
  }
  return text;
}

int RunProgram(const std::string& program, const std::vector<std::string>& args) {
  std::string line = Quote(program);
  for (const std::string& a : args) line += " " + Quote(a);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // No application name: a bare name such as "dot" is searched like a command.
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
    return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

}  // namespace tools
