// The HTTP fetch on Windows: WinINet, with one session handle per library.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <wininet.h>

#include "nickname/http_fetch.h"
#include "nickname/lookup.h"

namespace nickname {

namespace {

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr char kAcceptHeader[] = "Accept: */*\r\n";
constexpr char kNoProxyCredential[] = "";

// The library's session, made by the first fetch that gets past the URL split.
HINTERNET g_session = nullptr;

// Closes a request or connection handle when the fetch ends, however it ends.
class Handle {
 public:
  explicit Handle(HINTERNET h) : h_(h) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (h_ != nullptr) InternetCloseHandle(h_);
  }
  HINTERNET get() const { return h_; }

 private:
  HINTERNET h_;
};

// The URL as WinINet canonicalizes it, without escaping any byte: a view into
// `buffer`, zero-terminated there.
bool Canonicalize(const text::Text& url, Body* buffer, std::string_view* canonical) {
  DWORD size = static_cast<DWORD>(url.size()) + 16;
  for (int attempt = 0; attempt < 2; ++attempt) {
    buffer->assign(size, '\0');
    if (InternetCanonicalizeUrlA(url.c_str(), buffer->data(), &size, ICU_NO_ENCODE)) {
      *canonical = {buffer->data(), size};
      return true;
    }
    // On a short buffer `size` now holds the size needed.
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
  }
  return false;
}

// The Content-Length value of the answer, empty when it has none or it does
// not fit the buffer.
std::string_view ContentLength(HINTERNET request, char (&value)[32]) {
  DWORD size = sizeof value;
  DWORD index = 0;
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, value, &size, &index)) return {};
  return {value, size};
}

}  // namespace

Body HttpFetch(std::string_view url) {
  Body buffer;
  std::string_view canonical;
  if (!Canonicalize(text::Concat({url}), &buffer, &canonical)) return {};
  // Null buffers with non-zero lengths make WinINet point into `canonical`.
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = 1;
  parts.dwUrlPathLength = 1;
  parts.dwExtraInfoLength = 1;
  if (!InternetCrackUrlA(canonical.data(), static_cast<DWORD>(canonical.size()), 0, &parts) ||
      parts.lpszHostName == nullptr)
    return {};
  const text::Text host(parts.lpszHostName, parts.dwHostNameLength);
  const char* const end = canonical.data() + canonical.size();
  const char* behind = parts.lpszUrlPath != nullptr && parts.dwUrlPathLength > 0 ? parts.lpszUrlPath
                       : parts.lpszExtraInfo != nullptr                          ? parts.lpszExtraInfo
                                                                                 : end;
  text::Text target;
  if (!RequestTarget({behind, static_cast<std::size_t>(end - behind)}, &target)) return {};

  if (g_session == nullptr) g_session = InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  if (g_session == nullptr) return {};

  const Handle connection(InternetConnectA(g_session, host.c_str(), parts.nPort, nullptr, nullptr,
                                           INTERNET_SERVICE_HTTP, 0, 0));
  if (connection.get() == nullptr) return {};
  InternetSetOptionA(connection.get(), INTERNET_OPTION_PROXY_USERNAME, const_cast<char*>(kNoProxyCredential), 1);
  InternetSetOptionA(connection.get(), INTERNET_OPTION_PROXY_PASSWORD, const_cast<char*>(kNoProxyCredential), 1);
  const Handle request(HttpOpenRequestA(connection.get(), "GET", target.c_str(), "HTTP/1.0", nullptr, nullptr,
                                        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
  if (request.get() == nullptr) return {};
  if (!HttpSendRequestA(request.get(), kAcceptHeader, static_cast<DWORD>(sizeof kAcceptHeader - 1), nullptr, 0))
    return {};

  char length[32];
  Body piece(ReadBufferSize(ContentLength(request.get(), length)));
  Body body;
  for (;;) {
    DWORD got = 0;
    if (!InternetReadFile(request.get(), piece.data(), static_cast<DWORD>(piece.size()), &got) || got == 0) break;
    if (!AppendPiece(body, piece.data(), got)) break;
  }
  return body;
}

void ReleaseHttpClient() {
  if (g_session == nullptr) return;
  InternetCloseHandle(g_session);
  g_session = nullptr;
}

}  // namespace nickname
