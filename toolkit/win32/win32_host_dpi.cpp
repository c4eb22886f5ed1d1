// Display scale of the Win32 host. The programs declare per-monitor DPI
// awareness (v2) in their manifests, so Windows draws nothing of ours as a
// stretched bitmap: each window takes its monitor's DPI, and the host turns
// the system's device pixels into the toolkit's logical ones (96 DPI) at its
// boundary. GetDpiForWindow and GetDpiForSystem are Windows 10 (1607) and
// later, bound at run time; older systems give the system DPI of the screen.
#include <windows.h>
#include <windowsx.h>

#include "runtime/bind_import.h"
#include "toolkit/messages.h"
#include "toolkit/scale.h"
#include "toolkit/win32/win32_host.h"
#include "toolkit/win32/win32_host_state.h"

namespace qh::win32 {
namespace {

using DpiForWindowFn = UINT(WINAPI*)(HWND);
using DpiForSystemFn = UINT(WINAPI*)();

UINT ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kLogicalDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kLogicalDpi;
}

POINT LogicalPoint(LPARAM lParam, float scale) {
    return POINT{ToLogical(GET_X_LPARAM(lParam), scale), ToLogical(GET_Y_LPARAM(lParam), scale)};
}

}  // namespace

float SystemScale() {
    static const BindResult bound = TryBindImport("user32.dll", "GetDpiForSystem");
    const UINT dpi = bound.address ? reinterpret_cast<DpiForSystemFn>(bound.address)() : ScreenDpi();
    return ScaleOfDpi(dpi);
}

float WindowScale(HWND hwnd) {
    static const BindResult bound = TryBindImport("user32.dll", "GetDpiForWindow");
    const UINT dpi = bound.address ? reinterpret_cast<DpiForWindowFn>(bound.address)(hwnd) : 0;
    return dpi > 0 ? ScaleOfDpi(dpi) : SystemScale();
}

LPARAM LogicalMessageLParam(const HostWindowState& s, UINT message, LPARAM lParam) {
    if (s.scale == 1.0f) return lParam;
    switch (message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MOUSEWHEEL: {  // client coordinates, or the screen's for the wheel
            const POINT p = LogicalPoint(lParam, s.scale);
            return static_cast<LPARAM>(MakeLParam(p.x, p.y));
        }
        case WM_SIZE: {
            const int width = static_cast<int>(LOWORD(lParam)), height = static_cast<int>(HIWORD(lParam));
            const RectI logical = ToLogical(RectI{0, 0, width, height}, s.scale);
            return static_cast<LPARAM>(MakeLParam(logical.width, logical.height));
        }
        default:
            return lParam;
    }
}

void ScaleMinMaxInfo(MINMAXINFO& info, float from, float to) {
    for (POINT* p : {&info.ptMaxSize, &info.ptMaxPosition, &info.ptMinTrackSize, &info.ptMaxTrackSize}) {
        p->x = static_cast<LONG>(p->x / from * to + 0.5f);
        p->y = static_cast<LONG>(p->y / from * to + 0.5f);
    }
}

// WM_DPICHANGED: the toolkit redraws at the new scale, then the window takes
// the rectangle Windows suggests (its size at the new DPI on the new monitor).
LRESULT DpiChanged(HostWindowState& s, WPARAM wParam, LPARAM lParam) {
    s.scale = ScaleOfDpi(LOWORD(wParam));
    if (s.client) s.client->HandleMessage(msg::kDpiChanged, static_cast<std::intptr_t>(wParam), 0);
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    if (suggested != nullptr) {
        SetWindowPos(s.hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return 0;
}

float Win32Host::Scale(HostHandle window) {
    HostWindowState* s = StateOf(window);
    return s ? s->scale : SystemScale();
}

}  // namespace qh::win32
