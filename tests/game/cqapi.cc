// A host library of our own for the tests: api_message_group_send records
// each message with its group number and the moment it came, appended to the
// file named by CQAPI_RECORD, and prints it. One record is a line: the
// milliseconds of the steady clock, a tab, the group, a tab, the message's
// byte count, a tab, the message bytes (which may hold CR LF), a line feed.
// HOST_CALL picks the calling convention: __stdcall as the host's, or
// __cdecl for the broken variant that leaves its arguments on the stack.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" HOST_EXPORT int HOST_CALL api_message_group_send(const char* group, const char* message) {
  if (group == nullptr) group = "";
  if (message == nullptr) message = "";
  const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now().time_since_epoch())
                           .count();
  if (const char* record = std::getenv("CQAPI_RECORD")) {
    if (std::FILE* f = std::fopen(record, "ab")) {
      std::fprintf(f, "%lld\t%s\t%zu\t", ms, group, std::strlen(message));
      std::fwrite(message, 1, std::strlen(message), f);
      std::fputc('\n', f);
      std::fclose(f);
    }
  }
  std::printf("[cqapi] group %s: %s\n", group, message);
  std::fflush(stdout);
  return 0;
}
