// The Win32 host's services beyond one window's drawing: clipboard,
// tooltips, the alert sound, screen metrics, fonts, other programs' windows
// and calls from other threads.
#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include "runtime/win32/system_win32.h"
#include "toolkit/scale.h"
#include "toolkit/win32/win32_host.h"
#include "toolkit/win32/win32_host_state.h"

namespace qh::win32 {
namespace {

HWND Native(HostHandle window) { return reinterpret_cast<HWND>(window); }

// A message to a window of another program waits at most this long, so a
// hung program cannot hang the one that notifies it.
constexpr UINT kNotifyTimeoutMs = 5000;

}  // namespace

bool Win32Host::SetClipboardText(HostHandle window, const Text& text) {
    if (!OpenClipboard(Native(window))) return false;
    EmptyClipboard();
    const std::wstring wide = GbkToWide(text);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    bool done = false;
    if (block) {
        auto* data = static_cast<wchar_t*>(GlobalLock(block));
        wide.copy(data, wide.size());
        data[wide.size()] = L'\0';
        GlobalUnlock(block);
        // The system converts Unicode text for programs that ask for CF_TEXT.
        done = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
        if (!done) GlobalFree(block);
    }
    CloseClipboard();
    return done;
}

Text Win32Host::ClipboardText(HostHandle window) {
    if (!OpenClipboard(Native(window))) return {};
    Text text;
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* data = static_cast<const wchar_t*>(GlobalLock(block))) {
            text = WideToGbk(data);
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return text;
}

bool Win32Host::TrackSystemMenu(HostHandle window, int x, int y, const std::vector<SystemMenuCommand>& commands) {
    HWND hwnd = Native(window);
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (menu == nullptr) return false;
    for (const SystemMenuCommand& c : commands) {
        EnableMenuItem(menu, static_cast<UINT>(c.command), MF_BYCOMMAND | (c.enabled ? MF_ENABLED : MF_GRAYED));
    }
    // The menu closes on a click elsewhere only when its owner is in the
    // foreground. The command comes back here and is posted, so the window
    // gets WM_SYSCOMMAND whichever message the system would have sent.
    SetForegroundWindow(hwnd);
    const int command = static_cast<int>(
        TrackPopupMenu(menu, TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, ToDevice(x, Scale(window)),
                       ToDevice(y, Scale(window)), 0, hwnd, nullptr));
    PostMessageW(hwnd, WM_NULL, 0, 0);
    if (command != 0) PostMessageW(hwnd, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
    return true;
}

void Win32Host::SetCaretRect(HostHandle window, const RectI& caret) {
    // The input method shows its composition window at the caret.
    const HWND hwnd = reinterpret_cast<HWND>(window);
    HIMC context = ImmGetContext(hwnd);
    if (!context) return;
    const RectI device = ToDevice(caret, Scale(window));
    COMPOSITIONFORM form{};
    form.dwStyle = CFS_POINT;
    form.ptCurrentPos = POINT{device.left, device.top};
    ImmSetCompositionWindow(context, &form);
    CANDIDATEFORM candidate{};
    candidate.dwStyle = CFS_CANDIDATEPOS;
    candidate.ptCurrentPos = POINT{device.left, device.top + device.height};
    ImmSetCandidateWindow(context, &candidate);
    ImmReleaseContext(hwnd, context);
}

void Win32Host::Beep(int iconType) {
    // The sound the user chose for message boxes of that icon.
    MessageBeep(static_cast<UINT>(iconType));
}

void Win32Host::ShowTooltip(HostHandle window, const Text& text) {
    HostWindowState* s = StateOf(window);
    if (!s) return;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = s->hwnd;
    tool.uId = 1;
    if (!s->tooltip) {
        if (text.empty()) return;
        s->tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!s->tooltip) return;
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(s->tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(s->tooltip, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    if (text.empty()) {
        SendMessageW(s->tooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    std::wstring wide = GbkToWide(text);
    tool.lpszText = wide.data();
    SendMessageW(s->tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    POINT cursor{};
    GetCursorPos(&cursor);
    SendMessageW(s->tooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(cursor.x + 12, cursor.y + 20));
    SendMessageW(s->tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

// The primary monitor's, in logical pixels at the system's scale.
RectI Win32Host::ScreenRect() {
    return ToLogical(RectI{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, SystemScale());
}

RectI Win32Host::WorkArea() {
    RECT r{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) return ScreenRect();
    return ToLogical(RectI{r.left, r.top, r.right - r.left, r.bottom - r.top}, SystemScale());
}

RectI Win32Host::MaxTrackSize() {
    return ToLogical(RectI{0, 0, GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)}, SystemScale());
}

Text Win32Host::SystemFontFace(int which) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return {};
    const LOGFONTW& font = which == 1 ? metrics.lfMenuFont : which == 3 ? metrics.lfMessageFont : metrics.lfCaptionFont;
    return WideToGbk(font.lfFaceName);
}

int Win32Host::NotifyWindows(const Text& className, const Text& title, int message) {
    const std::wstring wclass = GbkToWide(className);
    const std::wstring wtitle = GbkToWide(title);
    int found = 0;
    HWND after = nullptr;
    while (HWND hwnd = FindWindowExW(nullptr, after, wclass.c_str(), wtitle.c_str())) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(hwnd, static_cast<UINT>(message), 0, 0, SMTO_ABORTIFHUNG, kNotifyTimeoutMs, &answer);
        ++found;
        after = hwnd;
    }
    return found;
}

bool Win32Host::OnWindowThread(HostHandle window) {
    return GetWindowThreadProcessId(Native(window), nullptr) == GetCurrentThreadId();
}

bool Win32Host::RunOnWindowThread(HostHandle window, const std::function<void()>& fn) {
    if (!IsWindow(Native(window))) return false;
    if (OnWindowThread(window)) {
        fn();
        return true;
    }
    // SendMessage runs the call on the window's thread and waits for it; it
    // answers 0 when the window is gone before the call could run.
    return SendMessageW(Native(window), kRunCallMessage, 0, reinterpret_cast<LPARAM>(&fn)) == 1;
}

}  // namespace qh::win32
