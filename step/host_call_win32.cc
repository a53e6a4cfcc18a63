// Windows: the host library through LoadLibraryA and GetProcAddress, called
// through a thunk that measures whether the callee removed its arguments.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "step/host_call.h"

// int CallStdcall2(void* fn, const char* first, const char* second): pushes
// the two arguments, calls fn, and returns ESP after the call minus ESP before
// the pushes (EBP here): 0 when fn removed exactly its 8 bytes of arguments.
// The stack is put back from EBP whatever fn did to ESP.
asm(".text\n"
    ".globl _CallStdcall2\n"
    "_CallStdcall2:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  pushl 16(%ebp)\n"
    "  pushl 12(%ebp)\n"
    "  call *8(%ebp)\n"
    "  movl %esp, %eax\n"
    "  subl %ebp, %eax\n"
    "  movl %ebp, %esp\n"
    "  popl %ebp\n"
    "  ret\n");

extern "C" int CallStdcall2(void* fn, const char* first, const char* second);

namespace step {

const char kHostLibraryName[] = "cqapi.dll";

void* LoadHostLibrary(const text::Text& path) { return reinterpret_cast<void*>(LoadLibraryA(path.c_str())); }

void* FindHostExport(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void FreeHostLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

bool CallHostSend(void* send, const char* group, const char* message) {
  return CallStdcall2(send, group, message) == 0;
}

}  // namespace step
