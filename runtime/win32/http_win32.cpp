// HttpRequest on Windows, through the "Microsoft.XMLHTTP" automation object.
//
// The request is opened asynchronously and this thread waits for it,
// serving its own messages meanwhile (the object reports progress through
// them), so that the time limits can end a request that a dead server would
// otherwise hold for ever: "abort" stops it. The thread is given a COM
// apartment of its own when it has none yet.
#include <objbase.h>
#include <windows.h>

#include <cstdint>
#include <optional>

#include "runtime/http.h"
#include "runtime/win32/automation.h"

namespace qh {
namespace {

// XMLHTTP's readyState: 2 once the answer's headers are in, 4 when done.
constexpr int kHeadersReceived = 2;
constexpr int kComplete = 4;
constexpr DWORD kPollMs = 10;

// The object, released when the request ends.
class XmlHttp {
public:
    XmlHttp() {
        CLSID clsid;
        if (SUCCEEDED(CLSIDFromProgID(L"Microsoft.XMLHTTP", &clsid))) {
            CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&object_));
        }
    }
    ~XmlHttp() {
        if (object_ != nullptr) object_->Release();
    }
    XmlHttp(const XmlHttp&) = delete;
    XmlHttp& operator=(const XmlHttp&) = delete;

    IDispatch* get() const { return object_; }

    bool Call(const wchar_t* name, std::vector<VARIANT> arguments) {
        const HRESULT hr = CallByName(object_, name, DISPATCH_METHOD, arguments, nullptr);
        ClearVariants(arguments);
        return SUCCEEDED(hr);
    }

    int IntProperty(const wchar_t* name, int fallback) {
        std::vector<VARIANT> none;
        ScopedVariant value;
        if (FAILED(CallByName(object_, name, DISPATCH_PROPERTYGET, none, &value.v))) return fallback;
        return IntOfVariant(value.v, fallback);
    }

    // The answer's Content-Length; nothing when it has none or an
    // unreadable one.
    std::optional<std::uint64_t> AnnouncedLength() {
        std::vector<VARIANT> name{TextVariant("Content-Length")};
        ScopedVariant value;
        const HRESULT hr = CallByName(object_, L"getResponseHeader", DISPATCH_METHOD, name, &value.v);
        ClearVariants(name);
        if (FAILED(hr) || value.v.vt != VT_BSTR || value.v.bstrVal == nullptr || value.v.bstrVal[0] == L'\0') {
            return std::nullopt;
        }
        std::uint64_t length = 0;
        for (const wchar_t* digit = value.v.bstrVal; *digit != L'\0'; ++digit) {
            if (*digit < L'0' || *digit > L'9' || length > (UINT64_MAX - 9) / 10) return std::nullopt;
            length = length * 10 + static_cast<std::uint64_t>(*digit - L'0');
        }
        return length;
    }

    Bytes ResponseBody() {
        std::vector<VARIANT> none;
        ScopedVariant value;
        if (FAILED(CallByName(object_, L"responseBody", DISPATCH_PROPERTYGET, none, &value.v))) return {};
        return BytesOfVariant(value.v);
    }

private:
    IDispatch* object_ = nullptr;
};

// Serves this thread's messages for up to one poll interval. An answer that
// streams fast keeps posting messages; the loop still ends when the interval
// is over, so that the caller's time limits and cancel flag are looked at.
void ServeMessagesBriefly() {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
    const ULONGLONG until = GetTickCount64() + kPollMs;
    MSG message;
    while (GetTickCount64() < until && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Whether the server's answer has begun: its headers are in and carry a
// status. (Wine's object reports the headers' state for a connection that
// was refused, without a status, and never completes it.)
bool AnswerBegun(XmlHttp& request, int state) {
    return state >= kHeadersReceived && request.IntProperty(L"status", 0) != 0;
}

// Whether the answer announced a length past its bound. The object keeps
// the whole body in its own memory and shows none of it before the end, so
// this is the point where a long answer is stopped early; one without a
// length runs until the time limit and is then dropped.
bool AnnouncedTooLong(XmlHttp& request, int state, const HttpOptions& options) {
    if (state < kHeadersReceived) return false;
    const std::optional<std::uint64_t> length = request.AnnouncedLength();
    return length && *length > HttpAnswerBound(options);
}

// Waits until the request is complete; false when a time limit ran out
// first (no answer begun within the first, no whole answer within the
// second), the answer announced more than its bound, or the caller
// cancelled it.
bool WaitForAnswer(XmlHttp& request, const HttpOptions& options) {
    const ULONGLONG start = GetTickCount64();
    bool lengthChecked = false;
    for (;;) {
        const int state = request.IntProperty(L"readyState", 0);
        if (state == kComplete) return true;
        if (options.cancel != nullptr && options.cancel->load()) return false;
        if (!lengthChecked && AnswerBegun(request, state)) {
            if (AnnouncedTooLong(request, state, options)) return false;
            lengthChecked = true;
        }
        const ULONGLONG elapsed = GetTickCount64() - start;
        if (elapsed >= static_cast<ULONGLONG>(options.totalTimeoutMs)) return false;
        if (elapsed >= static_cast<ULONGLONG>(options.connectTimeoutMs) && !AnswerBegun(request, state)) return false;
        ServeMessagesBriefly();
    }
}

}  // namespace

Bytes HttpRequest(const Text& url, const HttpOptions& options) {
    ComScope com;
    XmlHttp request;
    if (request.get() == nullptr) return {};

    std::vector<VARIANT> open{TextVariant(HttpVerb(options.method)), TextVariant(url), BoolVariant(true)};
    if (options.credentials) {
        open.push_back(TextVariant(options.credentials->first));
        open.push_back(TextVariant(options.credentials->second));
    }
    if (!request.Call(L"open", std::move(open))) return {};
    if (const auto header = HttpRequestHeader(options)) {
        if (!request.Call(L"setRequestHeader", {TextVariant(header->first), TextVariant(header->second)})) return {};
    }
    if (!request.Call(L"send", {ByteArrayVariant(options.body)})) return {};
    if (!WaitForAnswer(request, options)) {
        request.Call(L"abort", {});
        return {};
    }
    if (!IsHttpSuccess(request.IntProperty(L"status", 0))) return {};
    Bytes body = request.ResponseBody();
    if (body.size() > HttpAnswerBound(options)) return {};
    return body;
}

}  // namespace qh
