// Binding and calling the host's api_message_group_send, the same on every platform.
#include "step/host_call.h"

#include <cstdio>

#include "frame/fatal.h"
#include "store/file_name.h"
#include "store/run_directory.h"

namespace step {
namespace {

constexpr char kSendName[] = "api_message_group_send";
constexpr char kNoExport[] =
    "\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xD6\xB8\xB6\xA8" "DLL\xBF\xE2\xCE\xC4\xBC\xFE\xA1\xB0%s\xA1\xB1\xD6\xD0\xB5\xC4"
    "\xCA\xE4\xB3\xF6\xC3\xFC\xC1\xEE\xA1\xB0%s\xA1\xB1";  // 无法找到指定DLL库文件“%s”中的输出命令“%s”
constexpr char kStackError[] =
    "\xB5\xF7\xD3\xC3" "DLL\xC3\xFC\xC1\xEE\xBA\xF3\xB7\xA2\xCF\xD6\xB6\xD1\xD5\xBB\xB4\xED\xCE\xF3";  // 调用DLL命令后发现堆栈错误
constexpr int kStackErrorCode = 6;

void* g_library = nullptr;
void* g_send = nullptr;

// The host program's own directory first, then the system's search.
void* LoadFirstHostLibrary() {
  const text::Text beside_host =
      text::Concat({text::View(store::RunDirectory()), std::string_view(&store::kDirectorySeparator, 1), kHostLibraryName});
  if (void* library = LoadHostLibrary(beside_host)) return library;
  return LoadHostLibrary(text::Text(kHostLibraryName));
}

void Bind() {
  void* library = LoadFirstHostLibrary();
  void* send = library != nullptr ? FindHostExport(library, kSendName) : nullptr;
  if (send == nullptr) {
    if (library != nullptr) FreeHostLibrary(library);
    static char message[512];
    std::snprintf(message, sizeof message, kNoExport, kHostLibraryName, kSendName);
    frame::FatalReport(frame::kNoCode, message);
  }
  g_library = library;
  g_send = send;
}

}  // namespace

void PostGroupMessage(const text::Text& group, const text::Text& message) {
  if (g_send == nullptr) Bind();
  if (!CallHostSend(g_send, group.c_str(), message.c_str())) frame::FatalReport(kStackErrorCode, kStackError);
}

void ReleaseHostLibrary() {
  if (g_library == nullptr) return;
  FreeHostLibrary(g_library);
  g_library = nullptr;
  g_send = nullptr;
}

}  // namespace step
