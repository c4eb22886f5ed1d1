#include "toolkit/x11/x11_host.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "runtime/system.h"
#include "toolkit/messages.h"
#include "toolkit/x11/x11_state.h"

namespace qh::x11 {

X11Host::X11Host() : owner_(std::this_thread::get_id()) {
    XInitThreads();
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) return;
    screen_ = DefaultScreen(display_);
    wmDelete_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    wmProtocols_ = XInternAtom(display_, "WM_PROTOCOLS", False);
    toolkitMessage_ = XInternAtom(display_, "_QINGHE_TOOLKIT_MESSAGE", False);
    netWmName_ = XInternAtom(display_, "_NET_WM_NAME", False);
    utf8_ = XInternAtom(display_, "UTF8_STRING", False);
    opacity_ = XInternAtom(display_, "_NET_WM_WINDOW_OPACITY", False);
    InternClipboardAtoms();
    int fds[2];
    if (pipe(fds) == 0) {
        wakeRead_ = fds[0];
        wakeWrite_ = fds[1];
        fcntl(wakeRead_, F_SETFL, O_NONBLOCK);
    }
}

X11Host::~X11Host() {
    for (auto& [h, w] : windows_) delete w;
    if (tooltipGc_ != nullptr) XFreeGC(display_, tooltipGc_);
    if (tooltipWindow_ != 0) XDestroyWindow(display_, tooltipWindow_);
    if (display_ != nullptr) XCloseDisplay(display_);
    if (wakeRead_ >= 0) close(wakeRead_);
    if (wakeWrite_ >= 0) close(wakeWrite_);
}

X11Host::WindowState* X11Host::Find(HostHandle window) {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second;
}

HostHandle X11Host::CreateHostWindow(const HostWindowArgs& args) {
    if (display_ == nullptr || args.rect.width <= 0 || args.rect.height <= 0) return 0;
    XSetWindowAttributes attrs{};
    attrs.background_pixel = WhitePixel(display_, screen_);
    attrs.event_mask = ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask |
                       PointerMotionMask | LeaveWindowMask | KeyPressMask | KeyReleaseMask | FocusChangeMask;
    unsigned long mask = CWBackPixel | CWEventMask;
    // Where a compositor runs, a 32-bit visual lets the skin's own alpha
    // (rounded, shadowed corners) show; without one the window is opaque.
    XVisualInfo argb{};
    Visual* visual = DefaultVisual(display_, screen_);
    int depth = DefaultDepth(display_, screen_);
    if (CompositorRunning() && XMatchVisualInfo(display_, screen_, 32, TrueColor, &argb) != 0) {
        visual = argb.visual;
        depth = 32;
        attrs.colormap = XCreateColormap(display_, RootWindow(display_, screen_), visual, AllocNone);
        attrs.background_pixel = 0;
        attrs.border_pixel = 0;
        mask |= CWColormap | CWBorderPixel;
    }
    ::Window w = XCreateWindow(display_, RootWindow(display_, screen_), args.rect.left, args.rect.top,
                               static_cast<unsigned>(args.rect.width), static_cast<unsigned>(args.rect.height), 0,
                               depth, InputOutput, visual, mask, &attrs);
    if (w == 0) return 0;
    auto* state = new WindowState;
    state->visual = visual;
    state->depth = depth;
    state->className = args.className;
    state->style = args.style;
    state->rect = args.rect;
    state->restored = args.rect;
    state->gc = XCreateGC(display_, w, 0, nullptr);
    windows_[w] = state;

    XClassHint hint;
    std::string cls = System().GbkToUtf8(args.className);
    std::string name = "qinghe";
    hint.res_name = name.data();
    hint.res_class = cls.data();
    XSetClassHint(display_, w, &hint);
    XSetWMProtocols(display_, w, &wmDelete_, 1);
    // No decorations: the toolkit draws the caption and frame itself.
    struct { unsigned long flags, functions, decorations; long inputMode; unsigned long status; } motif{2, 0, 0, 0, 0};
    Atom motifAtom = XInternAtom(display_, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display_, w, motifAtom, motifAtom, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&motif), 5);
    XSizeHints size{};
    size.flags = PPosition | PSize;
    size.x = args.rect.left;
    size.y = args.rect.top;
    size.width = args.rect.width;
    size.height = args.rect.height;
    XSetWMNormalHints(display_, w, &size);
    SetTitle(w, args.title);
    if (args.show) ShowWindow(w, true);
    XFlush(display_);
    return w;
}

void X11Host::Attach(HostHandle window, WindowClient* client) {
    if (WindowState* w = Find(window)) w->client = client;
}

void X11Host::SetCaretRect(HostHandle window, const RectI& caret) {
    if (WindowState* w = Find(window)) w->caret = caret;
}

std::intptr_t X11Host::Send(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    WindowState* w = Find(window);
    if (w == nullptr) return 0;
    if (w->client != nullptr) return w->client->HandleMessage(message, wParam, lParam);
    return DefaultProc(window, message, wParam, lParam);
}

std::intptr_t X11Host::DefaultProc(HostHandle window, int message, std::intptr_t, std::intptr_t) {
    if (message == msg::kClose) DestroyWindow(window);
    return 0;
}

void X11Host::PostMessage(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        posted_.push_back(Posted{window, message, wParam, lParam});
    }
    if (wakeWrite_ >= 0) {
        char c = 1;
        [[maybe_unused]] ssize_t n = write(wakeWrite_, &c, 1);
    }
}

RectI X11Host::WindowRect(HostHandle window) {
    WindowState* w = Find(window);
    return w ? w->rect : RectI{};
}

void X11Host::MoveWindow(HostHandle window, const RectI& rect) {
    if (Find(window) == nullptr) return;
    XMoveResizeWindow(display_, window, rect.left, rect.top, static_cast<unsigned>(std::max(1, rect.width)),
                      static_cast<unsigned>(std::max(1, rect.height)));
    XFlush(display_);
}

void X11Host::ShowWindow(HostHandle window, bool show) {
    WindowState* w = Find(window);
    if (w == nullptr) return;
    if (show) {
        XMapRaised(display_, window);
        // Wait for the map, so that presentation right after reaches the screen.
        XEvent e;
        XSync(display_, False);
        while (!w->mapped && XCheckTypedWindowEvent(display_, window, MapNotify, &e)) w->mapped = true;
        w->mapped = true;
    } else {
        XUnmapWindow(display_, window);
        w->mapped = false;
    }
    XFlush(display_);
}

void X11Host::SetMaximized(HostHandle window, bool maximized) {
    WindowState* w = Find(window);
    if (w == nullptr || w->maximized == maximized) return;
    if (maximized) w->restored = w->rect;
    w->maximized = maximized;
    MoveWindow(window, maximized ? WorkArea() : w->restored);
}

bool X11Host::IsMaximized(HostHandle window) {
    WindowState* w = Find(window);
    return w != nullptr && w->maximized;
}

void X11Host::Minimize(HostHandle window) {
    if (Find(window) != nullptr) XIconifyWindow(display_, window, screen_);
}

void X11Host::DestroyWindow(HostHandle window) {
    WindowState* w = Find(window);
    if (w == nullptr) return;
    Send(window, msg::kDestroy, 0, 0);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto it = calls_.begin(); it != calls_.end();) {
            if (CallWindow(*it) == window) {
                FinishCall(*it, false);
                it = calls_.erase(it);
            } else {
                ++it;
            }
        }
    }
    done_.notify_all();
    XFreeGC(display_, w->gc);
    XDestroyWindow(display_, window);
    XFlush(display_);
    windows_.erase(window);
    delete w;
}

void X11Host::SetTitle(HostHandle window, const Text& title) {
    WindowState* w = Find(window);
    if (w == nullptr) return;
    w->title = title;
    std::string utf8 = System().GbkToUtf8(title);
    XChangeProperty(display_, window, netWmName_, utf8_, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
    XChangeProperty(display_, window, XA_WM_NAME, utf8_, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
    if (w->client != nullptr) Send(window, msg::kSetText, 0, 0);
}

Text X11Host::Title(HostHandle window) {
    WindowState* w = Find(window);
    return w ? w->title : Text();
}

std::uint32_t X11Host::Style(HostHandle window) {
    WindowState* w = Find(window);
    return w ? w->style : 0;
}

void X11Host::SetStyle(HostHandle window, std::uint32_t style) {
    if (WindowState* w = Find(window)) w->style = style;
}

void X11Host::BeginMove(HostHandle window) {
    if (Find(window) == nullptr) return;
    // The window manager moves the window (_NET_WM_MOVERESIZE, move = 8).
    ::Window root, child;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(display_, window, &root, &child, &rx, &ry, &wx, &wy, &mask);
    XUngrabPointer(display_, CurrentTime);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(display_, "_NET_WM_MOVERESIZE", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = rx;
    e.xclient.data.l[1] = ry;
    e.xclient.data.l[2] = 8;
    e.xclient.data.l[3] = Button1;
    e.xclient.data.l[4] = 1;
    XSendEvent(display_, RootWindow(display_, screen_), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XFlush(display_);
}

void X11Host::Present(HostHandle window, const Bitmap& image, const RectI& area, int alpha) {
    WindowState* w = Find(window);
    if (w == nullptr || image.Empty()) return;
    RectI a = ClipToBitmap(area, image.Width(), image.Height());
    if (a.Empty()) return;
    XImage* xi = XCreateImage(display_, w->visual, static_cast<unsigned>(w->depth), ZPixmap, 0,
                              reinterpret_cast<char*>(const_cast<std::uint32_t*>(image.Data())),
                              static_cast<unsigned>(image.Width()), static_cast<unsigned>(image.Height()), 32,
                              image.Stride());
    if (xi == nullptr) return;
    XPutImage(display_, window, w->gc, xi, a.left, a.top, a.left, a.top, static_cast<unsigned>(a.width),
              static_cast<unsigned>(a.height));
    xi->data = nullptr;  // the pixels belong to the bitmap
    XDestroyImage(xi);
    if (alpha != w->alpha) {
        w->alpha = alpha;
        if (alpha >= 255) {
            XDeleteProperty(display_, window, opacity_);
        } else {
            unsigned long value = static_cast<unsigned long>(std::max(0, alpha)) * 0x01010101ul;
            XChangeProperty(display_, window, opacity_, XA_CARDINAL, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(&value), 1);
        }
    }
    XFlush(display_);
}

void X11Host::SetCapture(HostHandle window) {
    if (Find(window) == nullptr) return;
    XGrabPointer(display_, window, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                 GrabModeAsync, None, None, CurrentTime);
}

void X11Host::ReleaseCapture(HostHandle) {
    if (display_ != nullptr) XUngrabPointer(display_, CurrentTime);
}

void X11Host::SetFocus(HostHandle window) {
    WindowState* w = Find(window);
    if (w == nullptr || !w->mapped) return;
    XSetInputFocus(display_, window, RevertToParent, CurrentTime);
}

bool X11Host::IsActive(HostHandle window) {
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    return focus == window;
}

void X11Host::SetCursor(HostHandle window, int cursorId) {
    WindowState* w = Find(window);
    if (w == nullptr || w->cursorId == cursorId) return;
    unsigned shape = cursorId == kCursorHand ? XC_hand2 : cursorId == kCursorIBeam ? XC_xterm : XC_left_ptr;
    Cursor c = XCreateFontCursor(display_, shape);
    XDefineCursor(display_, window, c);
    XFreeCursor(display_, c);
    w->cursorId = cursorId;
}


bool X11Host::CompositorRunning() {
    const std::string name = "_NET_WM_CM_S" + std::to_string(screen_);
    return XGetSelectionOwner(display_, XInternAtom(display_, name.c_str(), False)) != None;
}

RectI X11Host::ScreenRect() {
    if (display_ == nullptr) return RectI{};
    return RectI{0, 0, DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)};
}

RectI X11Host::WorkArea() {
    RectI screen = ScreenRect();
    if (display_ == nullptr) return screen;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Atom workArea = XInternAtom(display_, "_NET_WORKAREA", True);
    if (workArea != None &&
        XGetWindowProperty(display_, RootWindow(display_, screen_), workArea, 0, 4, False, XA_CARDINAL, &type,
                           &format, &count, &after, &data) == Success &&
        data != nullptr && count >= 4 && format == 32) {
        const long* v = reinterpret_cast<const long*>(data);
        screen = RectI{static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]), static_cast<int>(v[3])};
    }
    if (data != nullptr) XFree(data);
    return screen;
}

RectI X11Host::MaxTrackSize() {
    RectI s = ScreenRect();
    return RectI{0, 0, s.width + 12, s.height + 12};
}

Text X11Host::SystemFontFace(int) { return Text(); }

void X11Host::Sleep(int milliseconds) {
    XFlush(display_);
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace qh::x11
