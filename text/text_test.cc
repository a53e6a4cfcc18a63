// Tables of cases for the text operations, with the bytes of a mismatch
// printed in hex so that a code-page-936 difference is readable.
#include "text/text.h"

#include <gtest/gtest.h>

#include <string>

#include "text/test_hex.h"

namespace text {
namespace {

using test_support::Hex;

#define EXPECT_BYTES(expected, actual) \
  EXPECT_EQ(Hex(expected), Hex(View(actual)))

TEST(LengthAndCompare, CountBytesAndOrderUnsigned) {
  EXPECT_EQ(0, Length(""));
  EXPECT_EQ(4, Length("\xB0\xA1" "ab"));
  struct Case { std::string_view a, b; int expected; };
  const Case cases[] = {
      {"", "", 0},        {"", "a", -1},          {"a", "", 1},
      {"ab", "abc", -1},  {"abc", "abd", -1},     {"abd", "abc", 1},
      {"\x80", "a", 1},   {"\xB0\xA1", "\xB0\xA1", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, Compare(c.a, c.b)) << Hex(c.a) << "vs " << Hex(c.b);
}

TEST(Concat, JoinsInOrderAndSkipsEmptyParts) {
  EXPECT_BYTES("ab\xB0\xA1" "c", Concat({"ab", "", "\xB0\xA1", "c"}));
  EXPECT_BYTES("", Concat({"", ""}));
}

TEST(Find, FollowsTheCharacterWalk) {
  struct Case { std::string_view t, s; std::int32_t start; bool fold; std::int32_t expected; };
  const Case cases[] = {
      {"abc", "", kNoStart, false, 1},
      {"abc", "", 3, false, 1},  // 1, not the start position
      {"abc", "", 4, false, -1},
      {"", "", kNoStart, false, -1},
      {"abc", "C", kNoStart, true, 3},
      {"abc", "C", kNoStart, false, -1},
      {"\xB0" "ab", "a", kNoStart, false, -1},  // a is a second byte
      {"\xB0" "Ab", "\xB0" "a", kNoStart, true, 1},  // the fold reaches second bytes
      {"abcabc", "bc", 3, false, 5},
      {"abc", "a", -7, false, 1},  // below 1 counts as 1
      {"abc", "c", 100, false, -1},
      {"\xB0\xA1\xB0\xA1x", "\xA1\xB0", kNoStart, false, -1},
      {"ab\xB0\xA1x", "\xA1x", 4, false, 4},  // the walk may begin at a second byte
      {"ab\xB0", "b\xB0", kNoStart, false, 2},
      {"a\xB0", "x", kNoStart, false, -1},  // a lead byte last ends the walk
      {"ABC", "abc", kNoStart, true, 1},
      {"[\\]", "{|}", kNoStart, true, -1},  // only A-Z fold
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.expected, Find(c.t, c.s, c.start, c.fold)) << Hex(c.t) << "/ " << Hex(c.s) << "from " << c.start;
}

TEST(Mid, CountsBytesAndClampsAtTheEnd) {
  struct Case { std::string_view t; std::int32_t pos, count; std::string_view expected; };
  const Case cases[] = {
      {"abc", 2, 5, "bc"}, {"abc", 0, 2, ""},  {"abc", 4, 1, ""}, {"abc", 1, 0, ""},
      {"abc", 1, -1, ""},  {"abc", 3, 1, "c"}, {"\xB0\xA1" "b", 2, 1, "\xA1"},
      {"abc", 2, 2147483647, "bc"},  // no overflow at the top of the range
  };
  for (const auto& c : cases) EXPECT_BYTES(c.expected, Mid(c.t, c.pos, c.count)) << c.pos << "," << c.count;
}

TEST(Replace, ReplacesAtCharacterStartsInOnePass) {
  struct Case { std::string_view t, s, r, expected; };
  const Case cases[] = {
      {"a b c", " ", "", "abc"},
      {"aaa", "aa", "b", "ba"},
      {"abab", "ab", "abab", "abababab"},  // no second look at the replacement
      {"", "a", "b", ""},
      {"abc", "", "x", "abc"},
      {"\xB0" "a", "a", "x", "\xB0" "a"},
      {"a\x81", " ", "", "a"},  // the lone lead byte at the end is dropped
      {"a\x81", "ab", "", "a\x81"},  // not with a longer search text
      {"\x81 x", " ", "", "\x81 x"},
      {"xaay", "a", "", "xy"},
  };
  for (const auto& c : cases) EXPECT_BYTES(c.expected, Replace(c.t, c.s, c.r)) << Hex(c.t);
}

TEST(Split, MembersBetweenSeparators) {
  struct Case { std::string_view t; std::vector<std::string> members; };
  const Case cases[] = {
      {"12|34", {"12", "34"}},
      {"12|34|", {"12", "34"}},
      {"|12", {"", "12"}},
      {"12||34", {"12", "", "34"}},
      {"", {}},
      {"|", {""}},
      {"1234", {"1234"}},
      {"12\xB0|34", {"12\xB0|34"}},
      {"12|\xB0", {"12", "\xB0"}},  // a lone lead byte last ends the walk, yet stays a member
  };
  for (const auto& c : cases) {
    TextList got = Split(c.t, "|");
    std::vector<std::string> members;
    for (const auto& m : got) members.emplace_back(m.data(), m.size());
    EXPECT_EQ(c.members, members) << Hex(c.t);
  }
}

TEST(BytesToText, StopsAtTheFirstZeroByte) {
  EXPECT_BYTES("ab", BytesToText(std::string_view("ab\0cd", 5)));
  EXPECT_BYTES("", BytesToText(std::string_view("\0cd", 3)));
  EXPECT_BYTES("", BytesToText({}));
  EXPECT_BYTES("\xFF\x80", BytesToText("\xFF\x80"));
}

TEST(TextBetween, EveryEdge) {
  struct Case { std::string_view t, a, z, expected; };
  const Case cases[] = {
      {"ab{cd}ef", "{", "}", "cd"},
      {"{a}{b}", "{", "}", "a"},
      {"{x{y}", "{", "}", "x{y"},
      {"a}b{c}d", "{", "}", "c"},
      {"ab}cd", "{", "}", ""},
      {"abc}def", "{{", "}", "abc"},
      {"abcd}e", "{{{", "}", "bcd"},
      {"{abc", "{", "}", ""},
      {"}a{b", "{", "}", ""},
      {"{}", "{", "}", ""},
      {"xx{", "{", "}", ""},
      {"ab}c", "", "}", "ab"},
      {"{ab}", "{", "", ""},
      {"", "{", "}", ""},
      {"{B}Hi{/b}", "{b}", "{/B}", "Hi"},
      {"{\xB0}x}", "{", "}", "\xB0}x"},
      {",\",", ",\"", "\",", ""},  // the end marker is searched behind the start marker only
      {",\"abc\",", ",\"", "\",", "abc"},
      {"", "", "", ""},
  };
  for (const auto& c : cases) EXPECT_BYTES(c.expected, TextBetween(c.t, c.a, c.z)) << Hex(c.t);
}

TEST(Strip, FourPassesInOrder) {
  struct Case { std::string_view t, expected; };
  const Case cases[] = {
      {" a b\r\nc\\r\\nd ", "abcd"},
      {"a\rb\nc\td", "a\rb\nc\td"},
      {"\r\r\n", "\r"},
      {"\r\r\n\n", "\r\n"},
      {"\r \n", ""},
      {"\\ r", ""},
      {"\\\r\nr", ""},
      {"\\\\rr", "\\r"},
      {"A\\R\\N", "A\\R\\N"},
      {"   ", ""},
      {"\xA1\xA1" "a", "\xA1\xA1" "a"},
      {"\xB0\\r", "\xB0\\r"},
      {"\x81 x", "\x81 x"},
      {"a\x81", "a"},
  };
  for (const auto& c : cases) {
    Text v(c.t.data(), c.t.size());
    Text copy = Strip(v);
    EXPECT_BYTES(c.expected, copy) << Hex(c.t);
    EXPECT_BYTES(c.expected, v) << "the variable holds the stripped text";
    if (!copy.empty()) {
      EXPECT_NE(static_cast<const void*>(copy.data()), static_cast<const void*>(v.data()));
    }
  }
}

}  // namespace
}  // namespace text
