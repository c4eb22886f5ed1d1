// The window host: the narrow interface through which the toolkit reaches the
// platform's top-level windows (Win32, X11, or the in-memory headless host).
// A host turns its native input into messages with the Win32 numbers
// (messages.h) and hands them to the window's client at one boundary.
#pragma once

#include <cstdint>
#include <optional>
#include <functional>
#include <vector>

#include "runtime/text.h"
#include "toolkit/accessible.h"
#include "toolkit/bitmap.h"
#include "toolkit/geometry.h"

namespace qh {

// A native top-level window: an HWND on Windows, an X11 window id on Linux.
using HostHandle = std::uintptr_t;

// Receives the messages of one window; the toolkit's window procedure.
class WindowClient {
public:
    virtual ~WindowClient() = default;
    virtual std::intptr_t HandleMessage(int message, std::intptr_t wParam, std::intptr_t lParam) = 0;
};

// The window styles the toolkit reads, with their Win32 values.
constexpr std::uint32_t kStylePopup = 0x80000000u;
constexpr std::uint32_t kStyleSysMenu = 0x80000u;
constexpr std::uint32_t kStyleThickFrame = 0x40000u;
constexpr std::uint32_t kStyleMinimizeBox = 0x20000u;
constexpr std::uint32_t kStyleMaximizeBox = 0x10000u;
constexpr std::uint32_t kStyleClipChildren = 0x2000000u;
constexpr std::uint32_t kDefaultWindowStyle =
    kStylePopup | kStyleSysMenu | kStyleThickFrame | kStyleMinimizeBox | kStyleClipChildren;

struct HostWindowArgs {
    Text title;
    RectI rect;  // screen position and size
    Text className = "Ex_DirectUI";
    std::uint32_t style = kDefaultWindowStyle;
    std::uint32_t exStyle = 0;
    bool show = false;
    // The window that owns this one (a dialog's owner): the owned window
    // stays above it and goes with it. 0 for none.
    HostHandle owner = 0;
};

// The size limits asked for with WM_GETMINMAXINFO (lParam points to one);
// laid out as Win32's MINMAXINFO.
struct MinMaxInfo {
    struct Point { std::int32_t x = 0, y = 0; };
    Point reserved, maxSize, maxPosition, minTrackSize, maxTrackSize;
};

// A command of a window's system menu (a Win32 SC_ number) and whether it
// is available now.
struct SystemMenuCommand {
    int command = 0;
    bool enabled = true;
};

constexpr int kCursorArrow = 32512;
constexpr int kCursorHand = 32649;
constexpr int kCursorIBeam = 32513;

class Host {
public:
    virtual ~Host() = default;

    // 0 when the window cannot be created.
    virtual HostHandle CreateHostWindow(const HostWindowArgs& args) = 0;
    // Routes the window's messages to client (null: back to the host's own
    // handling), the way the toolkit subclasses a window.
    virtual void Attach(HostHandle window, WindowClient* client) = 0;
    // The host's own handling of a message the toolkit does not consume (the
    // previous window procedure). WM_CLOSE destroys the window here.
    virtual std::intptr_t DefaultProc(HostHandle window, int message, std::intptr_t wParam,
                                      std::intptr_t lParam) = 0;
    // Delivers a message to the window on its thread, later.
    virtual void PostMessage(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) = 0;

    virtual RectI WindowRect(HostHandle window) = 0;
    virtual void MoveWindow(HostHandle window, const RectI& rect) = 0;
    virtual void ShowWindow(HostHandle window, bool show) = 0;
    virtual void SetMaximized(HostHandle window, bool maximized) = 0;
    virtual bool IsMaximized(HostHandle window) = 0;
    virtual void Minimize(HostHandle window) = 0;
    virtual void DestroyWindow(HostHandle window) = 0;
    virtual void SetTitle(HostHandle window, const Text& title) = 0;
    virtual Text Title(HostHandle window) = 0;
    virtual std::uint32_t Style(HostHandle window) = 0;
    virtual void SetStyle(HostHandle window, std::uint32_t style) = 0;
    // Starts the system's move of the window with the mouse (caption drag).
    virtual void BeginMove(HostHandle window) = 0;

    // Device pixels per logical pixel of the window (a step of kScaleSteps).
    // Every other coordinate of this interface and of the messages is
    // logical; the host converts at its boundary. A window whose scale
    // changes receives WM_DPICHANGED and then its new (logical) size.
    virtual float Scale(HostHandle) { return 1.0f; }
    // Puts area of image (the window's back buffer, in device pixels) on the
    // screen; alpha 0-255 is a constant opacity for the whole window.
    virtual void Present(HostHandle window, const Bitmap& image, const RectI& area, int alpha) = 0;

    virtual void SetCapture(HostHandle window) = 0;
    virtual void ReleaseCapture(HostHandle window) = 0;
    virtual void SetFocus(HostHandle window) = 0;
    // Raises the window above the others and makes it the active one (the
    // calculator keeps its main window in front of its results window).
    virtual void BringToFront(HostHandle window) = 0;
    virtual bool IsActive(HostHandle window) = 0;
    virtual void SetCursor(HostHandle window, int cursorId) = 0;
    // Whether a key (virtual-key number) is held down now.
    virtual bool KeyPressed(int vk) = 0;
    virtual void StartTimer(HostHandle window, std::uint32_t id, int milliseconds) = 0;
    virtual void StopTimer(HostHandle window, std::uint32_t id) = 0;
    virtual bool SetClipboardText(HostHandle window, const Text& text) = 0;
    virtual Text ClipboardText(HostHandle window) = 0;
    // Shows text as a tooltip near the mouse; an empty text hides it.
    virtual void ShowTooltip(HostHandle window, const Text& text) = 0;
    // Plays the system's alert sound for a message box with that icon (a
    // Win32 MB_ICON number, 0 for the default sound) as the box opens.
    virtual void Beep(int iconType) = 0;
    // Shows the system's own menu of the window at a screen point, with the
    // commands available as given, and returns when it has closed; a chosen
    // command reaches the window as WM_SYSCOMMAND, posted. False when the
    // host has no such menu: the toolkit then draws its own in the window.
    virtual bool TrackSystemMenu(HostHandle, int /*x*/, int /*y*/, const std::vector<SystemMenuCommand>&) {
        return false;
    }
    // Asks where to save a file with the system's own save dialog, owned by
    // the window and suggesting a name: the path chosen, nullopt when the
    // user cancelled, or an empty text when the host has no such dialog (the
    // caller then saves into the user's documents folder and says where).
    virtual std::optional<Text> ChooseSaveFile(HostHandle, const Text& /*title*/, const Text& /*suggestedName*/) {
        return Text();
    }
    // Whether a screen reader (or a test's client) reads the window's
    // accessibility tree, so that the window reports its changes.
    virtual bool AccessibilityActive(HostHandle) { return false; }
    // A change to an object of the window's tree (id 0: the window itself),
    // for the host to pass on to screen readers.
    virtual void AccessibleChanged(HostHandle, AccEvent, int /*id*/) {}
    // Where the focused edit's caret is (window coordinates), so that an
    // input method puts its composition window beside it.
    virtual void SetCaretRect(HostHandle window, const RectI& caret) = 0;

    virtual RectI ScreenRect() = 0;
    virtual RectI WorkArea() = 0;
    // The largest size a window may be tracked to (the back buffers' size).
    virtual RectI MaxTrackSize() = 0;
    // Face of a system font: 1 menu, 2 caption, 3 message; empty if unknown.
    virtual Text SystemFontFace(int which) = 0;

    // Sends message to every top-level window of that class and title, in
    // this or another process; returns how many were found.
    virtual int NotifyWindows(const Text& className, const Text& title, int message) = 0;

    // Whether the calling thread is the one that owns the window.
    virtual bool OnWindowThread(HostHandle window) = 0;
    // Carries fn out on the window's thread and waits for it; runs it at once
    // on that thread. False when the window went away before it could run.
    virtual bool RunOnWindowThread(HostHandle window, const std::function<void()>& fn) = 0;
    // The wait between animation frames (the headless host advances its clock).
    virtual void Sleep(int milliseconds) = 0;
};

}  // namespace qh
