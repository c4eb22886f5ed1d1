// HttpRequest on Linux, through libcurl's easy interface: one handle per
// call, so calls on several threads share nothing but the library itself.
#include <memory>
#include <string>
#include <utility>

#include "runtime/http.h"
#include "runtime/posix/curl_easy.h"

namespace qh {
namespace {

struct ListDeleter {
    void operator()(curl_slist* list) const { Curl()->slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

// The answer's body as it arrives, and the most it may hold.
struct Answer {
    Bytes body;
    std::size_t bound;
};

// Returning less than it was given ends the transfer as failed: a body that
// would pass its bound is dropped before it grows any further.
size_t AppendToBody(char* data, size_t size, size_t count, void* target) {
    auto& answer = *static_cast<Answer*>(target);
    const std::size_t n = size * count;
    if (n > answer.bound - answer.body.size()) return 0;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    answer.body.insert(answer.body.end(), bytes, bytes + n);
    return n;
}

// Asked by curl while the transfer runs: non-zero ends it.
int StopWhenCancelled(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0;
}

void AddHeader(HeaderList& list, const std::string& line) {
    if (curl_slist* grown = Curl()->slist_append(list.get(), line.c_str())) {
        list.release();
        list.reset(grown);
    }
}

// The request's own header, and the blank entries that stop curl from adding
// a form type or an "Expect: 100-continue" of its own to a body.
HeaderList RequestHeaders(const HttpOptions& options) {
    HeaderList list;
    const auto header = HttpRequestHeader(options);
    if (header) AddHeader(list, header->first + ": " + header->second);
    if (!header || !(header->first.size() == 12 && StartsWithIgnoringCase(header->first, "Content-Type"))) {
        AddHeader(list, "Content-Type:");
    }
    AddHeader(list, "Expect:");
    return list;
}

// The verb and the body: GET and HEAD carry no body, as with XMLHTTP; POST
// is curl's own, so a redirect after it turns into a GET as in a browser;
// other verbs are named.
void SetVerbAndBody(CURL* curl, const HttpOptions& options) {
    const Text verb = HttpVerb(options.method);
    if (verb == "GET") {
        Curl()->easy_setopt(curl, CURLOPT_HTTPGET, 1L);
        return;
    }
    if (verb == "HEAD") {
        Curl()->easy_setopt(curl, CURLOPT_NOBODY, 1L);
        return;
    }
    Curl()->easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(options.body.size()));
    Curl()->easy_setopt(curl, CURLOPT_POSTFIELDS, options.body.empty() ? "" : reinterpret_cast<const char*>(options.body.data()));
    if (verb != "POST") Curl()->easy_setopt(curl, CURLOPT_CUSTOMREQUEST, verb.c_str());
}

void SetLimits(CURL* curl, const HttpOptions& options) {
    // No signals: the time limits must not disturb other threads.
    Curl()->easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    Curl()->easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.connectTimeoutMs));
    Curl()->easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(options.totalTimeoutMs));
    if (options.cancel != nullptr) {
        Curl()->easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, StopWhenCancelled);
        Curl()->easy_setopt(curl, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(options.cancel));
        Curl()->easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    }
}

}  // namespace

Bytes HttpRequest(const Text& url, const HttpOptions& options) {
    if (!CurlReady()) return {};
    CurlEasyHandle curl(Curl()->easy_init());
    if (!curl) return {};
    Answer answer{{}, HttpAnswerBound(options)};
    Curl()->easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    SetTransport(curl.get(), url);
    SetLimits(curl.get(), options);
    SetVerbAndBody(curl.get(), options);
    const HeaderList headers = RequestHeaders(options);
    Curl()->easy_setopt(curl.get(), CURLOPT_HTTPHEADER, headers.get());
    if (options.credentials) {
        Curl()->easy_setopt(curl.get(), CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
        Curl()->easy_setopt(curl.get(), CURLOPT_USERNAME, options.credentials->first.c_str());
        Curl()->easy_setopt(curl.get(), CURLOPT_PASSWORD, options.credentials->second.c_str());
    }
    Curl()->easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, AppendToBody);
    Curl()->easy_setopt(curl.get(), CURLOPT_WRITEDATA, &answer);
    // An announced length past the bound fails before the body comes.
    Curl()->easy_setopt(curl.get(), CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(answer.bound));

    if (Curl()->easy_perform(curl.get()) != CURLE_OK) return {};
    long status = 0;
    Curl()->easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
    return IsHttpSuccess(status) ? std::move(answer.body) : Bytes{};
}

}  // namespace qh
