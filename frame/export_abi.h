// How the five exports meet the host: the stdcall convention and the .def
// file on 32-bit Windows; natively the C convention, with the code-page-936
// export names given to the linker as symbol names.
#pragma once

#if defined(_WIN32)
#define PLUGIN_CALL __stdcall
#define PLUGIN_SYMBOL(name)
#define PLUGIN_EXPORT extern "C"
#else
#define PLUGIN_CALL
#define PLUGIN_SYMBOL(name) __asm__(name)
#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif
