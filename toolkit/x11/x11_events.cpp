// The X11 host's message loop: X events become Win32-numbered messages here,
// and timers, posted messages and calls from other threads run between them.
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>
#include <unistd.h>

#include "runtime/system.h"
#include "toolkit/messages.h"
#include "toolkit/x11/x11_state.h"

namespace qh::x11 {

namespace {

struct KeyMap {
    KeySym sym;
    int vk;
};
constexpr KeyMap kKeys[] = {
    {XK_Tab, vk::kTab},       {XK_ISO_Left_Tab, vk::kTab}, {XK_Return, vk::kEnter}, {XK_KP_Enter, vk::kEnter},
    {XK_space, vk::kSpace},   {XK_End, vk::kEnd},          {XK_Home, vk::kHome},    {XK_Left, vk::kLeft},
    {XK_Right, vk::kRight},   {XK_Up, 38},                 {XK_Down, 40},           {XK_Delete, vk::kDelete},
    {XK_BackSpace, 8},        {XK_Escape, 27},             {XK_Shift_L, vk::kShift}, {XK_Shift_R, vk::kShift},
    {XK_Control_L, vk::kControl}, {XK_Control_R, vk::kControl},
};

int VirtualKey(KeySym sym) {
    for (const KeyMap& k : kKeys) {
        if (k.sym == sym) return k.vk;
    }
    if (sym >= XK_a && sym <= XK_z) return static_cast<int>(sym - XK_a) + 'A';
    if (sym >= XK_A && sym <= XK_Z) return static_cast<int>(sym - XK_A) + 'A';
    if (sym >= XK_0 && sym <= XK_9) return static_cast<int>(sym - XK_0) + '0';
    return 0;
}

KeySym SymFor(int vk) {
    for (const KeyMap& k : kKeys) {
        if (k.vk == vk) return k.sym;
    }
    if (vk >= 'A' && vk <= 'Z') return XK_a + static_cast<KeySym>(vk - 'A');
    if (vk >= '0' && vk <= '9') return XK_0 + static_cast<KeySym>(vk - '0');
    return NoSymbol;
}

}  // namespace

long long X11Host::NowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool X11Host::KeyPressed(int vk) {
    KeySym sym = SymFor(vk);
    if (display_ == nullptr || sym == NoSymbol) return false;
    char keys[32];
    XQueryKeymap(display_, keys);
    KeyCode code = XKeysymToKeycode(display_, sym);
    bool down = (keys[code / 8] >> (code % 8)) & 1;
    if (vk == vk::kControl) {
        KeyCode right = XKeysymToKeycode(display_, XK_Control_R);
        down = down || ((keys[right / 8] >> (right % 8)) & 1);
    }
    return down;
}

void X11Host::StartTimer(HostHandle window, std::uint32_t id, int milliseconds) {
    if (WindowState* w = Find(window)) w->timers[id] = {std::max(1, milliseconds), NowMs() + std::max(1, milliseconds)};
}

void X11Host::StopTimer(HostHandle window, std::uint32_t id) {
    if (WindowState* w = Find(window)) w->timers.erase(id);
}

bool X11Host::OnWindowThread(HostHandle) { return std::this_thread::get_id() == owner_; }

bool X11Host::RunOnWindowThread(HostHandle window, const std::function<void()>& fn) {
    if (OnWindowThread(window)) {
        fn();
        return true;
    }
    Call call{window, &fn, false, false};
    std::unique_lock<std::mutex> lock(mutex_);
    calls_.push_back(&call);
    if (wakeWrite_ >= 0) {
        char c = 1;
        [[maybe_unused]] ssize_t n = write(wakeWrite_, &c, 1);
    }
    done_.wait(lock, [&] { return call.done; });
    return call.ran;
}

void X11Host::RunQueued() {
    for (;;) {
        Posted p{};
        Call* call = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!posted_.empty()) {
                p = posted_.front();
                posted_.pop_front();
            } else if (!calls_.empty()) {
                call = calls_.front();
                calls_.pop_front();
            } else {
                return;
            }
        }
        if (call == nullptr) {
            Send(p.window, p.message, p.wParam, p.lParam);
            continue;
        }
        const bool exists = Find(call->window) != nullptr;
        if (exists) (*call->fn)();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            FinishCall(call, exists);
        }
        done_.notify_all();
    }
}

void X11Host::RunTimers() {
    const long long now = NowMs();
    std::vector<std::pair<HostHandle, std::uint32_t>> due;
    for (auto& [h, w] : windows_) {
        for (auto& [id, t] : w->timers) {
            if (t.second <= now) {
                t.second = now + t.first;
                due.emplace_back(h, id);
            }
        }
    }
    for (auto& [h, id] : due) Send(h, msg::kTimer, static_cast<std::intptr_t>(id), 0);
}

int X11Host::MillisecondsToNextTimer() {
    long long next = -1;
    for (auto& [h, w] : windows_) {
        for (auto& [id, t] : w->timers) {
            if (next < 0 || t.second < next) next = t.second;
        }
    }
    if (next < 0) return -1;
    return static_cast<int>(std::max(0LL, next - NowMs()));
}

void X11Host::Quit(int code) {
    quit_ = true;
    exitCode_ = code;
}

int X11Host::RunLoop() {
    if (display_ == nullptr) return 1;
    quit_ = false;
    while (!quit_) {
        RunQueued();
        RunTimers();
        if (quit_) break;
        if (XPending(display_) == 0) {
            pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wakeRead_, POLLIN, 0}};
            poll(fds, wakeRead_ >= 0 ? 2 : 1, MillisecondsToNextTimer());
            char drain[64];
            while (wakeRead_ >= 0 && read(wakeRead_, drain, sizeof drain) > 0) {
            }
            continue;
        }
        XEvent e;
        XNextEvent(display_, &e);
        Dispatch(e);
    }
    return exitCode_;
}

void X11Host::Dispatch(XEvent& e) {
    const HostHandle h = e.xany.window;
    WindowState* w = Find(h);
    if (w == nullptr) return;
    switch (e.type) {
    case Expose:
        if (e.xexpose.count == 0) Send(h, msg::kPaint, 0, 0);
        break;
    case MapNotify:
        w->mapped = true;
        break;
    case ConfigureNotify: {
        const XConfigureEvent& c = e.xconfigure;
        const bool moved = c.x != w->rect.left || c.y != w->rect.top;
        const bool sized = c.width != w->rect.width || c.height != w->rect.height;
        w->rect = RectI{c.x, c.y, c.width, c.height};
        if (moved) Send(h, msg::kMove, 0, MakeLParam(c.x, c.y));
        if (sized) Send(h, msg::kSize, 0, MakeLParam(c.width, c.height));
        break;
    }
    case MotionNotify:
        Send(h, msg::kMouseMove, 0, MakeLParam(e.xmotion.x, e.xmotion.y));
        break;
    case LeaveNotify:
        if (e.xcrossing.mode == NotifyNormal) Send(h, msg::kMouseLeave, 0, 0);
        break;
    case ButtonPress: {
        const XButtonEvent& b = e.xbutton;
        const std::intptr_t lp = MakeLParam(b.x, b.y);
        if (b.button == Button4 || b.button == Button5) {
            // As on Windows, the wheel reports the pointer in screen coordinates.
            Send(h, msg::kMouseWheel, static_cast<std::intptr_t>((b.button == Button4 ? 120 : -120) * 65536),
                 MakeLParam(b.x_root, b.y_root));
        } else if (b.button == Button1) {
            const bool dbl = b.time - w->lastPressTime < 500 && std::abs(b.x - w->lastPressX) < 4 &&
                             std::abs(b.y - w->lastPressY) < 4;
            w->lastPressTime = dbl ? 0 : b.time;
            w->lastPressX = b.x;
            w->lastPressY = b.y;
            Send(h, dbl ? msg::kLButtonDblClk : msg::kLButtonDown, 1, lp);
        } else if (b.button == Button3) {
            Send(h, msg::kRButtonDown, 2, lp);
        }
        break;
    }
    case ButtonRelease:
        if (e.xbutton.button == Button1) Send(h, msg::kLButtonUp, 0, MakeLParam(e.xbutton.x, e.xbutton.y));
        if (e.xbutton.button == Button3) Send(h, msg::kRButtonUp, 0, MakeLParam(e.xbutton.x, e.xbutton.y));
        break;
    case KeyPress:
    case KeyRelease: {
        char buffer[16] = {};
        KeySym sym = NoSymbol;
        int n = XLookupString(&e.xkey, buffer, sizeof buffer - 1, &sym, nullptr);
        const int vk = VirtualKey(sym);
        if (e.type == KeyPress) {
            if (vk != 0) Send(h, msg::kKeyDown, vk, 1);
            // Printable characters and Backspace also arrive as characters.
            if (n == 1 && (static_cast<unsigned char>(buffer[0]) >= 32 || buffer[0] == 8) &&
                !(e.xkey.state & ControlMask)) {
                Send(h, msg::kChar, static_cast<unsigned char>(buffer[0]), 1);
            }
        } else if (vk != 0) {
            Send(h, msg::kKeyUp, vk, 1);
        }
        break;
    }
    case FocusIn:
    case FocusOut:
        // Grabs move the focus for a moment; only real changes count.
        if (e.xfocus.mode == NotifyNormal || e.xfocus.mode == NotifyWhileGrabbed) {
            Send(h, msg::kActivate, e.type == FocusIn ? 1 : 0, 0);
        }
        break;
    case SelectionRequest:
        ServeSelection(e.xselectionrequest);
        break;
    case SelectionClear:
        LoseSelection(e.xselectionclear);
        break;
    case ClientMessage:
        if (static_cast<Atom>(e.xclient.data.l[0]) == wmDelete_ && e.xclient.message_type == wmProtocols_) {
            Send(h, msg::kClose, 0, 0);
        } else if (e.xclient.message_type == toolkitMessage_) {
            Send(h, static_cast<int>(e.xclient.data.l[0]), e.xclient.data.l[1], e.xclient.data.l[2]);
        }
        break;
    default:
        break;
    }
}

int X11Host::NotifyWindows(const Text& className, const Text& title, int message) {
    if (display_ == nullptr) return 0;
    const std::string cls = System().GbkToUtf8(className), name = System().GbkToUtf8(title);
    std::vector<::Window> candidates;
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    // Top-level windows are children of the root, or one level below where a
    // window manager has reparented them.
    if (XQueryTree(display_, RootWindow(display_, screen_), &root, &parent, &children, &count) != 0) {
        for (unsigned i = 0; i < count; ++i) {
            candidates.push_back(children[i]);
            ::Window r2 = 0, p2 = 0, *inner = nullptr;
            unsigned n2 = 0;
            if (XQueryTree(display_, children[i], &r2, &p2, &inner, &n2) != 0) {
                for (unsigned j = 0; j < n2; ++j) candidates.push_back(inner[j]);
                if (inner != nullptr) XFree(inner);
            }
        }
        if (children != nullptr) XFree(children);
    }
    int found = 0;
    for (::Window c : candidates) {
        XClassHint hint{};
        if (XGetClassHint(display_, c, &hint) == 0) continue;
        const bool classMatches = hint.res_class != nullptr && cls == hint.res_class;
        if (hint.res_name != nullptr) XFree(hint.res_name);
        if (hint.res_class != nullptr) XFree(hint.res_class);
        if (!classMatches) continue;
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        std::string windowTitle;
        if (XGetWindowProperty(display_, c, netWmName_, 0, 1024, False, utf8_, &type, &format, &items, &after,
                               &data) == Success && data != nullptr) {
            windowTitle.assign(reinterpret_cast<const char*>(data), items);
        }
        if (data != nullptr) XFree(data);
        if (windowTitle != name) continue;
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = c;
        e.xclient.message_type = toolkitMessage_;
        e.xclient.format = 32;
        e.xclient.data.l[0] = message;
        XSendEvent(display_, c, False, NoEventMask, &e);
        ++found;
    }
    XFlush(display_);
    return found;
}

}  // namespace qh::x11
