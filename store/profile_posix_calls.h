// The system calls behind the native profile write, replaceable so that a
// test can make one of them fail (a full disk, a rename refused).
#pragma once

#include <sys/types.h>

namespace store {

struct ProfileSystemCalls {
  ssize_t (*write)(int fd, const void* data, size_t size);
  int (*fsync)(int fd);
  int (*rename)(const char* from, const char* to);
};

// The calls in use; a test may overwrite members and must restore them.
ProfileSystemCalls& MutableProfileSystemCalls();

}  // namespace store
