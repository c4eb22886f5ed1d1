// The toolkit over real X11 windows: what the window menu, the size limits
// and presentation do reaches the X server, as another client sees it.
#include "tests/toolkit/toolkit_fixture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <vector>

namespace qh {
namespace {

// Another client of the same X server.
class Observer {
public:
    Observer() : d(XOpenDisplay(nullptr)) {}
    ~Observer() { XCloseDisplay(d); }
    Observer(const Observer&) = delete;
    Observer& operator=(const Observer&) = delete;

    RectI Geometry(HostHandle window) {
        XSync(d, False);
        XWindowAttributes a{};
        XGetWindowAttributes(d, window, &a);
        return RectI{a.x, a.y, a.width, a.height};
    }
    bool Viewable(HostHandle window) {
        XSync(d, False);
        XWindowAttributes a{};
        XGetWindowAttributes(d, window, &a);
        return a.map_state == IsViewable;
    }
    // Whether the window is still among the top-level windows.
    bool Exists(HostHandle window) {
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count);
        const bool found = std::find(children, children + count, static_cast<::Window>(window)) != children + count;
        if (children != nullptr) XFree(children);
        return found;
    }

    Display* d;
};

bool SameRect(const RectI& a, const RectI& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

class X11WindowTest : public ToolkitTest {
protected:
    X11WindowTest() { flags = kFlagCloseButton | kFlagMaximize | kFlagMinimize; }
    void SetUp() override {
        ToolkitTest::SetUp();
        ASSERT_NE(observer.d, nullptr);
        host.ShowWindow(hwnd, true);
        // Everything the host asked of the server is done before a check.
        host.ProcessPending();
    }

    Observer observer;
};

TEST_F(X11WindowTest, WindowMenuMinimizeReachesTheX11Window) {
    // A minimize is a request to the window manager: WM_CHANGE_STATE sent to
    // the root, which any client that watches the root sees.
    XSelectInput(observer.d, DefaultRootWindow(observer.d), SubstructureNotifyMask);
    XSync(observer.d, False);
    host.Send(hwnd, msg::kCommand, msg::kScMinimize, 0);
    EXPECT_FALSE(host.Visible(hwnd));
    host.ProcessPending();
    XSync(observer.d, False);
    const Atom changeState = XInternAtom(observer.d, "WM_CHANGE_STATE", False);
    bool iconic = false;
    XEvent e;
    while (XCheckTypedEvent(observer.d, ClientMessage, &e)) {
        iconic = iconic || (e.xclient.window == hwnd && e.xclient.message_type == changeState &&
                            e.xclient.data.l[0] == IconicState);
    }
    EXPECT_TRUE(iconic);

    // Restore from the same menu brings it back.
    host.Send(hwnd, msg::kCommand, msg::kScRestore, 0);
    EXPECT_TRUE(host.Visible(hwnd));
    host.ProcessPending();
    EXPECT_TRUE(observer.Viewable(hwnd));
    EXPECT_TRUE(host.Exists(hwnd));
}

// What a window manager does on its own: a minimize (WM_STATE iconic, then
// unmapped) and a restore (mapped again) are seen; a moment unmapped without
// becoming an icon (as when it is put into a frame) leaves the window shown.
TEST_F(X11WindowTest, AWindowManagersMinimizeAndRestoreAreSeen) {
    const Atom wmState = XInternAtom(observer.d, "WM_STATE", False);
    auto setState = [&](long state) {
        const long value[2] = {state, 0};
        XChangeProperty(observer.d, hwnd, wmState, wmState, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(value), 2);
    };
    setState(IconicState);
    XUnmapWindow(observer.d, hwnd);
    XSync(observer.d, False);
    host.ProcessPending();
    EXPECT_FALSE(host.Visible(hwnd));

    setState(NormalState);
    XMapWindow(observer.d, hwnd);
    XSync(observer.d, False);
    host.ProcessPending();
    EXPECT_TRUE(host.Visible(hwnd));

    XUnmapWindow(observer.d, hwnd);
    XSync(observer.d, False);
    host.ProcessPending();
    EXPECT_TRUE(host.Visible(hwnd));
}

TEST_F(X11WindowTest, WindowMenuMaximizeRestoreAndCloseReachTheX11Window) {
    const RectI before = observer.Geometry(hwnd);
    host.Send(hwnd, msg::kCommand, msg::kScMaximize, 0);
    EXPECT_TRUE(host.IsMaximized(hwnd));
    host.ProcessPending();
    // The place and size the toolkit answers for a maximized window: the
    // work area, one pixel short at the bottom.
    const RectI work = host.WorkArea();
    EXPECT_TRUE(SameRect(observer.Geometry(hwnd), RectI{work.left, work.top, work.width, work.height - 1}));
    EXPECT_EQ(window.ClientWidth(), work.width);
    EXPECT_EQ(window.ClientHeight(), work.height - 1);

    host.Send(hwnd, msg::kCommand, msg::kScRestore, 0);
    EXPECT_FALSE(host.IsMaximized(hwnd));
    host.ProcessPending();
    EXPECT_TRUE(SameRect(observer.Geometry(hwnd), before));
    EXPECT_EQ(window.ClientWidth(), before.width);

    host.Send(hwnd, msg::kCommand, msg::kScClose, 0);
    host.ProcessPending();
    EXPECT_FALSE(host.Exists(hwnd));
    XSync(observer.d, False);
    EXPECT_FALSE(observer.Exists(hwnd));
}

TEST_F(X11WindowTest, TheMinimumTrackSizeHoldsOnX11) {
    // Three caption buttons and a close button: 28 x 3 + 11 + 40 by 40.
    host.MoveWindow(hwnd, RectI{10, 10, 50, 10});
    host.ProcessPending();
    RectI r = observer.Geometry(hwnd);
    EXPECT_EQ(r.width, 135);
    EXPECT_EQ(r.height, 40);

    // Made smaller by another client (or a window manager), it takes the
    // smallest allowed size again.
    XResizeWindow(observer.d, hwnd, 60, 20);
    XSync(observer.d, False);
    host.ProcessPending();
    host.ProcessPending();
    r = observer.Geometry(hwnd);
    EXPECT_EQ(r.width, 135);
    EXPECT_EQ(r.height, 40);
    EXPECT_EQ(host.WindowRect(hwnd).width, 135);
    EXPECT_EQ(window.ClientWidth(), 135);
    EXPECT_EQ(window.ClientHeight(), 40);

    // A window manager learns the limit from the size hints.
    XSizeHints hints{};
    long supplied = 0;
    ASSERT_NE(XGetWMNormalHints(observer.d, hwnd, &hints, &supplied), 0);
    EXPECT_TRUE(hints.flags & PMinSize);
    EXPECT_EQ(hints.min_width, 135);
    EXPECT_EQ(hints.min_height, 40);
}

TEST_F(X11WindowTest, ControlsAndBackgroundReachTheXServer) {
    Probe p;
    ASSERT_TRUE(p.Create(hwnd, MakeRect(10, 30, 40, 20)));
    host.MouseMove(hwnd, 20, 40);
    host.ProcessPending();
    // Read back from the server: the hovered control, and the white background.
    EXPECT_TRUE(Near(ScreenAt(20, 40), StateColor(kStateHover)));
    EXPECT_TRUE(Near(ScreenAt(100, 100), 0xFFFFFFFFu));
}

}  // namespace
}  // namespace qh
