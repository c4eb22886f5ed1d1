// The headless host: windows that live in memory, over the shared emulated
// bookkeeping; what is its own is the clock, the kept presentations and the
// injected input's held keys.
#include "toolkit/headless/headless_host.h"

#include <algorithm>
#include <thread>

#include "toolkit/messages.h"
#include "toolkit/scale.h"

namespace qh::headless {

HeadlessHost::HeadlessHost(RectI screen, RectI workArea) : screen_(screen), work_(workArea) {}

HostHandle HeadlessHost::CreateHostWindow(const HostWindowArgs& args) {
    if (args.rect.width <= 0 || args.rect.height <= 0) return 0;
    const HostHandle h = nextHandle_++;
    scales_[h] = scale_;
    windows_.Add(h, args);
    if (args.show) ShowWindow(h, true);
    return h;
}

void HeadlessHost::Attach(HostHandle window, WindowClient* client) { windows_.Attach(window, client); }

std::intptr_t HeadlessHost::Send(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    return windows_.Send(window, message, wParam, lParam);
}

std::intptr_t HeadlessHost::DefaultProc(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    return windows_.DefaultProc(window, message, wParam, lParam);
}

void HeadlessHost::PostMessage(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    windows_.Post(window, message, wParam, lParam);
}

RectI HeadlessHost::WindowRect(HostHandle window) {
    const emulated::WindowRecord* w = windows_.Find(window);
    return w ? w->rect : RectI{};
}

void HeadlessHost::MoveWindow(HostHandle window, const RectI& rect) {
    if (windows_.Find(window) == nullptr) return;
    // The size limits are asked for first, as the system does before a resize.
    const RectI r = windows_.Constrain(window, rect);
    // A new size starts a new picture: nothing of the old one is on the screen.
    const emulated::WindowRecord* w = windows_.Find(window);
    if (w != nullptr && (w->rect.width != r.width || w->rect.height != r.height)) screens_.erase(window);
    windows_.Place(window, r);
}

void HeadlessHost::ShowWindow(HostHandle window, bool show) { windows_.SetShown(window, show); }

void HeadlessHost::SetMaximized(HostHandle window, bool maximized) {
    if (const auto r = windows_.Maximize(window, maximized)) MoveWindow(window, *r);
}

bool HeadlessHost::IsMaximized(HostHandle window) { return windows_.Maximized(window); }

void HeadlessHost::Minimize(HostHandle window) { windows_.SetMinimized(window); }

void HeadlessHost::DestroyWindow(HostHandle window) {
    if (windows_.Destroy(window)) {
        screens_.erase(window);
        scales_.erase(window);
    }
}

float HeadlessHost::Scale(HostHandle window) {
    const auto it = scales_.find(window);
    return it != scales_.end() ? it->second : scale_;
}

void HeadlessHost::ChangeScale(HostHandle window, float scale) {
    if (windows_.Find(window) == nullptr) return;
    scales_[window] = scale;
    const int dpi = static_cast<int>(scale * kLogicalDpi + 0.5f);
    Send(window, msg::kDpiChanged, MakeLParam(dpi, dpi), 0);
    const RectI r = WindowRect(window);
    Send(window, msg::kSize, 0, MakeLParam(r.width, r.height));
}

void HeadlessHost::SetTitle(HostHandle window, const Text& title) {
    if (emulated::WindowRecord* w = windows_.Find(window)) {
        w->title = title;
        Send(window, msg::kSetText, 0, 0);
    }
}

Text HeadlessHost::Title(HostHandle window) {
    const emulated::WindowRecord* w = windows_.Find(window);
    return w ? w->title : Text();
}

std::uint32_t HeadlessHost::Style(HostHandle window) {
    const emulated::WindowRecord* w = windows_.Find(window);
    return w ? w->style : 0;
}

void HeadlessHost::SetStyle(HostHandle window, std::uint32_t style) {
    if (emulated::WindowRecord* w = windows_.Find(window)) w->style = style;
}

void HeadlessHost::BeginMove(HostHandle window) {
    if (windows_.Find(window) != nullptr) ++moveRequests_;
}

void HeadlessHost::Present(HostHandle window, const Bitmap& image, const RectI& area, int alpha) {
    if (windows_.Find(window) == nullptr) return;
    Bitmap& screen = screens_[window];
    if (screen.Width() != image.Width() || screen.Height() != image.Height()) {
        screen = Bitmap(image.Width(), image.Height());
    }
    screen.CopyArea(image, area);
    presentations_.push_back(Presentation{window, area, alpha, screen});
}

void HeadlessHost::SetCapture(HostHandle window) { windows_.SetCapture(window); }
void HeadlessHost::ReleaseCapture(HostHandle window) { windows_.ReleaseCapture(window); }
void HeadlessHost::SetFocus(HostHandle window) { windows_.SetActive(window); }
// The headless screen has no stacking order to change: the window becomes
// the active one.
void HeadlessHost::BringToFront(HostHandle window) { windows_.SetActive(window); }
bool HeadlessHost::IsActive(HostHandle window) { return windows_.IsActive(window); }
void HeadlessHost::SetCursor(HostHandle, int cursorId) { cursor_ = cursorId; }
bool HeadlessHost::KeyPressed(int vk) { return keys_[vk]; }
void HeadlessHost::HoldKey(int vk, bool down) { keys_[vk] = down; }

void HeadlessHost::StartTimer(HostHandle window, std::uint32_t id, int milliseconds) {
    windows_.StartTimer(window, id, milliseconds, now_);
}

void HeadlessHost::StopTimer(HostHandle window, std::uint32_t id) { windows_.StopTimer(window, id); }

bool HeadlessHost::SetClipboardText(HostHandle, const Text& text) {
    clipboard_ = text;
    return true;
}
Text HeadlessHost::ClipboardText(HostHandle) { return clipboard_; }
void HeadlessHost::ShowTooltip(HostHandle, const Text& text) { tooltip_ = text; }

void HeadlessHost::Beep(int iconType) { beeps_.push_back(iconType); }

RectI HeadlessHost::CaretRect(HostHandle window) const {
    const emulated::WindowRecord* w = windows_.Find(window);
    return w ? w->caret : RectI{};
}

void HeadlessHost::SetCaretRect(HostHandle window, const RectI& caret) {
    if (emulated::WindowRecord* w = windows_.Find(window)) w->caret = caret;
}

Text HeadlessHost::SystemFontFace(int) { return "Tahoma"; }

int HeadlessHost::NotifyWindows(const Text& className, const Text& title, int message) {
    int n = 0;
    for (const HostHandle h : windows_.Handles()) {
        const emulated::WindowRecord* w = windows_.Find(h);
        if (w->className == className && w->title == title) {
            PostMessage(h, message, 0, 0);
            ++n;
        }
    }
    return n;
}

bool HeadlessHost::OnWindowThread(HostHandle window) { return windows_.OnWindowThread(window); }

bool HeadlessHost::RunOnWindowThread(HostHandle window, const std::function<void()>& fn) {
    return windows_.RunOnWindowThread(window, fn);
}

int HeadlessHost::ProcessPending() { return windows_.RunQueued(); }

bool HeadlessHost::PumpUntil(const std::function<bool()>& pred, int maxRounds) {
    for (int i = 0; i < maxRounds; ++i) {
        if (pred()) return true;
        if (ProcessPending() == 0) std::this_thread::yield();
    }
    return pred();
}

void HeadlessHost::AdvanceClock(int milliseconds) {
    const long long end = now_ + std::max(0, milliseconds);
    windows_.RunDueTimers(end, false, [this](long long due) { now_ = due; });
    now_ = end;
}

bool HeadlessHost::Exists(HostHandle window) const { return windows_.Find(window) != nullptr; }

bool HeadlessHost::Visible(HostHandle window) const { return windows_.Visible(window); }

const Bitmap& HeadlessHost::Screen(HostHandle window) const {
    const auto it = screens_.find(window);
    return it != screens_.end() ? it->second : empty_;
}

}  // namespace qh::headless
