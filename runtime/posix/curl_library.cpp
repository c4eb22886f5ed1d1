#include "runtime/posix/curl_library.h"

#include <dlfcn.h>

#include <cstdio>

namespace qh {
namespace {

// The soname of libcurl's current interface, the one <curl/curl.h> declares.
constexpr const char* kCurlSoname = "libcurl.so.4";

template <typename Function>
bool Bind(void* module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(module, name));
    return function != nullptr;
}

bool BindAll(void* module, CurlLibrary& library) {
    return Bind(module, "curl_global_init", library.global_init) &&
           Bind(module, "curl_easy_init", library.easy_init) &&
           Bind(module, "curl_easy_setopt", library.easy_setopt) &&
           Bind(module, "curl_easy_perform", library.easy_perform) &&
           Bind(module, "curl_easy_getinfo", library.easy_getinfo) &&
           Bind(module, "curl_easy_cleanup", library.easy_cleanup) &&
           Bind(module, "curl_slist_append", library.slist_append) &&
           Bind(module, "curl_slist_free_all", library.slist_free_all);
}

// The library stays loaded for the rest of the run: transfers on other
// threads may still hold its handles when the program ends.
const CurlLibrary* Load() {
    static CurlLibrary library{};
    void* module = ::dlopen(kCurlSoname, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        std::fprintf(stderr, "%s: %s\n", kCurlSoname, ::dlerror());
        return nullptr;
    }
    if (!BindAll(module, library) || library.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        std::fprintf(stderr, "%s: the library could not be set up\n", kCurlSoname);
        return nullptr;
    }
    return &library;
}

}  // namespace

const CurlLibrary* Curl() {
    static const CurlLibrary* const library = Load();
    return library;
}

}  // namespace qh
