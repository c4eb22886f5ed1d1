// Window class, creation, subclassing and the message boundary of the Win32
// host.
#include "toolkit/win32/win32_host.h"

#include <windows.h>
#include <commctrl.h>

#include "runtime/win32/system_win32.h"
#include "toolkit/messages.h"
#include "toolkit/scale.h"
#include "toolkit/win32/win32_accessible.h"
#include "toolkit/win32/win32_host_state.h"

namespace qh::win32 {
namespace {

constexpr wchar_t kClassName[] = L"Ex_DirectUI";
constexpr int kIconResource = 129;

// The class procedure only forwards: the toolkit subclasses each window.
LRESULT CALLBACK ClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HostWindowState* StateFromWindow(HWND hwnd) {
    return static_cast<HostWindowState*>(GetPropW(hwnd, L"qh_host_state"));
}

// Messages the host answers itself, before the toolkit sees them; true when
// handled, with the result in result.
bool HandleHostMessage(HostWindowState& s, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case kRunCallMessage:
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
            result = 1;
            return true;
        case WM_NCCALCSIZE:
            // No non-client area: the toolkit paints the caption and frame.
            if (wParam) {
                result = 0;
                return true;
            }
            return false;
        case WM_NCACTIVATE:
            if (wParam == 0) {
                result = 1;
                return true;
            }
            if (!IsIconic(s.hwnd)) {
                result = 0;
                return true;
            }
            return false;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                ::SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(s.cursor)));
                result = TRUE;
                return true;
            }
            return false;
        case WM_MOUSEMOVE:
            if (!s.trackingLeave) {
                TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, s.hwnd, 0};
                s.trackingLeave = TrackMouseEvent(&track) != 0;
            }
            return false;
        case WM_MOUSELEAVE:
            s.trackingLeave = false;
            return false;
        case WM_DPICHANGED:
            result = DpiChanged(s, wParam, lParam);
            return true;
        case WM_GETOBJECT:
            return AnswerGetObject(s, wParam, lParam, result);
        case kAccessibleActionMessage:
            RunAccessibleAction(s, wParam, lParam);
            result = 0;
            return true;
        default:
            return false;
    }
}

// The toolkit's subclass procedure: the host's own messages first, then the
// toolkit, which falls back to DefaultProc for what it does not consume.
LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    HostWindowState* s = StateFromWindow(hwnd);
    if (!s) return DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    if (HandleHostMessage(*s, message, wParam, lParam, result)) return result;
    if (message == WM_NCDESTROY) {
        WNDPROC previous = s->previous;
        Win32Host* host = s->host;
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropW(hwnd, kWindowProperty);
        RemovePropW(hwnd, L"qh_host_state");
        host->Forget(reinterpret_cast<HostHandle>(hwnd));
        return CallWindowProcW(previous, hwnd, message, wParam, lParam);
    }
    if (DeliverCharacter(*s, message, wParam, lParam, result)) return result;
    if (s->client) {
        // The toolkit works in logical pixels: positions and sizes are
        // converted on the way in, and the size limits it sets on the way out.
        auto* limits = message == WM_GETMINMAXINFO ? reinterpret_cast<MINMAXINFO*>(lParam) : nullptr;
        const float scale = s->scale;
        if (limits != nullptr) ScaleMinMaxInfo(*limits, scale, 1.0f);
        result = static_cast<LRESULT>(s->client->HandleMessage(static_cast<int>(message),
                                                               static_cast<std::intptr_t>(wParam),
                                                               LogicalMessageLParam(*s, message, lParam)));
        if (limits != nullptr) ScaleMinMaxInfo(*limits, 1.0f, scale);
        return result;
    }
    return CallWindowProcW(s->previous, hwnd, message, wParam, lParam);
}

HWND Native(HostHandle window) { return reinterpret_cast<HWND>(window); }

}  // namespace

HostWindowState::~HostWindowState() {
    FreePresentation();
    if (tooltip) ::DestroyWindow(tooltip);
}

void HostWindowState::FreePresentation() {
    if (memoryDc) {
        SelectObject(memoryDc, previousBitmap);
        DeleteDC(memoryDc);
    }
    if (dib) DeleteObject(dib);
    memoryDc = nullptr;
    dib = nullptr;
    dibBits = nullptr;
    dibWidth = dibHeight = 0;
}

Win32Host::Win32Host() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
}

Win32Host::~Win32Host() {
    // Windows still alive keep working without the host's extras.
    for (auto& [handle, state] : windows_) {
        HWND hwnd = Native(handle);
        if (IsWindow(hwnd) && state->previous) {
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(state->previous));
            RemovePropW(hwnd, L"qh_host_state");
            RemovePropW(hwnd, kWindowProperty);
        }
    }
}

HostHandle Win32Host::CreateHostWindow(const HostWindowArgs& args) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::wstring className = GbkToWide(args.className);
    if (!classRegistered_ && className == kClassName) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ClassProc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
        if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(kCursorArrow));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        classRegistered_ = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    // Made at the system's scale; a window that lands on a monitor of
    // another scale takes that one's size below.
    const float systemScale = SystemScale();
    const RectI device = ToDevice(args.rect, systemScale);
    HWND hwnd = CreateWindowExW(args.exStyle, className.c_str(), GbkToWide(args.title).c_str(), args.style,
                                device.left, device.top, device.width, device.height,
                                reinterpret_cast<HWND>(args.owner), nullptr, instance, nullptr);
    if (!hwnd) return 0;
    auto state = std::make_unique<HostWindowState>();
    state->host = this;
    state->hwnd = hwnd;
    state->scale = WindowScale(hwnd);
    if (state->scale != systemScale) {
        SetWindowPos(hwnd, nullptr, 0, 0, ToDevice(args.rect.width, state->scale), ToDevice(args.rect.height, state->scale),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    state->previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    SetPropW(hwnd, L"qh_host_state", state.get());
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc));
    // Layered from the start: every presentation goes through
    // UpdateLayeredWindow, which keeps the skin's per-pixel alpha.
    SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    const HostHandle handle = reinterpret_cast<HostHandle>(hwnd);
    windows_[handle] = std::move(state);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    if (args.show) {
        ::ShowWindow(hwnd, SW_SHOWNORMAL);
        UpdateWindow(hwnd);
    }
    return handle;
}

HostWindowState* Win32Host::StateOf(HostHandle window) {
    const auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second.get();
}

void Win32Host::Forget(HostHandle window) { windows_.erase(window); }

void Win32Host::Attach(HostHandle window, WindowClient* client) {
    HostWindowState* s = StateOf(window);
    if (!s) return;
    s->client = client;
    if (client) {
        SetPropW(s->hwnd, kWindowProperty, client);
    } else {
        RemovePropW(s->hwnd, kWindowProperty);
    }
}

std::intptr_t Win32Host::DefaultProc(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    HostWindowState* s = StateOf(window);
    WNDPROC previous = s ? s->previous : DefWindowProcW;
    return static_cast<std::intptr_t>(CallWindowProcW(previous, Native(window), static_cast<UINT>(message),
                                                      static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)));
}

void Win32Host::PostMessage(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    PostMessageW(Native(window), static_cast<UINT>(message), static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

RectI Win32Host::DeviceWindowRect(HostHandle window) {
    RECT r{};
    if (!GetWindowRect(Native(window), &r)) return {};
    return RectI{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

RectI Win32Host::WindowRect(HostHandle window) { return ToLogical(DeviceWindowRect(window), Scale(window)); }

void Win32Host::MoveWindow(HostHandle window, const RectI& rect) {
    const RectI d = ToDevice(rect, Scale(window));
    ::MoveWindow(Native(window), d.left, d.top, d.width, d.height, TRUE);
}

void Win32Host::ShowWindow(HostHandle window, bool show) {
    ::ShowWindow(Native(window), show ? SW_SHOWNORMAL : SW_HIDE);
}

void Win32Host::SetMaximized(HostHandle window, bool maximized) {
    ::ShowWindow(Native(window), maximized ? SW_MAXIMIZE : SW_RESTORE);
}

bool Win32Host::IsMaximized(HostHandle window) { return IsZoomed(Native(window)) != 0; }
void Win32Host::Minimize(HostHandle window) { ::ShowWindow(Native(window), SW_MINIMIZE); }
void Win32Host::DestroyWindow(HostHandle window) { ::DestroyWindow(Native(window)); }

void Win32Host::SetTitle(HostHandle window, const Text& title) {
    SetWindowTextW(Native(window), GbkToWide(title).c_str());
}

Text Win32Host::Title(HostHandle window) {
    const int length = GetWindowTextLengthW(Native(window));
    std::wstring title(static_cast<size_t>(length) + 1, L'\0');
    const int n = GetWindowTextW(Native(window), title.data(), length + 1);
    title.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return WideToGbk(title);
}

std::uint32_t Win32Host::Style(HostHandle window) {
    return static_cast<std::uint32_t>(GetWindowLongW(Native(window), GWL_STYLE));
}

void Win32Host::SetStyle(HostHandle window, std::uint32_t style) {
    SetWindowLongW(Native(window), GWL_STYLE, static_cast<LONG>(style));
    SetWindowPos(Native(window), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Win32Host::BeginMove(HostHandle window) {
    // Windows runs its own move loop for a press on the caption.
    ::ReleaseCapture();
    SendMessageW(Native(window), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void Win32Host::SetCapture(HostHandle window) { ::SetCapture(Native(window)); }

void Win32Host::ReleaseCapture(HostHandle window) {
    if (GetCapture() == Native(window)) ::ReleaseCapture();
}

void Win32Host::SetFocus(HostHandle window) { ::SetFocus(Native(window)); }
void Win32Host::BringToFront(HostHandle window) { SetForegroundWindow(Native(window)); }
bool Win32Host::IsActive(HostHandle window) { return GetActiveWindow() == Native(window); }

void Win32Host::SetCursor(HostHandle window, int cursorId) {
    HostWindowState* s = StateOf(window);
    if (s) s->cursor = cursorId;
    ::SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(cursorId)));
}

bool Win32Host::KeyPressed(int vk) { return GetKeyState(vk) < 0; }

void Win32Host::StartTimer(HostHandle window, std::uint32_t id, int milliseconds) {
    SetTimer(Native(window), id, static_cast<UINT>(milliseconds), nullptr);
}

void Win32Host::StopTimer(HostHandle window, std::uint32_t id) { KillTimer(Native(window), id); }

void Win32Host::Sleep(int milliseconds) { ::Sleep(static_cast<DWORD>(milliseconds)); }

}  // namespace qh::win32
