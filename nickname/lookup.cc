// The lookup routine behind 获取昵称: one GET of the profile-score service and
// the nickname cut out of its answer.
#include "nickname/lookup.h"

#include <cstdint>

#include "nickname/http_fetch.h"

namespace nickname {

namespace {

// NICKNAME_SERVICE_HOST is the build's setting for the service's host name,
// optionally with ":port".
constexpr char kQueryUrl[] = "http://" NICKNAME_SERVICE_HOST "/fcg-bin/cgi_get_score.fcg?mask=7&uins=";
constexpr char kStartMarker[] = ",\"";
constexpr char kEndMarker[] = "\",";
// A nickname this long is no nickname: the caller gets the account number back.
constexpr std::int32_t kTooLong = 24;

}  // namespace

text::Text Lookup(const text::Text& account) {
  const text::Text fallback = account;
  const text::Text url = text::Concat({kQueryUrl, text::View(account)});
  const Body body = HttpFetch(text::View(url));
  const text::Text body_text = text::BytesToText({body.data(), body.size()});
  text::Text nickname = text::TextBetween(text::View(body_text), kStartMarker, kEndMarker);
  if (text::Length(text::View(nickname)) >= kTooLong) return fallback;
  return nickname;
}

}  // namespace nickname
