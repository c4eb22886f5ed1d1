// The X11 host's message loop: X events become Win32-numbered messages here,
// and timers, posted messages and calls from other threads run between them.
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <thread>
#include <vector>

#include "toolkit/messages.h"
#include "toolkit/x11/x11_accessible.h"
#include "toolkit/x11/x11_state.h"

namespace qh::x11 {

long long X11Host::Clock() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void X11Host::StartTimer(HostHandle window, std::uint32_t id, int milliseconds) {
    windows_.StartTimer(window, id, milliseconds, Clock());
}

void X11Host::StopTimer(HostHandle window, std::uint32_t id) { windows_.StopTimer(window, id); }

bool X11Host::OnWindowThread(HostHandle window) { return windows_.OnWindowThread(window); }

bool X11Host::RunOnWindowThread(HostHandle window, const std::function<void()>& fn) {
    return windows_.RunOnWindowThread(window, fn);
}

void X11Host::Quit(int code) {
    quit_ = true;
    exitCode_ = code;
}

int X11Host::ProcessQueued() {
    if (display_ == nullptr) return 0;
    char drain[64];
    while (wakeRead_ >= 0 && read(wakeRead_, drain, sizeof drain) > 0) {
    }
    if (accessibility_) accessibility_->RunReady();
    int handled = windows_.RunQueued();
    XSync(display_, False);
    while (XPending(display_) > 0) {
        XEvent e;
        XNextEvent(display_, &e);
        if (!TakenByInputMethod(e)) Dispatch(e);
        ++handled;
    }
    return handled;
}

int X11Host::RunLoop() {
    if (display_ == nullptr) return 1;
    quit_ = false;
    RunEvents([] { return true; });
    return exitCode_;
}

void X11Host::RunLoopWhileExists(HostHandle window) {
    if (display_ == nullptr) return;
    RunEvents([&] { return windows_.Find(window) != nullptr; });
}

void X11Host::RunEvents(const std::function<bool()>& keepGoing) {
    while (!quit_ && keepGoing()) {
        windows_.RunQueued();
        windows_.RunDueTimers(Clock(), true);
        if (quit_) break;
        if (XPending(display_) == 0) {
            int timeout = -1;
            if (const auto due = windows_.NextDue()) timeout = static_cast<int>(std::clamp(*due - Clock(), 0LL, 60000LL));
            std::vector<pollfd> fds{{ConnectionNumber(display_), POLLIN, 0}};
            if (wakeRead_ >= 0) fds.push_back({wakeRead_, POLLIN, 0});
            // The accessibility bridge's D-Bus traffic wakes the same wait.
            const std::size_t glibFirst = fds.size();
            if (accessibility_) accessibility_->PrepareWait(fds, timeout);
            poll(fds.data(), fds.size(), timeout);
            if (accessibility_) accessibility_->Dispatch(fds, glibFirst);
            char drain[64];
            while (wakeRead_ >= 0 && read(wakeRead_, drain, sizeof drain) > 0) {
            }
            continue;
        }
        // A busy X queue must not hold up the readers' calls.
        if (accessibility_) accessibility_->RunReady();
        XEvent e;
        XNextEvent(display_, &e);
        if (TakenByInputMethod(e)) continue;
        Dispatch(e);
    }
}

void X11Host::AccessibleChanged(HostHandle window, AccEvent event, int id) {
    if (accessibility_) accessibility_->Changed(window, event, id);
}

bool X11Host::Iconic(HostHandle window) {
    const Atom wmState = XInternAtom(display_, "WM_STATE", False);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    bool iconic = false;
    if (XGetWindowProperty(display_, window, wmState, 0, 2, False, wmState, &type, &format, &items, &after, &data) ==
            Success &&
        data != nullptr && format == 32 && items >= 1) {
        iconic = reinterpret_cast<const long*>(data)[0] == IconicState;
    }
    if (data != nullptr) XFree(data);
    return iconic;
}

void X11Host::DeliverClientMessage(HostHandle window, const XClientMessageEvent& e) {
    if (static_cast<Atom>(e.data.l[0]) == wmDelete_ && e.message_type == wmProtocols_) {
        windows_.Send(window, msg::kClose, 0, 0);
        return;
    }
    if (e.message_type != toolkitMessage_ || e.format != 32) return;
    // Any client may send this. Only the programs' own messages (the WM_USER
    // range) are taken, and never the toolkit's internal ones that carry an
    // address: a number from another process must not be read as a pointer.
    const long message = e.data.l[0];
    if (message < msg::kUser || message >= 0x8000) return;
    if (message >= msg::kSysKeyForward && message <= msg::kBackgroundColor) return;
    windows_.Send(window, static_cast<int>(message), e.data.l[1], e.data.l[2]);
}

void X11Host::Dispatch(XEvent& e) {
    if (e.type == MappingNotify) {
        // Another client changed the keyboard's layout; forget the old one.
        XRefreshKeyboardMapping(&e.xmapping);
        return;
    }
    const HostHandle h = e.xany.window;
    WindowState* w = Native(h);
    if (w == nullptr) return;
    switch (e.type) {
    case Expose:
        if (e.xexpose.count == 0) windows_.Send(h, msg::kPaint, 0, 0);
        break;
    case MapNotify:
        w->mapped = true;
        windows_.SetShown(h, true, false);
        break;
    case UnmapNotify:
        w->mapped = false;
        // Not hidden by the program: a window manager minimized it, or only
        // took it down for a moment (to put it into a frame of its own).
        if (windows_.Visible(h) && Iconic(h)) windows_.SetMinimized(h);
        break;
    case ReparentNotify:
        w->parent = e.xreparent.parent;
        break;
    case ConfigureNotify:
        Configured(h, e.xconfigure);
        break;
    case MotionNotify:
        windows_.Send(h, msg::kMouseMove, 0, MakeLParam(Logical(e.xmotion.x), Logical(e.xmotion.y)));
        break;
    case LeaveNotify:
        if (e.xcrossing.mode == NotifyNormal) windows_.Send(h, msg::kMouseLeave, 0, 0);
        break;
    case ButtonPress: {
        const XButtonEvent& b = e.xbutton;
        const std::intptr_t lp = MakeLParam(Logical(b.x), Logical(b.y));
        if (b.button == Button4 || b.button == Button5) {
            // As on Windows, the wheel reports the pointer in screen coordinates.
            windows_.Send(h, msg::kMouseWheel, static_cast<std::intptr_t>((b.button == Button4 ? 120 : -120) * 65536),
                          MakeLParam(Logical(b.x_root), Logical(b.y_root)));
        } else if (b.button == Button1) {
            const bool dbl = b.time - w->lastPressTime < 500 && std::abs(b.x - w->lastPressX) < 4 &&
                             std::abs(b.y - w->lastPressY) < 4;
            w->lastPressTime = dbl ? 0 : b.time;
            w->lastPressX = b.x;
            w->lastPressY = b.y;
            windows_.Send(h, dbl ? msg::kLButtonDblClk : msg::kLButtonDown, 1, lp);
        } else if (b.button == Button3) {
            windows_.Send(h, msg::kRButtonDown, 2, lp);
        }
        break;
    }
    case ButtonRelease:
    {
        const std::intptr_t lp = MakeLParam(Logical(e.xbutton.x), Logical(e.xbutton.y));
        if (e.xbutton.button == Button1) windows_.Send(h, msg::kLButtonUp, 0, lp);
        if (e.xbutton.button == Button3) windows_.Send(h, msg::kRButtonUp, 0, lp);
    }
        break;
    case KeyPress:
    case KeyRelease:
        Key(h, e.xkey);
        break;
    case FocusIn:
    case FocusOut:
        // Grabs move the focus for a moment; only real changes count.
        if (e.xfocus.mode == NotifyNormal || e.xfocus.mode == NotifyWhileGrabbed) {
            if (e.type == FocusIn) {
                windows_.SetActive(h);
                if (w->inputContext != nullptr) XSetICFocus(w->inputContext);
            } else {
                windows_.Deactivate(h);
                if (w->inputContext != nullptr) XUnsetICFocus(w->inputContext);
            }
            windows_.Send(h, msg::kActivate, e.type == FocusIn ? 1 : 0, 0);
        }
        break;
    case SelectionRequest:
        ServeSelection(e.xselectionrequest);
        break;
    case SelectionClear:
        LoseSelection(e.xselectionclear);
        break;
    case ClientMessage:
        DeliverClientMessage(h, e.xclient);
        break;
    default:
        break;
    }
}

}  // namespace qh::x11
