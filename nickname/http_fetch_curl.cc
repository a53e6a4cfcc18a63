// The HTTP fetch natively: libcurl, with one easy handle per library.
#include <curl/curl.h>

#include "nickname/http_fetch.h"
#include "nickname/lookup.h"

namespace nickname {

namespace {

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr char kAcceptHeader[] = "Accept: */*";
constexpr std::string_view kScheme = "http://";
// libcurl waits forever by default; these match WinINet's defaults, 60 seconds
// to connect and 30 seconds for the next bytes of an answer.
constexpr long kConnectSeconds = 60;
constexpr long kReceiveSeconds = 30;
// libcurl follows a redirect loop forever by default; browsers give up at 20.
constexpr long kMaxRedirects = 20;

// The library's client, made by the first fetch that gets past the URL split.
CURL* g_client = nullptr;
curl_slist* g_headers = nullptr;

// What one fetch collects: the body and the read size the answer's headers ask for.
struct Transfer {
  Body body;
  std::size_t read_size = ReadBufferSize({});
};

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithIgnoringCase(std::string_view line, std::string_view prefix) {
  if (line.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (AsciiLower(line[i]) != prefix[i]) return false;
  return true;
}

std::string_view TrimBlanks(std::string_view v) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!v.empty() && blank(v.front())) v.remove_prefix(1);
  while (!v.empty() && blank(v.back())) v.remove_suffix(1);
  return v;
}

// Sees every header line of every answer, redirects included; only the
// Content-Length of the last answer counts.
size_t OnHeader(char* data, size_t, size_t n, void* user) {
  Transfer& t = *static_cast<Transfer*>(user);
  const std::string_view line(data, n);
  constexpr std::string_view kContentLength = "content-length:";
  if (StartsWithIgnoringCase(line, "http/"))
    t.read_size = ReadBufferSize({});
  else if (StartsWithIgnoringCase(line, kContentLength))
    t.read_size = ReadBufferSize(TrimBlanks(line.substr(kContentLength.size())));
  return n;
}

// Returning less than `n` ends the transfer, which keeps what came so far.
size_t OnBody(char* data, size_t, size_t n, void* user) {
  Transfer& t = *static_cast<Transfer*>(user);
  if (t.body.capacity() == 0) t.body.reserve(t.read_size);
  return AppendPiece(t.body, data, n) ? n : 0;
}

CURL* MakeClient() {
  if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return nullptr;
  CURL* c = curl_easy_init();
  curl_slist* headers = curl_slist_append(nullptr, kAcceptHeader);
  if (c == nullptr || headers == nullptr) {
    curl_slist_free_all(headers);
    if (c != nullptr) curl_easy_cleanup(c);
    curl_global_cleanup();
    return nullptr;
  }
  curl_easy_setopt(c, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(c, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http");
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, kMaxRedirects);
  // Direct access: an empty name also keeps the proxy variables of the
  // environment out.
  curl_easy_setopt(c, CURLOPT_PROXY, "");
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, kReceiveSeconds);
  // Each fetch has a connection of its own, closed when it ends.
  curl_easy_setopt(c, CURLOPT_FORBID_REUSE, 1L);
  // The host process owns the signals.
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, OnBody);
  g_headers = headers;
  return c;
}

}  // namespace

Body HttpFetch(std::string_view url) {
  if (url.substr(0, kScheme.size()) != kScheme) return {};
  const std::string_view rest = url.substr(kScheme.size());
  const std::string_view host = rest.substr(0, rest.find_first_of("/?#"));
  text::Text target;
  if (!RequestTarget(rest.substr(host.size()), &target)) return {};

  if (g_client == nullptr) g_client = MakeClient();
  if (g_client == nullptr) return {};

  const text::Text sent = text::Concat({kScheme, host, text::View(target)});
  Transfer t;
  curl_easy_setopt(g_client, CURLOPT_URL, sent.c_str());
  curl_easy_setopt(g_client, CURLOPT_HEADERDATA, &t);
  curl_easy_setopt(g_client, CURLOPT_WRITEDATA, &t);
  // Whatever ended the exchange, the bytes that came are the body.
  curl_easy_perform(g_client);
  return std::move(t.body);
}

void ReleaseHttpClient() {
  if (g_client == nullptr) return;
  curl_easy_cleanup(g_client);
  curl_slist_free_all(g_headers);
  curl_global_cleanup();
  g_client = nullptr;
  g_headers = nullptr;
}

}  // namespace nickname
