// The Win32 window host.
// Implements: the "Ex_DirectUI" window class (CS_DBLCLKS, icon resource 129),
// top-level window creation, subclassing with the "addr_wnd" property, native
// messages passed through to the toolkit unchanged (they already carry the
// Win32 numbers) except characters, which arrive as UTF-16 and reach the
// toolkit as GBK bytes, no non-client area (WM_NCCALCSIZE), mouse-leave tracking,
// cursors through WM_SETCURSOR, presentation of the back buffer through a
// 32-bit DIB section and UpdateLayeredWindow at a constant alpha, caption
// dragging through WM_NCLBUTTONDOWN(HTCAPTION), capture, focus, timers, the
// clipboard (Unicode text), a tracking "tooltips_class32" tooltip, screen and
// work-area metrics, per-monitor DPI scaling (win32_host_dpi.cpp: device
// pixels here, logical ones in the toolkit; WM_DPICHANGED), the window's
// system menu, the save dialog
// (GetSaveFileNameW, win32_save_dialog.cpp), NotifyWindows through FindWindowExW and SendMessage,
// calls from other threads carried out on the window's thread, and MSAA
// (win32_host_accessible.cpp, win32_accessible*.cpp): WM_GETOBJECT answered
// with an IAccessible object, changes raised with NotifyWinEvent.
#pragma once

#include <map>
#include <memory>

#include "toolkit/host.h"

namespace qh::win32 {

// Per-window state of the host; the Windows types stay in the .cpp files.
struct HostWindowState;

class Win32Host : public Host {
public:
    Win32Host();
    ~Win32Host() override;

    HostHandle CreateHostWindow(const HostWindowArgs& args) override;
    void Attach(HostHandle window, WindowClient* client) override;
    std::intptr_t DefaultProc(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) override;
    void PostMessage(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) override;
    RectI WindowRect(HostHandle window) override;
    void MoveWindow(HostHandle window, const RectI& rect) override;
    void ShowWindow(HostHandle window, bool show) override;
    void SetMaximized(HostHandle window, bool maximized) override;
    bool IsMaximized(HostHandle window) override;
    void Minimize(HostHandle window) override;
    void DestroyWindow(HostHandle window) override;
    void SetTitle(HostHandle window, const Text& title) override;
    Text Title(HostHandle window) override;
    std::uint32_t Style(HostHandle window) override;
    void SetStyle(HostHandle window, std::uint32_t style) override;
    void BeginMove(HostHandle window) override;
    void Present(HostHandle window, const Bitmap& image, const RectI& area, int alpha) override;
    void SetCapture(HostHandle window) override;
    void ReleaseCapture(HostHandle window) override;
    void SetFocus(HostHandle window) override;
    void BringToFront(HostHandle window) override;
    bool IsActive(HostHandle window) override;
    void SetCursor(HostHandle window, int cursorId) override;
    bool KeyPressed(int vk) override;
    void StartTimer(HostHandle window, std::uint32_t id, int milliseconds) override;
    void StopTimer(HostHandle window, std::uint32_t id) override;
    bool SetClipboardText(HostHandle window, const Text& text) override;
    Text ClipboardText(HostHandle window) override;
    void ShowTooltip(HostHandle window, const Text& text) override;
    float Scale(HostHandle window) override;
    void Beep(int iconType) override;
    // The window's own system menu (GetSystemMenu), its items enabled as
    // given, through TrackPopupMenu; the choice is posted as WM_SYSCOMMAND.
    bool TrackSystemMenu(HostHandle window, int x, int y, const std::vector<SystemMenuCommand>& commands) override;
    std::optional<Text> ChooseSaveFile(HostHandle window, const Text& title, const Text& suggestedName) override;
    // A reader has asked for the window's object, or listens to the focus.
    bool AccessibilityActive(HostHandle window) override;
    // NotifyWinEvent for the client area (OBJID_CLIENT) or one of its children.
    void AccessibleChanged(HostHandle window, AccEvent event, int id) override;
    void SetCaretRect(HostHandle window, const RectI& caret) override;
    RectI ScreenRect() override;
    RectI WorkArea() override;
    RectI MaxTrackSize() override;
    Text SystemFontFace(int which) override;
    int NotifyWindows(const Text& className, const Text& title, int message) override;
    bool OnWindowThread(HostHandle window) override;
    bool RunOnWindowThread(HostHandle window, const std::function<void()>& fn) override;
    void Sleep(int milliseconds) override;

    // The state of a window this host made or attached; null otherwise.
    HostWindowState* StateOf(HostHandle window);
    // Forgets a window's state when it is destroyed.
    void Forget(HostHandle window);

    // The last image presented for a window (what the screen shows), for the
    // tests and the UI driver; empty when nothing was presented.
    const Bitmap& Screen(HostHandle window);

private:
    // The window's rectangle on the screen in device pixels.
    RectI DeviceWindowRect(HostHandle window);

    std::map<HostHandle, std::unique_ptr<HostWindowState>> windows_;
    bool classRegistered_ = false;
};

}  // namespace qh::win32
