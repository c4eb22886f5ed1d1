// libcurl, loaded when the first transfer needs it rather than when the
// program starts: the library brings its TLS, SSH, LDAP and Kerberos stacks
// and their constructors along, which a calculator that is opened for one
// question should not pay for before its window is up. The programs take
// only the library's declarations from <curl/curl.h> and call it through
// this table.
#pragma once

#include <curl/curl.h>

namespace qh {

struct CurlLibrary {
    decltype(&::curl_global_init) global_init;
    decltype(&::curl_easy_init) easy_init;
    decltype(&::curl_easy_setopt) easy_setopt;
    decltype(&::curl_easy_perform) easy_perform;
    decltype(&::curl_easy_getinfo) easy_getinfo;
    decltype(&::curl_easy_cleanup) easy_cleanup;
    decltype(&::curl_slist_append) slist_append;
    decltype(&::curl_slist_free_all) slist_free_all;
};

// The library, loaded and its global state set up once for the whole
// process (the first callers on several threads wait for one load); null
// when it is missing or could not be set up, which is said once on standard
// error. Every caller then fails its transfer as a network failure.
const CurlLibrary* Curl();

}  // namespace qh
