// The emulated windows' records, timers, focus and capture, and the default
// handling the system gives a Win32 window; shared by the headless and X11
// hosts.
#include "toolkit/emulated/emulated_windows.h"

#include <algorithm>
#include <utility>

#include "toolkit/messages.h"

namespace qh::emulated {

EmulatedWindows::EmulatedWindows(Host& host, std::function<void()> wake) : host_(host), queue_(std::move(wake)) {}

void EmulatedWindows::Add(HostHandle window, const HostWindowArgs& args) {
    WindowRecord w;
    w.className = args.className;
    w.title = args.title;
    w.rect = args.rect;
    w.restored = args.rect;
    w.style = args.style;
    w.owner = std::this_thread::get_id();
    windows_[window] = std::move(w);
    queue_.Open(window);
}

WindowRecord* EmulatedWindows::Find(HostHandle window) {
    const auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

const WindowRecord* EmulatedWindows::Find(HostHandle window) const {
    const auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

std::vector<HostHandle> EmulatedWindows::Handles() const {
    std::vector<HostHandle> handles;
    handles.reserve(windows_.size());
    for (const auto& entry : windows_) handles.push_back(entry.first);
    return handles;
}

bool EmulatedWindows::Destroy(HostHandle window) {
    WindowRecord* w = Find(window);
    if (w == nullptr || w->destroying) return false;
    w->destroying = true;
    Send(window, msg::kDestroy);
    queue_.Close(window);
    windows_.erase(window);
    if (active_ == window) active_ = 0;
    if (capture_ == window) capture_ = 0;
    return true;
}

void EmulatedWindows::Attach(HostHandle window, WindowClient* client) {
    if (WindowRecord* w = Find(window)) w->client = client;
}

std::intptr_t EmulatedWindows::Send(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    const WindowRecord* w = Find(window);
    if (w == nullptr) return 0;
    if (w->client != nullptr) return w->client->HandleMessage(message, wParam, lParam);
    return host_.DefaultProc(window, message, wParam, lParam);
}

std::intptr_t EmulatedWindows::DefaultProc(HostHandle window, int message, std::intptr_t wParam, std::intptr_t) {
    const WindowRecord* w = Find(window);
    if (w == nullptr) return 0;
    if (message == msg::kClose) {
        host_.DestroyWindow(window);
    } else if (message == msg::kSysCommand) {
        // The low four bits of a system command are the system's own.
        switch (static_cast<int>(wParam) & 0xFFF0) {
        case msg::kScMinimize: host_.Minimize(window); break;
        case msg::kScMaximize: host_.SetMaximized(window, true); break;
        case msg::kScRestore:
            // Restore brings a minimized window back as it was; otherwise it
            // ends a maximize.
            if (w->minimized) {
                host_.ShowWindow(window, true);
            } else {
                host_.SetMaximized(window, false);
            }
            break;
        case msg::kScClose: Send(window, msg::kClose); break;
        default: break;
        }
    }
    return 0;
}

MinMaxInfo EmulatedWindows::Limits(HostHandle window) {
    // The system's defaults, which the client may change: maximized to the
    // work area, tracked between one pixel and the host's largest size.
    const RectI work = host_.WorkArea();
    const RectI maxTrack = host_.MaxTrackSize();
    MinMaxInfo info;
    info.maxSize = {work.width, work.height};
    info.maxPosition = {work.left, work.top};
    info.minTrackSize = {1, 1};
    info.maxTrackSize = {maxTrack.width, maxTrack.height};
    Send(window, msg::kGetMinMaxInfo, 0, reinterpret_cast<std::intptr_t>(&info));
    return info;
}

RectI EmulatedWindows::Constrain(HostHandle window, const RectI& rect) {
    const WindowRecord* w = Find(window);
    // Only a resize asks for the limits; a move keeps the size it has.
    if (w == nullptr || (rect.width == w->rect.width && rect.height == w->rect.height)) return rect;
    const MinMaxInfo info = Limits(window);
    RectI r = rect;
    // The minimum wins over a maximum below it, as on Windows.
    r.width = std::max(std::min(r.width, static_cast<int>(info.maxTrackSize.x)), static_cast<int>(info.minTrackSize.x));
    r.height =
        std::max(std::min(r.height, static_cast<int>(info.maxTrackSize.y)), static_cast<int>(info.minTrackSize.y));
    return r;
}

bool EmulatedWindows::Place(HostHandle window, const RectI& rect) {
    WindowRecord* w = Find(window);
    if (w == nullptr) return false;
    const bool moved = rect.left != w->rect.left || rect.top != w->rect.top;
    const bool sized = rect.width != w->rect.width || rect.height != w->rect.height;
    w->rect = rect;
    if (moved) Send(window, msg::kMove, 0, MakeLParam(rect.left, rect.top));
    // The move's handler may have destroyed the window.
    if (sized && Find(window) != nullptr) Send(window, msg::kSize, 0, MakeLParam(rect.width, rect.height));
    return sized;
}

std::optional<RectI> EmulatedWindows::Maximize(HostHandle window, bool maximized) {
    WindowRecord* w = Find(window);
    if (w == nullptr || w->maximized == maximized) return std::nullopt;
    if (!maximized) {
        w->maximized = false;
        return w->restored;
    }
    // The place and size the client gives for a maximized window.
    const MinMaxInfo info = Limits(window);
    if ((w = Find(window)) == nullptr) return std::nullopt;
    w->restored = w->rect;
    w->maximized = true;
    return RectI{info.maxPosition.x, info.maxPosition.y, info.maxSize.x, info.maxSize.y};
}

void EmulatedWindows::SetShown(HostHandle window, bool shown, bool activate) {
    WindowRecord* w = Find(window);
    if (w == nullptr) return;
    w->visible = shown;
    if (shown) {
        // Showing a window activates it, as SW_SHOWNORMAL does.
        w->minimized = false;
        if (activate) active_ = window;
    }
}

void EmulatedWindows::SetMinimized(HostHandle window) {
    WindowRecord* w = Find(window);
    if (w == nullptr) return;
    w->visible = false;
    w->minimized = true;
    if (active_ == window) active_ = 0;
}

bool EmulatedWindows::Visible(HostHandle window) const {
    const WindowRecord* w = Find(window);
    return w != nullptr && w->visible;
}

bool EmulatedWindows::Maximized(HostHandle window) const {
    const WindowRecord* w = Find(window);
    return w != nullptr && w->maximized;
}

void EmulatedWindows::SetActive(HostHandle window) {
    if (Find(window) != nullptr) active_ = window;
}

void EmulatedWindows::Deactivate(HostHandle window) {
    if (active_ == window) active_ = 0;
}

void EmulatedWindows::SetCapture(HostHandle window) {
    if (Find(window) != nullptr) capture_ = window;
}

void EmulatedWindows::ReleaseCapture(HostHandle window) {
    if (capture_ == window) capture_ = 0;
}

void EmulatedWindows::StartTimer(HostHandle window, std::uint32_t id, int milliseconds, long long now) {
    WindowRecord* w = Find(window);
    if (w == nullptr) return;
    const int interval = std::max(1, milliseconds);
    w->timers[id] = Timer{interval, now + interval};
}

void EmulatedWindows::StopTimer(HostHandle window, std::uint32_t id) {
    if (WindowRecord* w = Find(window)) w->timers.erase(id);
}

std::optional<long long> EmulatedWindows::NextDue() const {
    std::optional<long long> next;
    for (const auto& entry : windows_) {
        for (const auto& timer : entry.second.timers) {
            if (!next || timer.second.due < *next) next = timer.second.due;
        }
    }
    return next;
}

std::optional<EmulatedWindows::DueTimer> EmulatedWindows::TakeDueTimer(long long until, bool coalesce) {
    std::optional<DueTimer> first;
    for (const auto& [handle, w] : windows_) {
        for (const auto& [id, timer] : w.timers) {
            if (timer.due <= until && (!first || timer.due < first->due)) first = DueTimer{handle, id, timer.due};
        }
    }
    if (first) {
        Timer& timer = windows_[first->window].timers[first->id];
        timer.due = (coalesce ? std::max(first->due, until) : first->due) + timer.interval;
    }
    return first;
}

int EmulatedWindows::RunDueTimers(long long until, bool coalesce, const std::function<void(long long)>& atTime) {
    int fired = 0;
    while (const std::optional<DueTimer> t = TakeDueTimer(until, coalesce)) {
        if (atTime) atTime(t->due);
        Send(t->window, msg::kTimer, static_cast<std::intptr_t>(t->id), 0);
        ++fired;
    }
    return fired;
}

void EmulatedWindows::Post(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    queue_.Post(window, message, wParam, lParam);
}

int EmulatedWindows::RunQueued() {
    // A message posted to a window that is gone meanwhile goes nowhere.
    return queue_.Run([this](const CallQueue::Message& m) { Send(m.window, m.message, m.wParam, m.lParam); });
}

}  // namespace qh::emulated
