// The allocator behind every text: a failed allocation ends the process with
// the fatal error report naming the number of bytes asked for, so no
// std::bad_alloc can leave a routine and no caller ever sees a half-built text.
#pragma once

#include <cstddef>
#include <cstdlib>

namespace text {

// Defined by the plugin frame: shows the fatal error report for an allocation
// of `bytes` bytes that failed, and ends the process.
[[noreturn]] void ReportAllocationFailure(std::size_t bytes);

template <class T>
struct Allocator {
  using value_type = T;
  Allocator() noexcept = default;
  template <class U>
  Allocator(const Allocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) ReportAllocationFailure(bytes);
    void* p = std::malloc(bytes == 0 ? 1 : bytes);
    if (p == nullptr) ReportAllocationFailure(bytes);
    return static_cast<T*>(p);
  }
  void deallocate(T* p, std::size_t) noexcept { std::free(p); }

  template <class U>
  bool operator==(const Allocator<U>&) const noexcept { return true; }
  template <class U>
  bool operator!=(const Allocator<U>&) const noexcept { return false; }
};

}  // namespace text
