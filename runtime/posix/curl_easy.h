// What the runtime's two libcurl users (HttpRequest and DownloadFile) share:
// the library's one-time set-up and an owning handle.
#pragma once

#include <curl/curl.h>

#include <cstdlib>
#include <memory>
#include <string_view>

namespace qh {

// Redirects are followed, as XMLHTTP and WinInet follow them, but not
// without end.
inline constexpr long kCurlMaxRedirects = 5;

// The library's global state, set up once for the whole process; the
// function-local static makes the first callers on several threads wait for
// one initialisation. False when it could not be set up.
inline bool CurlReady() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

// Where the transfer may go, and how it trusts a server: http and https
// only; redirects followed up to kCurlMaxRedirects, and from an https
// address only to https ones, so that a secure request never falls back to
// plain HTTP. A server's certificate is always checked, against the
// system's trust store; SSL_CERT_FILE and SSL_CERT_DIR name another one, as
// they do for OpenSSL's own programs (libcurl's built-in bundle path would
// otherwise hide them). A certificate that fails fails the request.
inline void SetTransport(CURL* curl, std::string_view url) {
    const bool secure = url.size() >= 8 && curl_strnequal(url.data(), "https://", 8);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kCurlMaxRedirects);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (const char* file = std::getenv("SSL_CERT_FILE"); file != nullptr && *file != '\0') {
        curl_easy_setopt(curl, CURLOPT_CAINFO, file);
    }
    if (const char* folder = std::getenv("SSL_CERT_DIR"); folder != nullptr && *folder != '\0') {
        curl_easy_setopt(curl, CURLOPT_CAPATH, folder);
    }
}

struct CurlEasyDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
using CurlEasyHandle = std::unique_ptr<CURL, CurlEasyDeleter>;

}  // namespace qh
