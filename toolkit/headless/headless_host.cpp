#include "toolkit/headless/headless_host.h"

#include "toolkit/messages.h"

namespace qh::headless {

HeadlessHost::HeadlessHost(RectI screen, RectI workArea) : screen_(screen), work_(workArea) {}

HeadlessHost::Window* HeadlessHost::Find(HostHandle window) {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

const HeadlessHost::Window* HeadlessHost::Find(HostHandle window) const {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

HostHandle HeadlessHost::CreateHostWindow(const HostWindowArgs& args) {
    if (args.rect.width <= 0 || args.rect.height <= 0) return 0;
    Window w;
    w.className = args.className;
    w.title = args.title;
    w.rect = args.rect;
    w.restored = args.rect;
    w.style = args.style;
    w.owner = std::this_thread::get_id();
    HostHandle h;
    {
        std::lock_guard<std::mutex> lock(callMutex_);
        h = nextHandle_++;
        windows_.emplace(h, std::move(w));
    }
    if (args.show) ShowWindow(h, true);
    return h;
}

void HeadlessHost::Attach(HostHandle window, WindowClient* client) {
    if (Window* w = Find(window)) w->client = client;
}

std::intptr_t HeadlessHost::Send(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    Window* w = Find(window);
    if (w == nullptr) return 0;
    if (w->client != nullptr) return w->client->HandleMessage(message, wParam, lParam);
    return DefaultProc(window, message, wParam, lParam);
}

std::intptr_t HeadlessHost::DefaultProc(HostHandle window, int message, std::intptr_t wParam, std::intptr_t) {
    if (message == msg::kClose) DestroyWindow(window);
    if (message == msg::kSysCommand) {
        // What the system does with a system command.
        switch (static_cast<int>(wParam) & 0xFFF0) {
            case msg::kScMinimize: Minimize(window); break;
            case msg::kScMaximize: SetMaximized(window, true); break;
            case msg::kScRestore: SetMaximized(window, false); break;
            case msg::kScClose: Send(window, msg::kClose); break;
            default: break;
        }
    }
    return 0;
}

void HeadlessHost::PostMessage(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    posted_.push_back(Pending{window, message, wParam, lParam});
}

RectI HeadlessHost::WindowRect(HostHandle window) {
    const Window* w = Find(window);
    return w ? w->rect : RectI{};
}

void HeadlessHost::Resized(HostHandle window) {
    Window* w = Find(window);
    if (w == nullptr) return;
    // The toolkit answers the size limits, as a window manager would ask.
    MinMaxInfo info;
    Send(window, msg::kGetMinMaxInfo, 0, reinterpret_cast<std::intptr_t>(&info));
    if ((w = Find(window)) == nullptr) return;
    w->rect.width = std::max(w->rect.width, static_cast<int>(info.minTrackSize.x));
    w->rect.height = std::max(w->rect.height, static_cast<int>(info.minTrackSize.y));
    w->screen = Bitmap();
    Send(window, msg::kSize, 0, MakeLParam(w->rect.width, w->rect.height));
}

void HeadlessHost::MoveWindow(HostHandle window, const RectI& rect) {
    Window* w = Find(window);
    if (w == nullptr) return;
    const bool sized = rect.width != w->rect.width || rect.height != w->rect.height;
    w->rect = rect;
    Send(window, msg::kMove, 0, MakeLParam(rect.left, rect.top));
    if (sized) Resized(window);
}

void HeadlessHost::ShowWindow(HostHandle window, bool show) {
    if (Window* w = Find(window)) {
        w->visible = show;
        if (show) active_ = window;
    }
}

void HeadlessHost::SetMaximized(HostHandle window, bool maximized) {
    Window* w = Find(window);
    if (w == nullptr || w->maximized == maximized) return;
    if (maximized) w->restored = w->rect;
    w->maximized = maximized;
    MoveWindow(window, maximized ? work_ : w->restored);
}

bool HeadlessHost::IsMaximized(HostHandle window) {
    const Window* w = Find(window);
    return w != nullptr && w->maximized;
}

void HeadlessHost::Minimize(HostHandle window) { ShowWindow(window, false); }

void HeadlessHost::DestroyWindow(HostHandle window) {
    if (Find(window) == nullptr) return;
    Send(window, msg::kDestroy);
    {
        // One step under the lock: a call from another thread either finds
        // the window and is failed here, or does not find it at all.
        std::lock_guard<std::mutex> lock(callMutex_);
        FailCallsLocked(window);
        windows_.erase(window);
    }
    callDone_.notify_all();
    if (capture_ == window) capture_ = 0;
    if (active_ == window) active_ = 0;
}

void HeadlessHost::SetTitle(HostHandle window, const Text& title) {
    if (Window* w = Find(window)) {
        w->title = title;
        Send(window, msg::kSetText, 0, 0);
    }
}

Text HeadlessHost::Title(HostHandle window) {
    const Window* w = Find(window);
    return w ? w->title : Text();
}

std::uint32_t HeadlessHost::Style(HostHandle window) {
    const Window* w = Find(window);
    return w ? w->style : 0;
}

void HeadlessHost::SetStyle(HostHandle window, std::uint32_t style) {
    if (Window* w = Find(window)) w->style = style;
}

void HeadlessHost::BeginMove(HostHandle window) {
    if (Find(window) != nullptr) ++moveRequests_;
}

void HeadlessHost::Present(HostHandle window, const Bitmap& image, const RectI& area, int alpha) {
    Window* w = Find(window);
    if (w == nullptr) return;
    if (w->screen.Width() != image.Width() || w->screen.Height() != image.Height()) {
        w->screen = Bitmap(image.Width(), image.Height());
    }
    w->screen.CopyArea(image, area);
    presentations_.push_back(Presentation{window, area, alpha, w->screen});
}

void HeadlessHost::SetCapture(HostHandle window) { capture_ = window; }
void HeadlessHost::ReleaseCapture(HostHandle window) {
    if (capture_ == window) capture_ = 0;
}
void HeadlessHost::SetFocus(HostHandle window) { active_ = window; }
bool HeadlessHost::IsActive(HostHandle window) { return active_ == window && window != 0; }
void HeadlessHost::SetCursor(HostHandle, int cursorId) { cursor_ = cursorId; }
bool HeadlessHost::KeyPressed(int vk) { return keys_[vk]; }
void HeadlessHost::HoldKey(int vk, bool down) { keys_[vk] = down; }

void HeadlessHost::StartTimer(HostHandle window, std::uint32_t id, int milliseconds) {
    if (Window* w = Find(window)) w->timers[id] = {std::max(1, milliseconds), now_ + std::max(1, milliseconds)};
}

void HeadlessHost::StopTimer(HostHandle window, std::uint32_t id) {
    if (Window* w = Find(window)) w->timers.erase(id);
}

bool HeadlessHost::SetClipboardText(HostHandle, const Text& text) {
    clipboard_ = text;
    return true;
}
Text HeadlessHost::ClipboardText(HostHandle) { return clipboard_; }
void HeadlessHost::ShowTooltip(HostHandle, const Text& text) { tooltip_ = text; }

RectI HeadlessHost::CaretRect(HostHandle window) const {
    const Window* w = Find(window);
    return w ? w->caret : RectI{};
}

void HeadlessHost::SetCaretRect(HostHandle window, const RectI& caret) {
    if (Window* w = Find(window)) w->caret = caret;
}
Text HeadlessHost::SystemFontFace(int) { return "Tahoma"; }

int HeadlessHost::NotifyWindows(const Text& className, const Text& title, int message) {
    int n = 0;
    for (auto& [h, w] : windows_) {
        if (w.className == className && w.title == title) {
            PostMessage(h, message, 0, 0);
            ++n;
        }
    }
    return n;
}

bool HeadlessHost::OnWindowThread(HostHandle window) {
    std::lock_guard<std::mutex> lock(callMutex_);
    auto it = windows_.find(window);
    return it != windows_.end() && it->second.owner == std::this_thread::get_id();
}

bool HeadlessHost::RunOnWindowThread(HostHandle window, const std::function<void()>& fn) {
    if (OnWindowThread(window)) {
        fn();
        return true;
    }
    Call call{window, &fn, false, false};
    std::unique_lock<std::mutex> lock(callMutex_);
    if (windows_.find(window) == windows_.end()) return false;
    calls_.push_back(&call);
    callDone_.wait(lock, [&] { return call.done; });
    return call.ran;
}

void HeadlessHost::FailCallsLocked(HostHandle window) {
    for (auto it = calls_.begin(); it != calls_.end();) {
        if ((*it)->window == window) {
            (*it)->done = true;
            it = calls_.erase(it);
        } else {
            ++it;
        }
    }
}

int HeadlessHost::ProcessPending() {
    int ran = 0;
    while (!posted_.empty()) {
        Pending p = posted_.front();
        posted_.pop_front();
        Send(p.window, p.message, p.wParam, p.lParam);
        ++ran;
    }
    for (;;) {
        Call* call = nullptr;
        {
            std::lock_guard<std::mutex> lock(callMutex_);
            if (calls_.empty()) break;
            call = calls_.front();
            calls_.pop_front();
        }
        (*call->fn)();
        {
            std::lock_guard<std::mutex> lock(callMutex_);
            call->ran = true;
            call->done = true;
        }
        callDone_.notify_all();
        ++ran;
    }
    return ran;
}

bool HeadlessHost::PumpUntil(const std::function<bool()>& pred, int maxRounds) {
    for (int i = 0; i < maxRounds; ++i) {
        if (pred()) return true;
        if (ProcessPending() == 0) std::this_thread::yield();
    }
    return pred();
}

void HeadlessHost::AdvanceClock(int milliseconds) {
    const long long end = now_ + std::max(0, milliseconds);
    for (;;) {
        HostHandle dueWindow = 0;
        std::uint32_t dueId = 0;
        long long due = end + 1;
        for (auto& [h, w] : windows_) {
            for (auto& [id, t] : w.timers) {
                if (t.second < due) {
                    due = t.second;
                    dueWindow = h;
                    dueId = id;
                }
            }
        }
        if (dueWindow == 0) break;
        now_ = due;
        Window* w = Find(dueWindow);
        w->timers[dueId].second = due + w->timers[dueId].first;
        Send(dueWindow, msg::kTimer, static_cast<std::intptr_t>(dueId), 0);
    }
    now_ = end;
}

bool HeadlessHost::Exists(HostHandle window) const { return Find(window) != nullptr; }

bool HeadlessHost::Visible(HostHandle window) const {
    const Window* w = Find(window);
    return w != nullptr && w->visible;
}

const Bitmap& HeadlessHost::Screen(HostHandle window) const {
    const Window* w = Find(window);
    return w ? w->screen : empty_;
}

}  // namespace qh::headless
