// The info blocks byte for byte and the fatal error report's text and exit.
#include <gtest/gtest.h>

#include <cstdint>

#include "frame/fatal.h"
#include "frame/info_block.h"
#include "text/text.h"

// Under AddressSanitizer a failed allocation must come back as null, as it
// does from the platform's allocator, for the report to be tested.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() { return "allocator_may_return_null=1"; }

namespace frame {
namespace {

TEST(InfoBlock, OstrelleByteForByte) {
  EXPECT_EQ(text::Text("Veldrin\r\n2.0\r\nTamsiel\r\n\xCC\xF9\xB0\xC9\xD3\xCE\xCF\xB7Veldrin\r\n"
                       "#\xBF\xAA\xCA\xBC\r\n+\xC3\xB0\xCF\xD5\xD3\xCE\xCF\xB7\r\n\r\nplugmain\r\n1\r\n\xBC\xD9\r\n"),
            OstrelleInfoBlock());
}

TEST(InfoBlock, BrannickByteForByte) {
  EXPECT_EQ(text::Text("Brannick\r\n2.0\r\nTamsiel\r\n\xBF\xAA\xCA\xBCVeldrin\r\n"
                       "#\xD1\xA1\xD4\xF1\r\n+\xC4\xE3\xB5\xC4\xD1\xA1\xD4\xF1\r\n\r\nplugmain\r\n1\r\n\xBC\xD9\r\n"),
            BrannickInfoBlock());
}

// The whole report must be the stderr output, so the patterns are anchored.
TEST(FatalReportDeathTest, CodeAndMessage) {
  EXPECT_EXIT(FatalReport(6, "x"), testing::ExitedWithCode(255),
              "^\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n"
              "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA" "6\r\n\r\n"
              "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBAx\r\n$");
}

TEST(FatalReportDeathTest, NeitherCodeNorMessage) {
  EXPECT_EXIT(FatalReport(kNoCode, nullptr), testing::ExitedWithCode(255),
              "^\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n$");
}

TEST(FatalReportDeathTest, AllocationFailureNamesTheBytes) {
  EXPECT_EXIT(text::Allocator<char>().allocate(SIZE_MAX / 2), testing::ExitedWithCode(255),
              "\xB7\xD6\xC5\xE4 " + std::to_string(SIZE_MAX / 2) +
                  " \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!\r\n$");
}

}  // namespace
}  // namespace frame
