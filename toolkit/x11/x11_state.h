// The X11 host's native side of one window (the rest of its record is the
// shared emulated bookkeeping) and its log of X errors.
#pragma once

#include <X11/Xlib.h>

#include <atomic>

#include "toolkit/x11/x11_host.h"

namespace qh::x11 {

struct X11Host::WindowState {
    bool mapped = false;
    int alpha = 255;
    int cursorId = kCursorArrow;
    GC gc = nullptr;
    Visual* visual = nullptr;  // the window's visual: the default one or 32-bit ARGB
    int depth = 24;
    ::Window parent = 0;  // the root, or a window manager's frame
    XIC inputContext = nullptr;
    bool spotFollowsCaret = false;  // the input method places its window at a spot we give
    // The last press, to tell a double click.
    Time lastPressTime = 0;
    int lastPressX = -100, lastPressY = -100;
};

// Filled by the process's X error handler, which may run on any thread that
// makes an Xlib call on this host's connection.
struct X11Host::ErrorLog {
    Display* display = nullptr;
    std::atomic<int> count{0};
    // Inside a walk over other clients' windows errors are expected and not reported.
    std::atomic<bool> expected{false};
};

}  // namespace qh::x11
