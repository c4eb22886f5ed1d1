// The X11 host against a real X server (run under Xvfb): the clipboard is the
// CLIPBOARD selection that other clients read and write, and a tooltip is a
// window on the screen. The other client is a second display connection on
// its own thread, speaking plain Xlib.
// GoogleTest comes before Xlib, whose None macro clashes with its names.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/toolkit/test_backend.h"
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"
#include "toolkit/x11/x11_host.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace qh {
namespace {

// Ends the host's loop on message 1024.
class QuitOnUser : public WindowClient {
public:
    explicit QuitOnUser(x11::X11Host& host) : host_(host) {}
    std::intptr_t HandleMessage(int message, std::intptr_t, std::intptr_t) override {
        if (message == msg::kUser) host_.Quit(0);
        return 0;
    }

private:
    x11::X11Host& host_;
};

const std::string kUtf8Text = reinterpret_cast<const char*>(u8"青禾 clipboard");

class X11HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Ok()) << "no X display";
        HostWindowArgs args;
        args.title = "x11 test";
        args.rect = RectI{20, 20, 200, 120};
        args.show = true;
        window = host.CreateHostWindow(args);
        ASSERT_NE(window, 0u);
        host.Attach(window, &client);
    }
    void TearDown() override {
        if (window != 0) host.DestroyWindow(window);
    }

    x11::X11Host host;
    QuitOnUser client{host};
    HostHandle window = 0;
};

// What another client gets when it asks for the clipboard as UTF8_STRING.
std::string ReadClipboardAsAnotherClient() {
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) return "no display";
    ::Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(d, "CLIPBOARD", False), utf8 = XInternAtom(d, "UTF8_STRING", False);
    const Atom property = XInternAtom(d, "TEST_CLIP", False);
    XConvertSelection(d, clipboard, utf8, property, w, CurrentTime);
    XFlush(d);
    std::string text = "no answer";
    XEvent e;
    XNextEvent(d, &e);  // the only event this window asks for
    if (e.type == SelectionNotify && e.xselection.property != None) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(d, w, property, 0, 4096, True, AnyPropertyType, &type, &format, &items, &after, &data);
        text = type == utf8 && data != nullptr ? std::string(reinterpret_cast<char*>(data), items) : "wrong type";
        if (data != nullptr) XFree(data);
    }
    XDestroyWindow(d, w);
    XCloseDisplay(d);
    return text;
}

TEST_F(X11HostTest, ClipboardTextIsServedToOtherClientsAsUtf8) {
    ASSERT_TRUE(host.SetClipboardText(window, "青禾 clipboard"));
    std::string seen;
    std::thread other([&] {
        seen = ReadClipboardAsAnotherClient();
        host.PostMessage(window, msg::kUser, 0, 0);
    });
    host.RunLoop();  // serves the request, ends on 1024
    other.join();
    EXPECT_EQ(seen, kUtf8Text);
    // The host reads its own text back without a round trip.
    EXPECT_EQ(host.ClipboardText(window), "青禾 clipboard");
}

TEST_F(X11HostTest, ClipboardReadsAnotherClientsTextAndGivesUpWhenNobodyAnswers) {
    std::atomic<bool> owning{false}, served{false};
    std::atomic<bool> answer{true};
    auto owner = [&] {
        Display* d = XOpenDisplay(nullptr);
        ::Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
        const Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
        XSetSelectionOwner(d, clipboard, w, CurrentTime);
        XSync(d, False);
        owning = true;
        XEvent e;
        XNextEvent(d, &e);
        if (e.type == SelectionRequest && answer) {
            const XSelectionRequestEvent& r = e.xselectionrequest;
            XChangeProperty(d, r.requestor, r.property, r.target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(kUtf8Text.data()), static_cast<int>(kUtf8Text.size()));
            XEvent reply{};
            reply.xselection.type = SelectionNotify;
            reply.xselection.requestor = r.requestor;
            reply.xselection.selection = r.selection;
            reply.xselection.target = r.target;
            reply.xselection.property = r.property;
            reply.xselection.time = r.time;
            XSendEvent(d, r.requestor, False, NoEventMask, &reply);
        }
        XSync(d, False);
        served = true;
        while (!answer) std::this_thread::yield();  // keep owning until the silent case is over
        XDestroyWindow(d, w);
        XCloseDisplay(d);
    };
    std::thread first(owner);
    while (!owning) std::this_thread::yield();
    EXPECT_EQ(host.ClipboardText(window), "青禾 clipboard");  // converted back to GBK
    first.join();

    // An owner that never answers: the read ends with an empty text.
    owning = served = false;
    answer = false;
    std::thread silent(owner);
    while (!owning) std::this_thread::yield();
    EXPECT_EQ(host.ClipboardText(window), "");
    answer = true;
    silent.join();
}

TEST_F(X11HostTest, TooltipIsAWindowOnTheScreenWithText) {
    auto graphics = MakeTestGraphicsDriver();
    ToolkitStartup(host, *graphics);
    host.ShowTooltip(window, "提示文字");
    ASSERT_NE(host.TooltipWindow(), 0u);
    Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr);
    XWindowAttributes a{};
    XGetWindowAttributes(d, host.TooltipWindow(), &a);
    EXPECT_EQ(a.map_state, IsViewable);
    EXPECT_TRUE(a.override_redirect);
    EXPECT_GT(a.width, 20);
    // Dark text pixels on the light face.
    XImage* image = XGetImage(d, host.TooltipWindow(), 0, 0, static_cast<unsigned>(a.width),
                              static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    int dark = 0;
    for (int y = 2; y < a.height - 2; ++y) {
        for (int x = 2; x < a.width - 2; ++x) {
            if ((XGetPixel(image, x, y) & 0xFF) < 0x60) ++dark;
        }
    }
    XDestroyImage(image);
    EXPECT_GT(dark, 10);
    host.ShowTooltip(window, "");
    XGetWindowAttributes(d, host.TooltipWindow(), &a);
    EXPECT_EQ(a.map_state, IsUnmapped);
    XCloseDisplay(d);
    ToolkitShutdown();
}

}  // namespace
}  // namespace qh
