// The headless host: windows that live in memory.
// Implements: window creation, move / size / show / maximize / minimize,
// WM_CLOSE and WM_DESTROY, posted messages, capture, focus, cursors, timers
// on a clock the caller advances, clipboard text, tooltips, alert sounds
// (recorded, not played), accessibility reports (recorded), screen and work
// area, a display scale (windows and input logical, screens in device
// pixels), NotifyWindows among its own
// windows, calls from other threads carried out when the window's thread
// pumps, and every presentation kept as an image.
// Input is injected by the caller as Win32-numbered messages. The window
// records, timers, queues and the system's default handling are the shared
// emulated bookkeeping (toolkit/emulated), which the X11 host uses too.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "toolkit/emulated/emulated_windows.h"
#include "toolkit/host.h"
#include "toolkit/injected_input.h"

namespace qh::headless {

class HeadlessHost : public Host, public InjectedInput<HeadlessHost> {
public:
    struct Presentation {
        HostHandle window = 0;
        RectI area;
        int alpha = 255;
        Bitmap image;  // the window as it was on the screen after this presentation
    };

    explicit HeadlessHost(RectI screen = RectI{0, 0, 1280, 800}, RectI workArea = RectI{0, 0, 1280, 760});

    // --- Host ---
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
    float Scale(HostHandle window) override;
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
    void Beep(int iconType) override;
    void SetCaretRect(HostHandle window, const RectI& caret) override;
    bool AccessibilityActive(HostHandle) override { return accessibilityActive_; }
    void AccessibleChanged(HostHandle window, AccEvent event, int id) override {
        accessibleEvents_.push_back({window, event, id});
    }
    RectI ScreenRect() override { return screen_; }
    RectI WorkArea() override { return work_; }
    RectI MaxTrackSize() override { return RectI{0, 0, screen_.width + 12, screen_.height + 12}; }
    Text SystemFontFace(int which) override;
    int NotifyWindows(const Text& className, const Text& title, int message) override;
    bool OnWindowThread(HostHandle window) override;
    bool RunOnWindowThread(HostHandle window, const std::function<void()>& fn) override;
    void Sleep(int milliseconds) override { AdvanceClock(milliseconds); }

    // --- driving the host ---
    // Delivers a message now, as the system would (to the toolkit when attached).
    std::intptr_t Send(HostHandle window, int message, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    // MouseMove, MouseDown, MouseUp, Click, DoubleClick and TypeKey come
    // from InjectedInput.
    void HoldKey(int vk, bool down);
    // The scale of the windows created from now on (uidriver --scale).
    void SetScale(float scale) { scale_ = scale; }
    // Moves a window to a screen of another scale, as a move between
    // monitors does: WM_DPICHANGED, then its size again.
    void ChangeScale(HostHandle window, float scale);
    // Moves the clock on, firing the timers that fall due (in order).
    void AdvanceClock(int milliseconds);
    long long Now() const { return now_; }
    // Runs posted messages and calls from other threads; returns how many ran.
    int ProcessPending();
    // Pumps until pred() holds or the host has nothing more to do for a while.
    bool PumpUntil(const std::function<bool()>& pred, int maxRounds = 100000);

    bool Exists(HostHandle window) const;
    bool Visible(HostHandle window) const;
    bool Captured(HostHandle window) const { return windows_.Captured(window); }
    int Cursor() const { return cursor_; }
    Text Tooltip() const { return tooltip_; }
    // The alert sounds asked for, oldest first (their icon types): the host
    // plays none.
    const std::vector<int>& Beeps() const { return beeps_; }
    int MoveRequests() const { return moveRequests_; }
    const std::vector<Presentation>& Presentations() const { return presentations_; }
    void ClearPresentations() { presentations_.clear(); }
    // What the window shows now, in device pixels (empty when it was never
    // presented).
    const Bitmap& Screen(HostHandle window) const;
    // As if a screen reader listened: the windows report their changes,
    // which are kept in order.
    struct AccessibleReport {
        HostHandle window = 0;
        AccEvent event = AccEvent::kFocus;
        int id = 0;
    };
    void SetAccessibilityActive(bool active) { accessibilityActive_ = active; }
    const std::vector<AccessibleReport>& AccessibleReports() const { return accessibleEvents_; }
    void ClearAccessibleReports() { accessibleEvents_.clear(); }
    // The caret rectangle the toolkit last gave for the window.
    RectI CaretRect(HostHandle window) const;

private:
    RectI screen_, work_;
    emulated::EmulatedWindows windows_{*this};
    std::map<HostHandle, Bitmap> screens_;  // what each window shows
    float scale_ = 1.0f;
    std::map<HostHandle, float> scales_;    // each window's, from its creation
    HostHandle nextHandle_ = 0x100;
    int cursor_ = kCursorArrow;
    Text tooltip_;
    std::vector<int> beeps_;
    Text clipboard_;
    int moveRequests_ = 0;
    long long now_ = 0;
    std::map<int, bool> keys_;
    std::vector<Presentation> presentations_;
    bool accessibilityActive_ = false;
    std::vector<AccessibleReport> accessibleEvents_;
    Bitmap empty_;
};

}  // namespace qh::headless
