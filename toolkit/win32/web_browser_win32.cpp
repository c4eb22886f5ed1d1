// The web browser on Windows: "Shell.Explorer.2" hosted by ATL's "AtlAxWin"
// window class (atl.dll, AtlAxWinInit by ordinal 42 and AtlAxGetControl by
// ordinal 47) and driven through IDispatch by member name.
// Implements: Create, Close, Navigate and Navigate2 (post data as a byte
// array only when given), Move, Silent, ReadyState, Stop, DocumentUrl.
#include <windows.h>
#include <oaidl.h>
#include <ole2.h>

#include <vector>

#include "runtime/bind_import.h"
#include "runtime/win32/automation.h"
#include "runtime/win32/system_win32.h"
#include "toolkit/web_browser.h"

namespace qh {
namespace {

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

class AtlBrowser final : public WebBrowserBackend {
public:
    ~AtlBrowser() override { Close(); }

    HostHandle Create(HostHandle parent, int left, int top, int width, int height, std::uint32_t exStyle,
                      bool byProgId, bool visible) override {
        if (hwnd_ && IsWindow(hwnd_)) return 0;
        static ImportSlot<AtlAxWinInitFn> init{"atl.dll", "#42"};
        init.get()();
        const DWORD style = WS_CHILD | (visible ? WS_VISIBLE : 0);
        hwnd_ = CreateWindowExW(exStyle, L"AtlAxWin", byProgId ? L"Shell.Explorer.2" : L"About:Blank", style, left,
                                top, width, height, reinterpret_cast<HWND>(parent), nullptr, GetModuleHandleW(nullptr),
                                nullptr);
        if (!hwnd_) return 0;
        static ImportSlot<AtlAxGetControlFn> getControl{"atl.dll", "#47"};
        IUnknown* control = nullptr;
        if (SUCCEEDED(getControl.get()(hwnd_, &control)) && control) {
            control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&browser_));
            control->Release();
        }
        return reinterpret_cast<HostHandle>(hwnd_);
    }

    void Close() override {
        if (browser_) browser_->Release();
        browser_ = nullptr;
        hwnd_ = nullptr;
    }

    bool Navigate(const Text& method, const Text& url, int flags, const Text& targetFrame, const Bytes& postData,
                  bool hasPostData, const Text& headers) override {
        // Post data travels as a safe array of bytes, and only when given.
        std::vector<VARIANT> args{TextVariant(url), IntVariant(flags), TextVariant(targetFrame), VARIANT{},
                                  TextVariant(headers)};
        VariantInit(&args[3]);
        if (hasPostData) args[3] = ByteArrayVariant(postData);
        const std::wstring name = GbkToWide(method);
        const HRESULT hr = CallByName(browser_, name.c_str(), DISPATCH_METHOD, args, nullptr);
        ClearVariants(args);
        return SUCCEEDED(hr);
    }

    void Move(int left, int top, int width, int height) override {
        if (hwnd_) MoveWindow(hwnd_, left, top, width, height, TRUE);
    }

    void SetSilent(bool silent) override {
        std::vector<VARIANT> args{BoolVariant(silent)};
        CallByName(browser_, L"Silent", DISPATCH_PROPERTYPUT, args, nullptr);
    }

    int ReadyState() override {
        std::vector<VARIANT> none;
        ScopedVariant result;
        if (FAILED(CallByName(browser_, L"ReadyState", DISPATCH_PROPERTYGET, none, &result.v))) return 0;
        return IntOfVariant(result.v, 0);
    }

    void Stop() override {
        std::vector<VARIANT> none;
        CallByName(browser_, L"Stop", DISPATCH_METHOD, none, nullptr);
    }

    Text DocumentUrl() override {
        std::vector<VARIANT> none;
        ScopedVariant document;
        if (FAILED(CallByName(browser_, L"Document", DISPATCH_PROPERTYGET, none, &document.v)) ||
            document.v.vt != VT_DISPATCH || !document.v.pdispVal) {
            return {};
        }
        ScopedVariant url;
        if (FAILED(CallByName(document.v.pdispVal, L"url", DISPATCH_PROPERTYGET, none, &url.v)) ||
            url.v.vt != VT_BSTR || !url.v.bstrVal) {
            return {};
        }
        return WideToGbk(url.v.bstrVal);
    }

private:
    HWND hwnd_ = nullptr;
    IDispatch* browser_ = nullptr;
};

}  // namespace

std::unique_ptr<WebBrowserBackend> CreateWebBrowserBackend() { return std::make_unique<AtlBrowser>(); }

}  // namespace qh
