#include "toolkit/web_browser.h"

#include <type_traits>

#include "toolkit/scale.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

// The parent window's display scale (1 without a host, as in a test of the
// browser alone).
float ScaleOf(HostHandle parent) {
    Host* host = Toolkit().host;
    return host != nullptr ? host->Scale(parent) : 1.0f;
}

}  // namespace

UiWebBrowser::UiWebBrowser() : backend_(CreateWebBrowserBackend()) {}

UiWebBrowser::~UiWebBrowser() { Close(); }

template <typename Fn>
auto UiWebBrowser::OnBrowserThread(Fn fn) -> decltype(fn()) {
    using Result = decltype(fn());
    Host* host = Toolkit().host;
    if (parent_ == 0 || host == nullptr || host->OnWindowThread(parent_)) return fn();
    // The browser's automation object belongs to the window's thread.
    if constexpr (std::is_void_v<Result>) {
        host->RunOnWindowThread(parent_, [&] { fn(); });
    } else {
        Result result{};
        host->RunOnWindowThread(parent_, [&] { result = fn(); });
        return result;
    }
}

HostHandle UiWebBrowser::Create(HostHandle parent, int left, int top, int width, int height, std::uint32_t exStyle,
                                bool byProgId, bool visible) {
    if (hwnd_ != 0 || parent == 0) return 0;
    parent_ = parent;
    // The browser is a native child window: placed in device pixels.
    const RectI d = ToDevice(RectI{left, top, width, height}, ScaleOf(parent));
    hwnd_ = OnBrowserThread(
        [&] { return backend_->Create(parent, d.left, d.top, d.width, d.height, exStyle, byProgId, visible); });
    if (hwnd_ == 0) parent_ = 0;
    return hwnd_;
}

void UiWebBrowser::Close() {
    if (hwnd_ == 0) return;
    OnBrowserThread([&] { backend_->Close(); });
    hwnd_ = 0;
    parent_ = 0;
}

bool UiWebBrowser::Navigate(const Text& url, int flags, const Text& targetFrame, const Bytes* postData,
                            const Text& headers) {
    if (hwnd_ == 0) return false;
    const Bytes body = postData ? *postData : Bytes();
    return OnBrowserThread([&] {
        return backend_->Navigate("Navigate", url, flags, targetFrame, body, postData != nullptr, headers);
    });
}

bool UiWebBrowser::Navigate2(const Text& url, int flags, const Text& targetFrame, const Bytes* postData,
                             const Text& headers) {
    if (hwnd_ == 0) return false;
    const Bytes body = postData ? *postData : Bytes();
    return OnBrowserThread([&] {
        return backend_->Navigate("Navigate2", url, flags, targetFrame, body, postData != nullptr, headers);
    });
}

void UiWebBrowser::Move(int left, int top, int width, int height) {
    if (hwnd_ == 0) return;
    const RectI d = ToDevice(RectI{left, top, width, height}, ScaleOf(parent_));
    OnBrowserThread([&] { backend_->Move(d.left, d.top, d.width, d.height); });
}

void UiWebBrowser::Silent(bool silent) {
    if (hwnd_ != 0) OnBrowserThread([&] { backend_->SetSilent(silent); });
}

int UiWebBrowser::ReadyState() {
    if (hwnd_ == 0) return 0;
    return OnBrowserThread([&] { return backend_->ReadyState(); });
}

void UiWebBrowser::Stop() {
    if (hwnd_ != 0) OnBrowserThread([&] { backend_->Stop(); });
}

Text UiWebBrowser::DocumentUrl() {
    if (hwnd_ == 0) return {};
    return OnBrowserThread([&] { return backend_->DocumentUrl(); });
}

}  // namespace qh
