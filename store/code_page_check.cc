// A plain program over the shared code-page cases, for the Windows build
// under Wine where no test framework runs: prints each mismatch and exits 1
// on any.
#include <cstdio>
#include <string_view>

#include "store/code_page.h"
#include "store/code_page_cases.h"

namespace {

void PrintHex(const char* label, std::string_view t) {
  std::printf("%s", label);
  for (unsigned char c : t) std::printf("%02X ", c);
  std::printf("\n");
}

}  // namespace

int main() {
  int failures = 0;
  for (const auto& c : store::cases::kCodePageCases) {
    text::Text out;
    const bool ok = store::ConvertCodePage(c.from, c.to, c.in, &out);
    if (ok == c.ok && (!ok || text::View(out) == c.out)) continue;
    ++failures;
    PrintHex("conversion of ", c.in);
    std::printf("  expected %s, got %s\n", c.ok ? "success" : "failure", ok ? "success" : "failure");
    if (ok) PrintHex("  output ", text::View(out));
  }
  return failures == 0 ? 0 : 1;
}
