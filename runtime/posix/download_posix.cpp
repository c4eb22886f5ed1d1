// DownloadFile on Linux, through libcurl's easy interface: one handle per
// call, so downloads on several threads share nothing but the library.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/clock.h"
#include "runtime/content_range.h"
#include "runtime/download.h"
#include "runtime/download_target.h"
#include "runtime/posix/curl_easy.h"
#include "runtime/posix/system_posix.h"

namespace qh {
namespace {

// Reads of this size, as WinInet's reads on Windows, so that both report
// progress at the same grain.
constexpr long kReadSize = 2048;

// What the callbacks of one transfer share.
struct Transfer {
    CURL* curl;
    DownloadTarget& target;
    const DownloadOptions& options;
    std::uint64_t start = MonotonicMilliseconds();
    // When the last sign of life came: the answer's headers or a byte of the
    // body (the start until the first).
    std::uint64_t lastByte = start;
    curl_off_t lastCount = 0;
    long lastStatus = 0;
    bool bodyStarted = false;
    // The latest answer's Content-Range header, empty when it had none.
    std::string contentRange = {};
};

// The first block of the body comes once the final answer's headers are in:
// its status and headers decide whether the body is the file (or the rest of
// it) at all, and its length is what every report carries. Redirect answers
// never reach this point, since curl skips their bodies while it follows
// them.
bool StartBody(Transfer& transfer) {
    long status = 0;
    Curl()->easy_getinfo(transfer.curl, CURLINFO_RESPONSE_CODE, &status);
    curl_off_t length = -1;
    Curl()->easy_getinfo(transfer.curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    transfer.bodyStarted = true;
    return transfer.target.Begin(status, length >= 0 ? std::optional<std::uint64_t>(length) : std::nullopt,
                                 transfer.contentRange);
}

// curl hands over every header line of every answer, redirects included; a
// status line starts a new answer, so only the final one's Content-Range
// remains.
size_t ReceiveHeader(char* data, size_t size, size_t count, void* context) {
    auto& transfer = *static_cast<Transfer*>(context);
    const std::string_view line(data, size * count);
    if (line.starts_with("HTTP/")) {
        transfer.contentRange.clear();
    } else if (const auto value = ContentRangeHeaderValue(line)) {
        transfer.contentRange = *value;
    }
    return size * count;
}

// Returning less than it was given makes curl end the transfer as failed.
size_t ReceiveBlock(char* data, size_t size, size_t count, void* context) {
    auto& transfer = *static_cast<Transfer*>(context);
    if (!transfer.bodyStarted && !StartBody(transfer)) return 0;
    return transfer.target.Receive(data, size * count) ? size * count : 0;
}

// Asked by curl several times a second while the transfer runs, also while
// no byte arrives: non-zero ends it. It enforces the cancel flag and the two
// time limits to the millisecond (curl's own low-speed limit counts whole
// seconds and only stands behind this one).
int WatchTransfer(void* context, curl_off_t, curl_off_t received, curl_off_t, curl_off_t) {
    auto& transfer = *static_cast<Transfer*>(context);
    const DownloadOptions& options = transfer.options;
    if (options.cancel != nullptr && options.cancel->load()) return 1;
    const std::uint64_t now = MonotonicMilliseconds();
    long status = 0;
    Curl()->easy_getinfo(transfer.curl, CURLINFO_RESPONSE_CODE, &status);
    if (received != transfer.lastCount || status != transfer.lastStatus) {
        transfer.lastCount = received;
        transfer.lastStatus = status;
        transfer.lastByte = now;
    }
    const std::uint64_t limit = status == 0 ? options.connectTimeoutMs : options.stallTimeoutMs;
    const std::uint64_t since = status == 0 ? transfer.start : transfer.lastByte;
    return now - since >= limit ? 1 : 0;
}

void SetOptions(Transfer& transfer, const Text& url) {
    CURL* curl = transfer.curl;
    const DownloadOptions& options = transfer.options;
    Curl()->easy_setopt(curl, CURLOPT_URL, url.c_str());
    Curl()->easy_setopt(curl, CURLOPT_USERAGENT, "HTTPREAD");
    Curl()->easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    // No signals: the time limits must not disturb other threads.
    Curl()->easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    Curl()->easy_setopt(curl, CURLOPT_BUFFERSIZE, kReadSize);
    SetTransport(curl, url);
    Curl()->easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.connectTimeoutMs));
    Curl()->easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    Curl()->easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>((options.stallTimeoutMs + 999) / 1000));
    Curl()->easy_setopt(curl, CURLOPT_HEADERFUNCTION, ReceiveHeader);
    Curl()->easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    Curl()->easy_setopt(curl, CURLOPT_WRITEFUNCTION, ReceiveBlock);
    Curl()->easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    Curl()->easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, WatchTransfer);
    Curl()->easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    Curl()->easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
}

// Asks for the rest of a file whose first bytes a partial file holds. A
// plain range request rather than curl's resume, which fails the transfer
// when the server answers with the whole file; that answer is taken and
// starts the file again. The range is sent again after a redirect; curl
// keeps its own copy of the text.
void AskForRest(CURL* curl, std::uint64_t from) {
    if (from == 0) return;
    Curl()->easy_setopt(curl, CURLOPT_RANGE, (std::to_string(from) + "-").c_str());
}

}  // namespace

bool DownloadFile(const Text& url, const Text& path, const DownloadProgress& onProgress,
                  const DownloadOptions& options) {
    if (url.empty() || path.empty() || !CurlReady()) return false;
    if (options.cancel != nullptr && options.cancel->load()) return false;
    CurlEasyHandle curl(Curl()->easy_init());
    if (!curl) return false;
    auto& system = static_cast<PosixSystem&>(PlatformSystem());
    const Text& partial = options.partialPath;
    DownloadTarget target(path, system.NativePath(path), partial.empty() ? std::string() : system.NativePath(partial),
                          onProgress, options);
    Transfer transfer{curl.get(), target, options};
    SetOptions(transfer, url);
    AskForRest(curl.get(), target.ResumeOffset());
    if (Curl()->easy_perform(curl.get()) != CURLE_OK) return false;
    // An answer without a body never passed through ReceiveBlock.
    if (!transfer.bodyStarted && !StartBody(transfer)) return false;
    return target.Commit();
}

}  // namespace qh
