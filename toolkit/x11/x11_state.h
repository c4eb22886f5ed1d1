// The X11 host's record of one window and of one call from another thread.
#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <map>

#include "toolkit/x11/x11_host.h"

namespace qh::x11 {

struct X11Host::WindowState {
    Text className;
    Text title;
    std::uint32_t style = 0;
    RectI rect;
    RectI restored;
    bool mapped = false;
    bool maximized = false;
    int alpha = 255;
    int cursorId = kCursorArrow;
    GC gc = nullptr;
    Visual* visual = nullptr;  // the window's visual: the default one or 32-bit ARGB
    int depth = 24;
    WindowClient* client = nullptr;
    std::map<std::uint32_t, std::pair<int, long long>> timers;  // id -> (interval, next due)
    // The last press, to tell a double click.
    Time lastPressTime = 0;
    int lastPressX = -100, lastPressY = -100;
    RectI caret;  // the focused edit's caret, for the input method's window
};

struct X11Host::Call {
    HostHandle window = 0;
    const std::function<void()>* fn = nullptr;
    bool done = false;
    bool ran = false;
};

inline HostHandle CallWindow(const X11Host::Call* c) { return c->window; }
inline void FinishCall(X11Host::Call* c, bool ran) {
    c->ran = ran;
    c->done = true;
}

}  // namespace qh::x11
