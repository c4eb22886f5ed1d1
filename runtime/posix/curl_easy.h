// What the runtime's two libcurl users (HttpRequest and DownloadFile) share:
// the library's one-time set-up and an owning handle.
#pragma once

#include <cstdlib>
#include <memory>
#include <string_view>

#include "runtime/posix/curl_library.h"
#include "runtime/text.h"

namespace qh {

// Redirects are followed, as XMLHTTP and WinInet follow them, but not
// without end.
inline constexpr long kCurlMaxRedirects = 5;

// The library, loaded and set up once for the whole process (Curl()). False
// when it could not be.
inline bool CurlReady() { return Curl() != nullptr; }


// Where the transfer may go, and how it trusts a server: http and https
// only; redirects followed up to kCurlMaxRedirects, and from an https
// address only to https ones, so that a secure request never falls back to
// plain HTTP. A server's certificate is always checked, against the
// system's trust store; SSL_CERT_FILE and SSL_CERT_DIR name another one, as
// they do for OpenSSL's own programs (libcurl's built-in bundle path would
// otherwise hide them). A certificate that fails fails the request.
inline void SetTransport(CURL* curl, std::string_view url) {
    const bool secure = StartsWithIgnoringCase(url, "https://");
    Curl()->easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    Curl()->easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    Curl()->easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    Curl()->easy_setopt(curl, CURLOPT_MAXREDIRS, kCurlMaxRedirects);
    Curl()->easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    Curl()->easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (const char* file = std::getenv("SSL_CERT_FILE"); file != nullptr && *file != '\0') {
        Curl()->easy_setopt(curl, CURLOPT_CAINFO, file);
    }
    if (const char* folder = std::getenv("SSL_CERT_DIR"); folder != nullptr && *folder != '\0') {
        Curl()->easy_setopt(curl, CURLOPT_CAPATH, folder);
    }
}

struct CurlEasyDeleter {
    void operator()(CURL* curl) const { Curl()->easy_cleanup(curl); }
};
using CurlEasyHandle = std::unique_ptr<CURL, CurlEasyDeleter>;

}  // namespace qh
