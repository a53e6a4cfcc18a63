// Tests of the code-page conversions.
#include "store/code_page.h"

#include <gtest/gtest.h>

#include "store/code_page_cases.h"
#include "text/test_hex.h"

namespace store {
namespace {

using test_support::Hex;

TEST(ConvertCodePage, ConvertsValidTextsAndRefusesInvalidOnes) {
  for (const auto& c : cases::kCodePageCases) {
    text::Text out;
    ASSERT_EQ(c.ok, ConvertCodePage(c.from, c.to, c.in, &out)) << Hex(c.in);
    if (c.ok) {
      EXPECT_EQ(Hex(c.out), Hex(text::View(out))) << Hex(c.in);
    }
  }
}

}  // namespace
}  // namespace store
