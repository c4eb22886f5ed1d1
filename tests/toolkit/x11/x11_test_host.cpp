#include "tests/toolkit/x11/x11_test_host.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <thread>

namespace qh::x11 {

void X11TestHost::BeginMove(HostHandle window) {
    if (Exists(window)) ++moveRequests_;
}

void X11TestHost::ShowTooltip(HostHandle window, const Text& text) {
    tooltip_ = text;
    X11Host::ShowTooltip(window, text);
}

void X11TestHost::Present(HostHandle window, const Bitmap& image, const RectI& area, int alpha) {
    if (Exists(window)) {
        presentations_.push_back(Presentation{window, area, alpha});
        Bitmap& kept = presented_[window];
        if (kept.Width() != image.Width() || kept.Height() != image.Height()) {
            kept = Bitmap(image.Width(), image.Height());
        }
        kept.CopyArea(image, area);
    }
    X11Host::Present(window, image, area, alpha);
}

bool X11TestHost::KeyPressed(int vk) {
    const auto it = keys_.find(vk);
    return it != keys_.end() ? it->second : X11Host::KeyPressed(vk);
}

std::intptr_t X11TestHost::Send(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    return Windows().Send(window, message, wParam, lParam);
}

void X11TestHost::HoldKey(int vk, bool down) { keys_[vk] = down; }

void X11TestHost::AdvanceClock(int milliseconds) {
    const long long end = now_ + std::max(0, milliseconds);
    Windows().RunDueTimers(end, false, [this](long long due) { now_ = due; });
    now_ = end;
}

bool X11TestHost::PumpUntil(const std::function<bool()>& pred, int maxRounds) {
    for (int i = 0; i < maxRounds; ++i) {
        if (pred()) return true;
        if (ProcessPending() == 0) std::this_thread::yield();
    }
    return pred();
}

Bitmap X11TestHost::Screen(HostHandle window) {
    Display* d = XDisplay();
    XWindowAttributes a{};
    if (!Exists(window) || XGetWindowAttributes(d, window, &a) == 0 || a.map_state != IsViewable) {
        const auto it = presented_.find(window);
        return it != presented_.end() ? it->second : Bitmap();
    }
    XSync(d, False);
    XImage* image = XGetImage(d, window, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height),
                              AllPlanes, ZPixmap);
    if (image == nullptr) return Bitmap();
    Bitmap screen(a.width, a.height);
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            // An opaque window: the server keeps red, green and blue.
            screen.SetRawPixel(x, y, 0xFF000000u | static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFFu));
        }
    }
    XDestroyImage(image);
    return screen;
}

RectI X11TestHost::CaretRect(HostHandle window) const {
    const emulated::WindowRecord* w = Windows().Find(window);
    return w ? w->caret : RectI{};
}

}  // namespace qh::x11
