// The X11 host (Xlib).
// Implements: top-level windows with WM_CLASS "Ex_DirectUI" and a UTF-8
// title, no decorations, move / size / show / maximize / minimize, WM_CLOSE
// from the window manager, presentation with XPutImage and a constant
// opacity through _NET_WM_WINDOW_OPACITY (on a 32-bit ARGB visual where a
// compositor runs, so the skin's own alpha shows too), mouse (double clicks
// detected here; the wheel in screen coordinates), keyboard with Win32 key
// numbers, focus in / out as WM_ACTIVATE, pointer grab as capture, cursors,
// timers, posted messages and calls from other threads (woken through a
// pipe), the CLIPBOARD selection as UTF8_STRING (x11_clipboard.cpp),
// tooltips in an override-redirect window (x11_tooltip.cpp), screen and work
// area, NotifyWindows through a ClientMessage.
// Not yet: caption drag without a window manager.
#pragma once

#include <X11/Xlib.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "toolkit/host.h"

namespace qh::x11 {

class X11Host : public Host {
public:
    // Opens the display named by $DISPLAY; Ok() is false when there is none.
    X11Host();
    ~X11Host() override;
    bool Ok() const { return display_ != nullptr; }

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
    bool IsActive(HostHandle window) override;
    void SetCursor(HostHandle window, int cursorId) override;
    bool KeyPressed(int vk) override;
    void StartTimer(HostHandle window, std::uint32_t id, int milliseconds) override;
    void StopTimer(HostHandle window, std::uint32_t id) override;
    bool SetClipboardText(HostHandle window, const Text& text) override;
    Text ClipboardText(HostHandle window) override;
    void ShowTooltip(HostHandle window, const Text& text) override;
    void SetCaretRect(HostHandle window, const RectI& caret) override;
    RectI ScreenRect() override;
    RectI WorkArea() override;
    RectI MaxTrackSize() override;
    Text SystemFontFace(int which) override;
    int NotifyWindows(const Text& className, const Text& title, int message) override;
    bool OnWindowThread(HostHandle window) override;
    bool RunOnWindowThread(HostHandle window, const std::function<void()>& fn) override;
    void Sleep(int milliseconds) override;

    // The tooltip window, or 0 while none was shown (for tests).
    HostHandle TooltipWindow() const { return tooltipWindow_; }

    // Runs the message loop until Quit; returns the exit code given to Quit.
    int RunLoop();
    void Quit(int code);

    struct WindowState;
    struct Call;

private:
    WindowState* Find(HostHandle window);
    std::intptr_t Send(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam);
    void Dispatch(XEvent& e);
    void RunTimers();
    void RunQueued();
    int MillisecondsToNextTimer();
    long long NowMs() const;
    bool CompositorRunning();
    void InternClipboardAtoms();
    void ServeSelection(const XSelectionRequestEvent& request);
    void LoseSelection(const XSelectionClearEvent& clear);
    void HideTooltip();

    Display* display_ = nullptr;
    int screen_ = 0;
    Atom wmDelete_ = 0, wmProtocols_ = 0, toolkitMessage_ = 0, netWmName_ = 0, utf8_ = 0, opacity_ = 0;
    std::thread::id owner_;
    std::map<HostHandle, WindowState*> windows_;
    Text clipboard_;
    Atom clipboardAtom_ = 0, targetsAtom_ = 0, clipProperty_ = 0;
    HostHandle clipboardOwner_ = 0;  // our window that owns CLIPBOARD, or 0
    Text tooltip_;
    ::Window tooltipWindow_ = 0;
    GC tooltipGc_ = nullptr;
    bool quit_ = false;
    int exitCode_ = 0;
    int wakeRead_ = -1, wakeWrite_ = -1;

    std::mutex mutex_;
    std::condition_variable done_;
    struct Posted {
        HostHandle window;
        int message;
        std::intptr_t wParam, lParam;
    };
    std::deque<Posted> posted_;
    std::deque<Call*> calls_;
};

}  // namespace qh::x11
