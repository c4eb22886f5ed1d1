// DownloadFile on Windows, through WinInet used synchronously: one internet
// handle per call, so downloads on several threads share nothing.
#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "runtime/download.h"
#include "runtime/download_target.h"
#include "runtime/win32/system_win32.h"

namespace qh {
namespace {

// Bytes asked for per read.
constexpr DWORD kReadSize = 2048;

// Closes a WinInet handle when it goes out of scope.
class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
    ~InternetHandle() {
        if (handle_ != nullptr) InternetCloseHandle(handle_);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET Get() const { return handle_; }

private:
    HINTERNET handle_;
};

void SetTimeout(HINTERNET handle, DWORD option, int milliseconds) {
    DWORD value = milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 1;
    InternetSetOptionW(handle, option, &value, sizeof value);
}

// The answer's status code; 0 when there is none, as for an address that
// is not HTTP.
DWORD StatusCode(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) return 0;
    return status;
}

// The announced length, read as text so that files past 4 GB are measured
// right too; nothing when the server announced none or an unreadable one.
std::optional<std::uint64_t> AnnouncedLength(HINTERNET request) {
    wchar_t text[32] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr) || text[0] == L'\0') {
        return std::nullopt;
    }
    std::uint64_t length = 0;
    for (const wchar_t* digit = text; *digit != L'\0'; ++digit) {
        if (*digit < L'0' || *digit > L'9' || length > (UINT64_MAX - 9) / 10) return std::nullopt;
        length = length * 10 + static_cast<std::uint64_t>(*digit - L'0');
    }
    return length;
}

// The Content-Range header as narrow text; empty when there is none. The
// header is ASCII: any other character spoils it, so that it is refused.
std::string ContentRange(HINTERNET request) {
    wchar_t text[128] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_RANGE, text, &size, nullptr)) return {};
    std::string range;
    for (const wchar_t* c = text; *c != L'\0'; ++c) range += *c < 0x80 ? static_cast<char>(*c) : '?';
    return range;
}

// The request's extra header: the rest of a file from byte from on, when a
// partial file holds the bytes before it.
std::wstring RangeHeader(std::uint64_t from) {
    if (from == 0) return {};
    return L"Range: bytes=" + std::to_wstring(from) + L"-\r\n";
}

bool Cancelled(const DownloadOptions& options) { return options.cancel != nullptr && options.cancel->load(); }

// Reads the body to its end into target. Each read waits at most the stall
// limit; the cancel flag is looked at between reads.
bool ReadBody(HINTERNET request, DownloadTarget& target, const DownloadOptions& options) {
    std::uint8_t buffer[kReadSize];
    for (;;) {
        if (Cancelled(options)) return false;
        DWORD read = 0;
        if (!InternetReadFile(request, buffer, kReadSize, &read)) return false;
        if (read == 0) return true;
        if (!target.Receive(buffer, read)) return false;
    }
}

}  // namespace

bool DownloadFile(const Text& url, const Text& path, const DownloadProgress& onProgress,
                  const DownloadOptions& options) {
    if (url.empty() || path.empty() || Cancelled(options)) return false;
    InternetHandle internet(InternetOpenW(L"HTTPREAD", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (internet.Get() == nullptr) return false;
    // Until the answer's headers are in, every wait runs under the connect
    // limit; after them, a read that waits runs under the stall limit.
    SetTimeout(internet.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, options.connectTimeoutMs);
    SetTimeout(internet.Get(), INTERNET_OPTION_SEND_TIMEOUT, options.connectTimeoutMs);
    SetTimeout(internet.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, options.connectTimeoutMs);
    DownloadTarget target(path, std::filesystem::path(GbkToWide(path)),
                          options.partialPath.empty() ? std::filesystem::path()
                                                      : std::filesystem::path(GbkToWide(options.partialPath)),
                          onProgress, options);
    const std::wstring range = RangeHeader(target.ResumeOffset());
    // A part of a file must not stand in the cache for the whole of it.
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_TRANSFER_BINARY |
                        (range.empty() ? 0 : INTERNET_FLAG_NO_CACHE_WRITE);
    InternetHandle request(InternetOpenUrlW(internet.Get(), GbkToWide(url).c_str(),
                                            range.empty() ? nullptr : range.c_str(),
                                            static_cast<DWORD>(range.size()), flags, 0));
    if (request.Get() == nullptr) return false;
    // An error page is not the file; nor is a part that does not continue
    // the partial file.
    if (!target.Begin(static_cast<long>(StatusCode(request.Get())), AnnouncedLength(request.Get()),
                      ContentRange(request.Get()))) {
        return false;
    }
    SetTimeout(request.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, options.stallTimeoutMs);
    return ReadBody(request.Get(), target, options) && target.Commit();
}

}  // namespace qh
