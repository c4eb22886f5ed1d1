// The X11 host (Xlib).
// Implements: top-level windows with WM_CLASS "Ex_DirectUI" and a UTF-8
// title, no decorations, move / size / show / maximize / minimize,
// presentation with XPutImage and a constant opacity through
// _NET_WM_WINDOW_OPACITY (on a 32-bit ARGB visual where a compositor runs, so
// the skin's own alpha shows too), mouse (double clicks detected here; the
// wheel in screen coordinates), keyboard with Win32 key numbers, characters
// as GBK bytes through an X input method (x11_input.cpp), focus in / out as
// WM_ACTIVATE, pointer grab as capture, cursors, the CLIPBOARD selection as
// UTF8_STRING (x11_clipboard.cpp), tooltips in an override-redirect window
// (x11_tooltip.cpp), a display scale from QINGHE_SCALE, Xft.dpi or GDK_SCALE
// (the toolkit's coordinates logical, the server's in device pixels,
// converted here), the desktop's save dialog through zenity or kdialog
// (x11_save_dialog.cpp), screen and work area, NotifyWindows through a
// ClientMessage (x11_notify.cpp), and X errors recorded instead of ending the
// process (x11_errors.cpp), and the accessibility tree on the AT-SPI bus
// through ATK when a reader's bus is there (x11_accessible*.cpp; GLib's
// descriptors then join the loop's wait).
// The window records, timers, posted messages, calls from other threads (the
// loop is woken through a pipe) and the system's default handling (WM_CLOSE,
// system commands, WM_GETMINMAXINFO before a resize) are the shared emulated
// bookkeeping (toolkit/emulated), as in the headless host.
// Not yet: caption drag without a window manager.
#pragma once

#include <X11/Xlib.h>

#include <map>
#include <memory>
#include <string>

#include "toolkit/emulated/emulated_windows.h"
#include "toolkit/host.h"
#include "toolkit/scale.h"

namespace qh::x11 {

class AccessibilityBridge;

class X11Host : public Host {
public:
    // Opens the display named by $DISPLAY; Ok() is false when there is none.
    X11Host();
    ~X11Host() override;
    X11Host(const X11Host&) = delete;
    X11Host& operator=(const X11Host&) = delete;
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
    float Scale(HostHandle) override { return scale_; }
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
    std::optional<Text> ChooseSaveFile(HostHandle window, const Text& title, const Text& suggestedName) override;
    void Beep(int iconType) override;
    void SetCaretRect(HostHandle window, const RectI& caret) override;
    bool AccessibilityActive(HostHandle) override { return accessibility_ != nullptr; }
    void AccessibleChanged(HostHandle window, AccEvent event, int id) override;
    RectI ScreenRect() override;
    RectI WorkArea() override;
    RectI MaxTrackSize() override;
    Text SystemFontFace(int which) override;
    int NotifyWindows(const Text& className, const Text& title, int message) override;
    bool OnWindowThread(HostHandle window) override;
    bool RunOnWindowThread(HostHandle window, const std::function<void()>& fn) override;
    void Sleep(int milliseconds) override;

    // Runs the message loop until Quit; returns the exit code given to Quit.
    int RunLoop();
    // The same loop, for a modal box: until window is gone or Quit is called
    // (which then ends RunLoop too).
    void RunLoopWhileExists(HostHandle window);
    void Quit(int code);
    // One round of the loop without waiting and without timers: the messages
    // posted and calls queued so far, then every X event already sent to this
    // client (after the server has answered all requests made so far).
    // Returns how many were handled.
    int ProcessQueued();

    // The tooltip window, or 0 while none was shown (for tests).
    HostHandle TooltipWindow() const { return tooltipWindow_; }
    // How many X errors this connection has met (they are recorded, not fatal).
    int XErrors() const;
    // Whether the window has an input context of the X input method.
    bool HasInputContext(HostHandle window);

    struct WindowState;
    struct ErrorLog;

protected:
    // The clock of the timers, in milliseconds; a test host gives its own.
    virtual long long Clock() const;
    emulated::EmulatedWindows& Windows() { return windows_; }
    const emulated::EmulatedWindows& Windows() const { return windows_; }
    Display* XDisplay() const { return display_; }

private:
    WindowState* Native(HostHandle window);
    // Serves events, posted messages and timers while keepGoing answers
    // true and Quit has not been called.
    void RunEvents(const std::function<bool()>& keepGoing);
    void Dispatch(XEvent& e);
    void Configured(HostHandle window, const XConfigureEvent& c);
    // Whether a window manager has made the window an icon (WM_STATE).
    bool Iconic(HostHandle window);
    void DeliverClientMessage(HostHandle window, const XClientMessageEvent& e);
    void Wake();
    bool CompositorRunning();
    void UpdateSizeHints(HostHandle window);
    void SetOpacity(WindowState& w, HostHandle window, int alpha);
    // Keyboard and input method (x11_input.cpp).
    void ChooseCharacterLocale();
    void OpenInputMethod();
    bool TakenByInputMethod(XEvent& e);
    void CloseInputMethod();
    void CreateInputContext(HostHandle window, WindowState& state);
    void Key(HostHandle window, XKeyEvent& key);
    void SendCharacters(HostHandle window, const std::string& utf8);
    void InternAtoms();
    // Clipboard and tooltip.
    void ServeSelection(const XSelectionRequestEvent& request);
    void LoseSelection(const XSelectionClearEvent& clear);
    void HideTooltip();
    // X errors (x11_errors.cpp).
    void InstallErrorHandler();
    void RemoveErrorHandler();
    // Makes sure the server has handled every request so far; returns the
    // errors met until then, so that a caller can tell whether its requests failed.
    int SyncErrors();

    Display* display_ = nullptr;
    int screen_ = 0;
    float scale_ = 1.0f;  // one for the display: X has one Xft.dpi
    // Server (device) positions and sizes to the toolkit's logical ones.
    int Logical(int device) const;
    RectI DeviceScreen();
    Atom wmDelete_ = 0, wmProtocols_ = 0, toolkitMessage_ = 0, netWmName_ = 0, utf8_ = 0, opacity_ = 0,
         motifHints_ = 0;
    emulated::EmulatedWindows windows_;
    std::map<HostHandle, WindowState*> native_;
    XIM inputMethod_ = nullptr;
    // The input method is opened once, after the first frame is on screen.
    bool inputMethodOpened_ = false;
    // For the start-up trace: whether a frame reached a mapped window yet.
    bool firstFramePresented_ = false;
    std::unique_ptr<ErrorLog> errors_;
    Text clipboard_;
    Atom clipboardAtom_ = 0, targetsAtom_ = 0, clipProperty_ = 0;
    HostHandle clipboardOwner_ = 0;  // our window that owns CLIPBOARD, or 0
    Text tooltip_;
    ::Window tooltipWindow_ = 0;
    GC tooltipGc_ = nullptr;
    bool quit_ = false;
    int exitCode_ = 0;
    int wakeRead_ = -1, wakeWrite_ = -1;
    // Running while a reader's bus is there; null otherwise.
    std::unique_ptr<AccessibilityBridge> accessibility_;
};

}  // namespace qh::x11
