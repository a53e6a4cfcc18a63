// Tests of the code-page conversions.
#include "store/code_page.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "store/code_page_cases.h"

namespace store {
namespace {

std::string Hex(std::string_view v) {
  std::string out;
  char buf[4];
  for (unsigned char c : v) {
    std::snprintf(buf, sizeof buf, "%02X ", c);
    out += buf;
  }
  return out;
}

TEST(ConvertCodePage, ConvertsValidTextsAndRefusesInvalidOnes) {
  for (const auto& c : cases::kCodePageCases) {
    text::Text out;
    ASSERT_EQ(c.ok, ConvertCodePage(c.from, c.to, c.in, &out)) << Hex(c.in);
    if (c.ok) EXPECT_EQ(Hex(c.out), Hex(text::View(out))) << Hex(c.in);
  }
}

}  // namespace
}  // namespace store
