// The X11 host's windows: creation and destruction, place, size and state,
// title, presentation, capture, focus and cursors, screen and work area. The
// emulated bookkeeping keeps each window's record; this file carries out the
// native side.
#include "toolkit/x11/x11_host.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <cstring>
#include <thread>
#include <vector>

#include "runtime/startup_trace.h"
#include "runtime/system.h"
#include "toolkit/messages.h"
#include "toolkit/x11/x11_accessible.h"
#include "toolkit/x11/x11_state.h"

namespace qh::x11 {

X11Host::X11Host() : windows_(*this, [this] { Wake(); }) {
    XInitThreads();
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) return;
    StartupMark("display opened");
    InstallErrorHandler();
    screen_ = DefaultScreen(display_);
    scale_ = ChooseDesktopScale(std::getenv("QINGHE_SCALE"), XResourceManagerString(display_), std::getenv("GDK_SCALE"));
    InternAtoms();
    StartupMark("atoms");
    ChooseCharacterLocale();
    int fds[2];
    if (pipe(fds) == 0) {
        // Neither end blocks: a full pipe already holds enough wake-ups.
        fcntl(fds[0], F_SETFL, O_NONBLOCK);
        fcntl(fds[1], F_SETFL, O_NONBLOCK);
        wakeRead_ = fds[0];
        wakeWrite_ = fds[1];
    }
    accessibility_ = AccessibilityBridge::Start(display_, [this](HostHandle h) { return windows_.Visible(h); });
}

// Every atom the host names, asked for in one round trip rather than one
// each.
void X11Host::InternAtoms() {
    struct NamedAtom {
        const char* name;
        Atom* atom;
    };
    const NamedAtom wanted[] = {
        {"WM_DELETE_WINDOW", &wmDelete_},
        {"WM_PROTOCOLS", &wmProtocols_},
        {"_QINGHE_TOOLKIT_MESSAGE", &toolkitMessage_},
        {"_NET_WM_NAME", &netWmName_},
        {"UTF8_STRING", &utf8_},
        {"_NET_WM_WINDOW_OPACITY", &opacity_},
        {"_MOTIF_WM_HINTS", &motifHints_},
        {"CLIPBOARD", &clipboardAtom_},
        {"TARGETS", &targetsAtom_},
        {"_QINGHE_CLIPBOARD", &clipProperty_},
    };
    constexpr int kCount = static_cast<int>(std::size(wanted));
    char* names[kCount];
    Atom atoms[kCount] = {};
    for (int i = 0; i < kCount; ++i) names[i] = const_cast<char*>(wanted[i].name);
    XInternAtoms(display_, names, kCount, False, atoms);
    for (int i = 0; i < kCount; ++i) *wanted[i].atom = atoms[i];
}

X11Host::~X11Host() {
    accessibility_.reset();
    // Windows still open go with the connection; what Xlib keeps for them
    // on this side is freed here.
    for (auto& [h, w] : native_) {
        if (w->inputContext != nullptr) XDestroyIC(w->inputContext);
        if (w->gc != nullptr) XFreeGC(display_, w->gc);
        delete w;
    }
    if (display_ != nullptr) {
        CloseInputMethod();
        if (tooltipGc_ != nullptr) XFreeGC(display_, tooltipGc_);
        if (tooltipWindow_ != 0) XDestroyWindow(display_, tooltipWindow_);
        XCloseDisplay(display_);
        RemoveErrorHandler();
    }
    if (wakeRead_ >= 0) close(wakeRead_);
    if (wakeWrite_ >= 0) close(wakeWrite_);
}

X11Host::WindowState* X11Host::Native(HostHandle window) {
    auto it = native_.find(window);
    return it == native_.end() ? nullptr : it->second;
}

void X11Host::Wake() {
    if (wakeWrite_ < 0) return;
    char c = 1;
    [[maybe_unused]] ssize_t n = write(wakeWrite_, &c, 1);
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
    const RectI device = ToDevice(args.rect, scale_);
    ::Window w = XCreateWindow(display_, RootWindow(display_, screen_), device.left, device.top,
                               static_cast<unsigned>(device.width), static_cast<unsigned>(device.height), 0,
                               depth, InputOutput, visual, mask, &attrs);
    if (w == 0) return 0;
    auto* state = new WindowState;
    state->visual = visual;
    state->depth = depth;
    state->parent = RootWindow(display_, screen_);
    state->gc = XCreateGC(display_, w, 0, nullptr);
    native_[w] = state;
    windows_.Add(w, args);
    CreateInputContext(w, *state);

    XClassHint hint;
    std::string cls = System().GbkToUtf8(args.className);
    std::string name = "qinghe";
    hint.res_name = name.data();
    hint.res_class = cls.data();
    XSetClassHint(display_, w, &hint);
    XSetWMProtocols(display_, w, &wmDelete_, 1);
    // No decorations: the toolkit draws the caption and frame itself.
    struct { unsigned long flags, functions, decorations; long inputMode; unsigned long status; } motif{2, 0, 0, 0, 0};
    const Atom motifAtom = motifHints_;
    XChangeProperty(display_, w, motifAtom, motifAtom, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&motif), 5);
    // An owned window is transient for its owner: the window manager keeps
    // it above the owner.
    if (args.owner != 0) XSetTransientForHint(display_, w, static_cast<Window>(args.owner));
    UpdateSizeHints(w);
    SetTitle(w, args.title);
    if (args.show) ShowWindow(w, true);
    XFlush(display_);
    return w;
}

void X11Host::UpdateSizeHints(HostHandle window) {
    const emulated::WindowRecord* w = windows_.Find(window);
    if (w == nullptr) return;
    const RectI rect = ToDevice(w->rect, scale_);
    // The smallest size the client allows, so that a window manager keeps to it.
    const MinMaxInfo limits = windows_.Limits(window);
    XSizeHints size{};
    size.flags = PPosition | PSize | PMinSize;
    size.x = rect.left;
    size.y = rect.top;
    size.width = rect.width;
    size.height = rect.height;
    size.min_width = ToDevice(limits.minTrackSize.x, scale_);
    size.min_height = ToDevice(limits.minTrackSize.y, scale_);
    XSetWMNormalHints(display_, window, &size);
}

void X11Host::Attach(HostHandle window, WindowClient* client) { windows_.Attach(window, client); }

std::intptr_t X11Host::DefaultProc(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    return windows_.DefaultProc(window, message, wParam, lParam);
}

void X11Host::PostMessage(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    windows_.Post(window, message, wParam, lParam);
}

RectI X11Host::WindowRect(HostHandle window) {
    const emulated::WindowRecord* w = windows_.Find(window);
    return w ? w->rect : RectI{};
}

void X11Host::MoveWindow(HostHandle window, const RectI& rect) {
    if (Native(window) == nullptr) return;
    const RectI r = windows_.Constrain(window, rect);
    if (Native(window) == nullptr) return;
    // The server is asked first, so that what the client presents while it
    // handles the new size lands in a window of that size.
    const RectI d = ToDevice(r, scale_);
    XMoveResizeWindow(display_, window, d.left, d.top, static_cast<unsigned>(std::max(1, d.width)),
                      static_cast<unsigned>(std::max(1, d.height)));
    XFlush(display_);
    windows_.Place(window, r);
}

void X11Host::Configured(HostHandle window, const XConfigureEvent& event) {
    WindowState* n = Native(window);
    if (n == nullptr) return;
    // Only the latest of several queued changes counts.
    XConfigureEvent c = event;
    XEvent later;
    while (XCheckTypedWindowEvent(display_, window, ConfigureNotify, &later)) c = later.xconfigure;
    RectI r{c.x, c.y, c.width, c.height};
    // A window manager's own notices and a window right under the root give
    // root coordinates; a window inside a frame is placed relative to it.
    const ::Window root = RootWindow(display_, screen_);
    if (!c.send_event && n->parent != root) {
        ::Window child = 0;
        XTranslateCoordinates(display_, window, root, 0, 0, &r.left, &r.top, &child);
    }
    r = ToLogical(r, scale_);
    // Someone else made the window smaller than the client allows: it takes
    // the smallest allowed size instead.
    const RectI limited = windows_.Constrain(window, r);
    if (Native(window) == nullptr) return;
    if (limited.width != r.width || limited.height != r.height) {
        XResizeWindow(display_, window, static_cast<unsigned>(ToDevice(limited.width, scale_)),
                      static_cast<unsigned>(ToDevice(limited.height, scale_)));
        XFlush(display_);
    }
    windows_.Place(window, limited);
}

void X11Host::ShowWindow(HostHandle window, bool show) {
    WindowState* w = Native(window);
    if (w == nullptr) return;
    windows_.SetShown(window, show);
    if (show) {
        UpdateSizeHints(window);
        if ((w = Native(window)) == nullptr) return;
        XMapRaised(display_, window);
        // Wait for the map, so that presentation right after reaches the screen.
        XEvent e;
        XSync(display_, False);
        while (XCheckTypedWindowEvent(display_, window, MapNotify, &e)) {
        }
        w->mapped = true;
        StartupMark("mapped (round trip)");
        if (accessibility_) accessibility_->WindowShown(window);
    } else {
        XUnmapWindow(display_, window);
        w->mapped = false;
    }
    XFlush(display_);
}

void X11Host::SetMaximized(HostHandle window, bool maximized) {
    if (const auto r = windows_.Maximize(window, maximized)) MoveWindow(window, *r);
}

bool X11Host::IsMaximized(HostHandle window) { return windows_.Maximized(window); }

void X11Host::Minimize(HostHandle window) {
    if (Native(window) == nullptr) return;
    windows_.SetMinimized(window);
    // Asks the window manager (WM_CHANGE_STATE to the root).
    XIconifyWindow(display_, window, screen_);
    XFlush(display_);
}

void X11Host::DestroyWindow(HostHandle window) {
    if (Native(window) == nullptr || !windows_.Destroy(window)) return;
    WindowState* w = Native(window);
    native_.erase(window);
    if (accessibility_) accessibility_->WindowGone(window);
    if (clipboardOwner_ == window) clipboardOwner_ = 0;
    if (w->inputContext != nullptr) XDestroyIC(w->inputContext);
    XFreeGC(display_, w->gc);
    XDestroyWindow(display_, window);
    XFlush(display_);
    delete w;
}

void X11Host::SetTitle(HostHandle window, const Text& title) {
    emulated::WindowRecord* w = windows_.Find(window);
    if (w == nullptr) return;
    w->title = title;
    std::string utf8 = System().GbkToUtf8(title);
    XChangeProperty(display_, window, netWmName_, utf8_, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
    XChangeProperty(display_, window, XA_WM_NAME, utf8_, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
    if (w->client != nullptr) windows_.Send(window, msg::kSetText, 0, 0);
}

Text X11Host::Title(HostHandle window) {
    const emulated::WindowRecord* w = windows_.Find(window);
    return w ? w->title : Text();
}

std::uint32_t X11Host::Style(HostHandle window) {
    const emulated::WindowRecord* w = windows_.Find(window);
    return w ? w->style : 0;
}

void X11Host::SetStyle(HostHandle window, std::uint32_t style) {
    if (emulated::WindowRecord* w = windows_.Find(window)) w->style = style;
}

void X11Host::BeginMove(HostHandle window) {
    if (Native(window) == nullptr) return;
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
    WindowState* w = Native(window);
    if (w == nullptr || image.Empty()) return;
    RectI a = ClipToBitmap(area, image.Width(), image.Height());
    if (a.Empty()) return;
    SetOpacity(*w, window, alpha);
    // An unmapped window keeps no pixels (the server discards what is drawn
    // on it), and its map brings an Expose that presents the whole image:
    // the frames a window draws while it is built are not sent.
    if (!w->mapped) return;
    XImage* xi = XCreateImage(display_, w->visual, static_cast<unsigned>(w->depth), ZPixmap, 0,
                              reinterpret_cast<char*>(const_cast<std::uint32_t*>(image.Data())),
                              static_cast<unsigned>(image.Width()), static_cast<unsigned>(image.Height()), 32,
                              image.Stride());
    if (xi == nullptr) return;
    XPutImage(display_, window, w->gc, xi, a.left, a.top, a.left, a.top, static_cast<unsigned>(a.width),
              static_cast<unsigned>(a.height));
    xi->data = nullptr;  // the pixels belong to the bitmap
    XDestroyImage(xi);
    XFlush(display_);
    if (!firstFramePresented_) {
        firstFramePresented_ = true;
        StartupMark("first frame on screen");
        OpenInputMethod();
    }
}

// A layered window's constant alpha, as the compositor reads it.
void X11Host::SetOpacity(WindowState& w, HostHandle window, int alpha) {
    if (alpha == w.alpha) return;
    w.alpha = alpha;
    if (alpha >= 255) {
        XDeleteProperty(display_, window, opacity_);
    } else {
        unsigned long value = static_cast<unsigned long>(std::max(0, alpha)) * 0x01010101ul;
        XChangeProperty(display_, window, opacity_, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&value), 1);
    }
    XFlush(display_);
}

void X11Host::SetCapture(HostHandle window) {
    WindowState* w = Native(window);
    if (w == nullptr) return;
    windows_.SetCapture(window);
    // The server grabs only a viewable window; a hidden one keeps the capture
    // as a record, as Windows does.
    if (w->mapped) {
        XGrabPointer(display_, window, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                     GrabModeAsync, None, None, CurrentTime);
    }
}

void X11Host::ReleaseCapture(HostHandle window) {
    windows_.ReleaseCapture(window);
    if (display_ != nullptr) XUngrabPointer(display_, CurrentTime);
}

void X11Host::BringToFront(HostHandle window) {
    WindowState* w = Native(window);
    if (w == nullptr) return;
    XRaiseWindow(display_, window);
    SetFocus(window);
    XFlush(display_);
}

void X11Host::SetFocus(HostHandle window) {
    WindowState* w = Native(window);
    if (w == nullptr) return;
    windows_.SetActive(window);
    if (w->mapped) XSetInputFocus(display_, window, RevertToParent, CurrentTime);
}

bool X11Host::IsActive(HostHandle window) { return windows_.IsActive(window); }

void X11Host::SetCursor(HostHandle window, int cursorId) {
    WindowState* w = Native(window);
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

RectI X11Host::DeviceScreen() {
    if (display_ == nullptr) return RectI{};
    return RectI{0, 0, DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)};
}

RectI X11Host::ScreenRect() { return ToLogical(DeviceScreen(), scale_); }

int X11Host::Logical(int device) const { return ToLogical(device, scale_); }

RectI X11Host::WorkArea() {
    RectI screen = DeviceScreen();
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
    return ToLogical(screen, scale_);
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
