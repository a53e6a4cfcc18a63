// Bytes shown in hex, for the messages of failed checks in tests and test
// hosts, so that a GBK mismatch is readable.
#pragma once

#include <string>
#include <string_view>

namespace test_support {

// "C4 E3 " for the bytes C4 E3; "(empty)" for none.
inline std::string Hex(std::string_view bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
    out += ' ';
  }
  return out.empty() ? "(empty)" : out;
}

}  // namespace test_support
