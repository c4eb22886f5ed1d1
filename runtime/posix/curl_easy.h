// What the runtime's two libcurl users (HttpRequest and DownloadFile) share:
// the library's one-time set-up and an owning handle.
#pragma once

#include <curl/curl.h>

#include <memory>

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

struct CurlEasyDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
using CurlEasyHandle = std::unique_ptr<CURL, CurlEasyDeleter>;

}  // namespace qh
