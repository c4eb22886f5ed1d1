// The bookkeeping of windows that a host emulates rather than gets from the
// system (the headless and X11 hosts): one record per window, the timer
// schedule, the active and captured window, the queue of posted messages and
// cross-thread calls, and the default handling the system gives a real Win32
// window (WM_CLOSE, the system commands, the size limits asked for with
// WM_GETMINMAXINFO). The host keeps only what is native to it and carries
// out the native side of each operation; the default handling calls back
// into the host's own operations (Minimize, SetMaximized, MoveWindow,
// DestroyWindow), so both hosts act alike.
// The records belong to the thread that runs the windows; only the call
// queue is touched by other threads.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <thread>
#include <vector>

#include "toolkit/emulated/call_queue.h"
#include "toolkit/host.h"

namespace qh::emulated {

struct Timer {
    int interval = 0;
    long long due = 0;  // on the host's clock, in milliseconds
};

struct WindowRecord {
    Text className;
    Text title;
    RectI rect;      // screen position and size
    RectI restored;  // where the window goes back to from maximized
    std::uint32_t style = 0;
    bool visible = false;
    bool maximized = false;
    bool minimized = false;
    bool destroying = false;  // WM_DESTROY is on its way
    WindowClient* client = nullptr;
    std::thread::id owner;
    std::map<std::uint32_t, Timer> timers;
    RectI caret;  // the focused edit's caret, where an input method shows its window
};

class EmulatedWindows {
public:
    struct DueTimer {
        HostHandle window = 0;
        std::uint32_t id = 0;
        long long due = 0;
    };

    // host: the host whose windows these are. wake: see CallQueue.
    explicit EmulatedWindows(Host& host, std::function<void()> wake = {});
    EmulatedWindows(const EmulatedWindows&) = delete;
    EmulatedWindows& operator=(const EmulatedWindows&) = delete;

    // --- records ---
    // A new window, owned by the calling thread; hidden until shown.
    void Add(HostHandle window, const HostWindowArgs& args);
    WindowRecord* Find(HostHandle window);
    const WindowRecord* Find(HostHandle window) const;
    std::vector<HostHandle> Handles() const;
    // Sends WM_DESTROY, then forgets the window: its timers stop, calls
    // waiting for it fail, and it is neither active nor captured any more.
    // False when the window is unknown or already being destroyed (a
    // destroy from within WM_DESTROY); the host then leaves its native
    // window alone.
    bool Destroy(HostHandle window);
    void Attach(HostHandle window, WindowClient* client);

    // --- messages ---
    // Delivers a message now: to the client when attached, else to the
    // default handling. 0 for an unknown window.
    std::intptr_t Send(HostHandle window, int message, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    // What the system does with a message the window does not consume.
    std::intptr_t DefaultProc(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam);

    // --- geometry and state ---
    // The window's size limits: the system's defaults, then the client's
    // answer to WM_GETMINMAXINFO.
    MinMaxInfo Limits(HostHandle window);
    // rect with its size held within the limits, which are asked for when
    // the size differs from the window's.
    RectI Constrain(HostHandle window, const RectI& rect);
    // Records where the window now is and tells the client what changed:
    // WM_MOVE, then WM_SIZE. Returns whether the size changed.
    bool Place(HostHandle window, const RectI& rect);
    // The rect a maximize or a restore moves the window to, with the state
    // recorded; nothing when the window already is in that state. The host
    // then moves the window there.
    std::optional<RectI> Maximize(HostHandle window, bool maximized);
    // Shown or hidden; showing brings a minimized window back and, unless
    // the system showed it on its own (activate false), activates it.
    void SetShown(HostHandle window, bool shown, bool activate = true);
    void SetMinimized(HostHandle window);
    bool Visible(HostHandle window) const;
    bool Maximized(HostHandle window) const;

    // --- focus and capture ---
    void SetActive(HostHandle window);
    // The window lost the focus (only when it still was the active one).
    void Deactivate(HostHandle window);
    bool IsActive(HostHandle window) const { return window != 0 && active_ == window; }
    void SetCapture(HostHandle window);
    void ReleaseCapture(HostHandle window);
    bool Captured(HostHandle window) const { return window != 0 && capture_ == window; }

    // --- timers, on a clock the host gives ---
    void StartTimer(HostHandle window, std::uint32_t id, int milliseconds, long long now);
    void StopTimer(HostHandle window, std::uint32_t id);
    // When the next timer falls due; nothing when no timer runs.
    std::optional<long long> NextDue() const;
    // Sends WM_TIMER for every timer due up to until, earliest first. Each
    // fired timer falls due again an interval later: on a clock the test
    // advances that is an interval after it was due, so a long step fires
    // it once per interval; with coalesce (a real clock) it is an interval
    // after until, so a late loop sends one WM_TIMER, not a burst. atTime is
    // told each timer's due time before it fires. Returns how many fired.
    int RunDueTimers(long long until, bool coalesce, const std::function<void(long long)>& atTime = {});

    // --- other threads ---
    void Post(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam);
    bool OnWindowThread(HostHandle window) const { return queue_.OnOwnerThread(window); }
    bool RunOnWindowThread(HostHandle window, const std::function<void()>& fn) { return queue_.Call(window, fn); }
    // Delivers posted messages and runs waiting calls; returns how many.
    int RunQueued();
    bool QueueEmpty() const { return queue_.Empty(); }

private:
    std::optional<DueTimer> TakeDueTimer(long long until, bool coalesce);

    Host& host_;
    std::map<HostHandle, WindowRecord> windows_;
    HostHandle active_ = 0;
    HostHandle capture_ = 0;
    CallQueue queue_;
};

}  // namespace qh::emulated
