// The web browser on Windows: "Shell.Explorer.2" hosted by ATL's "AtlAxWin"
// window class (atl.dll, AtlAxWinInit by ordinal 42 and AtlAxGetControl by
// ordinal 47) and driven through IDispatch by member name.
// Implements: Create, Close, Navigate and Navigate2 (post data as a byte
// array only when given), Move, Silent, ReadyState, Stop, DocumentUrl.
#include <windows.h>
#include <oaidl.h>
#include <ole2.h>

#include <cstring>
#include <vector>

#include "runtime/bind_import.h"
#include "runtime/win32/system_win32.h"
#include "toolkit/web_browser.h"

namespace qh {
namespace {

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

// A variant released when it goes out of scope.
struct ScopedVariant {
    VARIANT v;
    ScopedVariant() { VariantInit(&v); }
    ~ScopedVariant() { VariantClear(&v); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
};

BSTR ToBstr(const Text& t) { return SysAllocString(GbkToWide(t).c_str()); }

// Calls a member of an automation object by name. Arguments are given in
// their natural order; IDispatch takes them reversed.
HRESULT CallByName(IDispatch* object, const wchar_t* name, WORD kind, std::vector<VARIANT>& arguments,
                   VARIANT* result) {
    if (!object) return E_POINTER;
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    DISPID named = DISPID_PROPERTYPUT;
    if (kind == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, nullptr, nullptr);
}

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
        std::vector<VARIANT> args(5);
        for (auto& a : args) VariantInit(&a);
        args[0].vt = VT_BSTR;
        args[0].bstrVal = ToBstr(url);
        args[1].vt = VT_I4;
        args[1].lVal = flags;
        args[2].vt = VT_BSTR;
        args[2].bstrVal = ToBstr(targetFrame);
        if (hasPostData) {
            // Post data travels as a safe array of bytes.
            SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(postData.size()));
            if (bytes && !postData.empty()) {
                void* data = nullptr;
                SafeArrayAccessData(bytes, &data);
                std::memcpy(data, postData.data(), postData.size());
                SafeArrayUnaccessData(bytes);
            }
            args[3].vt = VT_ARRAY | VT_UI1;
            args[3].parray = bytes;
        }
        args[4].vt = VT_BSTR;
        args[4].bstrVal = ToBstr(headers);
        const std::wstring name = GbkToWide(method);
        const HRESULT hr = CallByName(browser_, name.c_str(), DISPATCH_METHOD, args, nullptr);
        for (auto& a : args) VariantClear(&a);
        return SUCCEEDED(hr);
    }

    void Move(int left, int top, int width, int height) override {
        if (hwnd_) MoveWindow(hwnd_, left, top, width, height, TRUE);
    }

    void SetSilent(bool silent) override {
        std::vector<VARIANT> args(1);
        VariantInit(&args[0]);
        args[0].vt = VT_BOOL;
        args[0].boolVal = silent ? VARIANT_TRUE : VARIANT_FALSE;
        CallByName(browser_, L"Silent", DISPATCH_PROPERTYPUT, args, nullptr);
    }

    int ReadyState() override {
        std::vector<VARIANT> none;
        ScopedVariant result;
        if (FAILED(CallByName(browser_, L"ReadyState", DISPATCH_PROPERTYGET, none, &result.v))) return 0;
        if (FAILED(VariantChangeType(&result.v, &result.v, 0, VT_I4))) return 0;
        return static_cast<int>(result.v.lVal);
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
