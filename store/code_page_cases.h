// The code-page conversion cases that both the native unit test and the
// Windows check program under Wine run, so that both builds convert alike.
#pragma once

#include <string_view>

#include "store/code_page.h"

namespace store::cases {

struct CodePageCase {
  CodePage from;
  CodePage to;
  std::string_view in;
  bool ok;
  std::string_view out;  // when ok
};

using std::string_view_literals::operator""sv;

constexpr CodePageCase kCodePageCases[] = {
    {CodePage::kGbk, CodePage::kUtf8, "", true, ""},
    {CodePage::kGbk, CodePage::kUtf8, "a\xC4\xE3\xBA\xC3\\", true, "a\xE4\xBD\xA0\xE5\xA5\xBD\\"},  // a你好\ .
    // One byte becomes three: the output outgrows twice the input.
    {CodePage::kGbk, CodePage::kUtf8, "\x80\x80\x80\x80\x80\x80\x80\x80", true,
     "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"},  // €€€€€€€€
    {CodePage::kGbk, CodePage::kUtf8, "a\xC4", false, ""},  // a lead byte without its second byte
    {CodePage::kUtf8, CodePage::kGbk, "a\xE4\xBD\xA0\xE5\xA5\xBD", true, "a\xC4\xE3\xBA\xC3"},  // a你好
    {CodePage::kUtf8, CodePage::kGbk, "\xF0\x9F\x98\x80", false, ""},  // 😀 has no GBK form
    {CodePage::kUtf8, CodePage::kGbk, "a\xE4\xBD", false, ""},  // cut short
    {CodePage::kUtf8, CodePage::kGbk, "\xFF", false, ""},
    {CodePage::kUtf16Le, CodePage::kUtf8, "A\x00\x60\x4F"sv, true, "A\xE4\xBD\xA0"},  // A你
    {CodePage::kUtf16Be, CodePage::kUtf8, "\x00" "A\x4F\x60"sv, true, "A\xE4\xBD\xA0"},  // A你
    {CodePage::kUtf16Le, CodePage::kUtf8, "\x3D\xD8\x00\xDE"sv, true, "\xF0\x9F\x98\x80"},  // 😀
    {CodePage::kUtf16Le, CodePage::kUtf8, "A\x00\x3D\xD8"sv, false, ""},  // a lone surrogate
    {CodePage::kUtf16Le, CodePage::kUtf8, "A\x00\x60"sv, false, ""},  // an odd byte
    {CodePage::kUtf8, CodePage::kUtf16Le, "A\xE4\xBD\xA0", true, "A\x00\x60\x4F"sv},
    {CodePage::kUtf8, CodePage::kUtf16Be, "\xF0\x9F\x98\x80", true, "\xD8\x3D\xDE\x00"sv},
    {CodePage::kUtf8, CodePage::kUtf16Be, "\xC3", false, ""},
};

}  // namespace store::cases
