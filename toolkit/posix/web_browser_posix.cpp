// The web browser stand-in on Linux: no page is shown; navigating fetches the
// page with one HTTP request (libcurl) on a thread of its own, and the ready
// state becomes 4 once the request has finished, whether or not it
// succeeded, as a browser's does when it shows an error page.
// Implements: Create (a handle of its own, no window), Navigate and Navigate2
// (GET, or POST with the post data; extra headers), Stop, ReadyState,
// DocumentUrl (the address after redirects). Move and Silent have nothing to
// act on and only keep their values.
#include <atomic>
#include <mutex>
#include <thread>

#include "runtime/posix/curl_library.h"
#include "runtime/system.h"
#include "toolkit/web_browser.h"

namespace qh {
namespace {

constexpr long kTimeoutSeconds = 60;

class CurlBrowser final : public WebBrowserBackend {
public:
    CurlBrowser() = default;
    ~CurlBrowser() override { Close(); }

    HostHandle Create(HostHandle parent, int, int, int, int, std::uint32_t, bool, bool) override {
        static std::atomic<HostHandle> next{0x7F000001};
        created_ = true;
        url_ = "about:blank";
        return parent != 0 ? next++ : 0;
    }

    void Close() override {
        Stop();
        created_ = false;
    }

    bool Navigate(const Text&, const Text& url, int, const Text&, const Bytes& postData, bool hasPostData,
                  const Text& headers) override {
        if (!created_ || url.empty()) return false;
        Stop();
        cancel_ = false;
        state_ = 1;  // loading
        {
            std::lock_guard lock(mutex_);
            url_ = url;
        }
        const std::string address = System().GbkToUtf8(url);
        const std::string extra = System().GbkToUtf8(headers);
        worker_ = std::thread([this, address, extra, postData, hasPostData] {
            Fetch(address, extra, postData, hasPostData);
            state_ = 4;
        });
        return true;
    }

    void Move(int, int, int, int) override {}
    void SetSilent(bool) override {}
    int ReadyState() override { return state_; }

    void Stop() override {
        cancel_ = true;
        if (worker_.joinable()) worker_.join();
    }

    Text DocumentUrl() override {
        std::lock_guard lock(mutex_);
        return url_;
    }

private:
    static size_t Discard(char*, size_t size, size_t count, void*) { return size * count; }
    static int Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        return static_cast<CurlBrowser*>(self)->cancel_ ? 1 : 0;
    }

    void Fetch(const std::string& address, const std::string& headers, const Bytes& postData, bool hasPostData) {
        if (Curl() == nullptr) return;
        CURL* curl = Curl()->easy_init();
        if (!curl) return;
        curl_slist* headerList = nullptr;
        size_t from = 0;
        while (from < headers.size()) {
            size_t end = headers.find("\r\n", from);
            if (end == std::string::npos) end = headers.size();
            if (end > from) headerList = Curl()->slist_append(headerList, headers.substr(from, end - from).c_str());
            from = end + 2;
        }
        Curl()->easy_setopt(curl, CURLOPT_URL, address.c_str());
        Curl()->easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        Curl()->easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
        Curl()->easy_setopt(curl, CURLOPT_TIMEOUT, kTimeoutSeconds);
        Curl()->easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        Curl()->easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CurlBrowser::Discard);
        Curl()->easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        Curl()->easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &CurlBrowser::Progress);
        Curl()->easy_setopt(curl, CURLOPT_XFERINFODATA, this);
        if (headerList) Curl()->easy_setopt(curl, CURLOPT_HTTPHEADER, headerList);
        if (hasPostData) {
            Curl()->easy_setopt(curl, CURLOPT_POST, 1L);
            Curl()->easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(postData.size()));
            const char* body = postData.empty() ? "" : reinterpret_cast<const char*>(postData.data());
            Curl()->easy_setopt(curl, CURLOPT_COPYPOSTFIELDS, body);
        }
        if (Curl()->easy_perform(curl) == CURLE_OK) {
            char* effective = nullptr;
            if (Curl()->easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective) {
                std::lock_guard lock(mutex_);
                url_ = System().Utf8ToGbk(effective);
            }
        }
        Curl()->slist_free_all(headerList);
        Curl()->easy_cleanup(curl);
    }

    bool created_ = false;
    std::atomic<int> state_{0};
    std::atomic<bool> cancel_{false};
    std::thread worker_;
    std::mutex mutex_;
    Text url_;
};

}  // namespace

std::unique_ptr<WebBrowserBackend> CreateWebBrowserBackend() { return std::make_unique<CurlBrowser>(); }

}  // namespace qh
