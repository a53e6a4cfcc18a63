// The platform-independent rules of the HTTP fetch: the request target, the
// read size and the bound on the body.
#include "nickname/http_fetch.h"

#include <gtest/gtest.h>

#include <string>

namespace nickname {
namespace {

TEST(RequestTarget, CutsAtHashAndKeepsBytesAsTheyAre) {
  struct Case {
    std::string behind_host;
    bool requested;
    std::string target;
  } cases[] = {
      {"/a?b=1", true, "/a?b=1"},
      {"/a?uins=12#34", true, "/a?uins=12"},
      {"/a?uins=#", true, "/a?uins="},
      {"", true, "/"},
      {"?q=1", true, "/?q=1"},
      {"#x", true, "/"},
      {"/a?u=\xC4\xE3 %20", true, "/a?u=\xC4\xE3 %20"},
      {"/" + std::string(2046, '1'), true, "/" + std::string(2046, '1')},
      {"/" + std::string(2047, '1'), false, ""},
      // The part from "#" on counts towards the limit although it is not sent.
      {"/1#" + std::string(2044, 'x'), true, "/1"},
      {"/1#" + std::string(2045, 'x'), false, ""},
  };
  for (const Case& c : cases) {
    text::Text target = "unchanged";
    ASSERT_EQ(RequestTarget(c.behind_host, &target), c.requested) << c.behind_host.size() << " bytes";
    if (c.requested) {
      EXPECT_EQ(text::View(target), c.target) << c.behind_host;
    }
  }
}

TEST(ReadBufferSize, FollowsContentLengthWithinBounds) {
  struct Case {
    const char* value;
    std::size_t size;
  } cases[] = {
      {"", 10240},     {"0", 10240},      {"-5", 10240},     {"abc", 10240},   {"12x", 10240},
      {" 12", 10240},  {"1", 2},          {"5000", 5001},    {"102398", 102399}, {"102399", 102400},
      {"102400", 102400}, {"4294967297", 102400}, {"99999999999999999999999999", 102400},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadBufferSize(c.value), c.size) << '"' << c.value << '"';
}

TEST(AppendPiece, StopsAtTheBodyLimit) {
  const std::string piece(300000, 'x');
  Body body;
  int appended = 0;
  while (AppendPiece(body, piece.data(), piece.size())) ++appended;
  EXPECT_EQ(appended, 3);
  EXPECT_EQ(body.size(), kBodyLimit);
  EXPECT_FALSE(AppendPiece(body, piece.data(), 1));
  EXPECT_EQ(body.size(), kBodyLimit);

  Body exact;
  const std::string full(kBodyLimit - 1, 'y');
  EXPECT_TRUE(AppendPiece(exact, full.data(), full.size()));
  EXPECT_FALSE(AppendPiece(exact, "\0z", 2));
  EXPECT_EQ(exact.size(), kBodyLimit);
  EXPECT_EQ(exact.back(), '\0');
}

}  // namespace
}  // namespace nickname
