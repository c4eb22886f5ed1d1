#include "runtime/win32/desktop_shell.h"

#include <windows.h>
#include <shellapi.h>
#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlobj.h>

#include <vector>

#include "runtime/win32/automation.h"
#include "runtime/win32/system_win32.h"

namespace qh {
namespace {

// The service a shell window answers with its IShellBrowser
// (SID_STopLevelBrowser, which the compiler's headers do not define).
constexpr GUID kTopLevelBrowser = {0x4C96BE40, 0x915C, 0x11CF, {0x99, 0xD3, 0x00, 0xAA, 0x00, 0x4A, 0xE8, 0x37}};

// An interface pointer released when it goes out of scope.
template <class T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() {
        if (p_ != nullptr) p_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    T** Out() { return &p_; }
    void** OutVoid() { return reinterpret_cast<void**>(&p_); }

private:
    T* p_ = nullptr;
};

// The view of the desktop window: the list of shell windows finds the
// desktop, whose top-level browser gives its active view.
bool DesktopView(ComRef<IShellView>& view) {
    // No shell window: Explorer does not run in this session, and asking
    // COM for the shell's window list might start a shell with our rights.
    if (GetShellWindow() == nullptr) return false;
    ComRef<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                windows.OutVoid()))) {
        return false;
    }
    ScopedVariant location;
    ScopedVariant root;
    LONG window = 0;
    ComRef<IDispatch> desktop;
    // S_FALSE, with no object, when there is no desktop window.
    if (windows->FindWindowSW(&location.v, &root.v, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, desktop.Out()) !=
            S_OK ||
        desktop.get() == nullptr) {
        return false;
    }
    ComRef<IServiceProvider> services;
    ComRef<IShellBrowser> browser;
    return SUCCEEDED(desktop->QueryInterface(IID_IServiceProvider, services.OutVoid())) &&
           SUCCEEDED(services->QueryService(kTopLevelBrowser, IID_IShellBrowser, browser.OutVoid())) &&
           SUCCEEDED(browser->QueryActiveShellView(view.Out())) && view.get() != nullptr;
}

// The shell's automation object, reached from the desktop view's background.
bool DesktopShellDispatch(ComRef<IShellDispatch2>& shell) {
    ComRef<IShellView> view;
    if (!DesktopView(view)) return false;
    ComRef<IDispatch> background;
    ComRef<IShellFolderViewDual> folderView;
    ComRef<IDispatch> application;
    return SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.OutVoid())) &&
           SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folderView.OutVoid())) &&
           SUCCEEDED(folderView->get_Application(application.Out())) && application.get() != nullptr &&
           SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, shell.OutVoid()));
}

}  // namespace

bool StartThroughDesktopShell(const Text& program, const Text& parameters) {
    // The shell reports a program it cannot find only to the user, later,
    // in a box of its own: a missing one is answered here.
    if (GetFileAttributesW(GbkToWide(program).c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    ComScope com;
    ComRef<IShellDispatch2> shell;
    if (!DesktopShellDispatch(shell)) return false;
    std::vector<VARIANT> values = {TextVariant(program), TextVariant(parameters), TextVariant(Text()),
                                   TextVariant("open"), IntVariant(SW_SHOWNORMAL)};
    const HRESULT hr = shell->ShellExecute(values[0].bstrVal, values[1], values[2], values[3], values[4]);
    ClearVariants(values);
    return hr == S_OK;
}

}  // namespace qh
