// The X11 host against a real X server (run under Xvfb): the clipboard is the
// CLIPBOARD selection that other clients read and write, a tooltip is a
// window on the screen, typed characters arrive as GBK bytes, a beep rings
// the bell, and other clients' windows vanishing or messages arriving do no
// harm. The other client is a second display connection, speaking plain Xlib.
// GoogleTest comes before Xlib, whose None macro clashes with its names.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/toolkit/test_backend.h"
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"
#include "toolkit/x11/x11_host.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace qh {
namespace {

// Records what the window receives; ends the host's loop on message 1024.
class QuitOnUser : public WindowClient {
public:
    explicit QuitOnUser(x11::X11Host& host) : host_(host) {}
    std::intptr_t HandleMessage(int message, std::intptr_t wParam, std::intptr_t) override {
        received.emplace_back(message, wParam);
        if (message == msg::kUser) host_.Quit(0);
        return 0;
    }
    // The wParam of every message of one kind, in order.
    std::vector<std::intptr_t> Params(int message) const {
        std::vector<std::intptr_t> params;
        for (const auto& [m, w] : received) {
            if (m == message) params.push_back(w);
        }
        return params;
    }

    std::vector<std::pair<int, std::intptr_t>> received;

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

// The message box's beep is the X bell: another client that listens for
// bells through XKB hears it ring.
TEST_F(X11HostTest, BeepRingsTheXBellThatOtherClientsHear) {
    Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr);
    int opcode = 0, xkbEvent = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    ASSERT_TRUE(XkbQueryExtension(d, &opcode, &xkbEvent, &error, &major, &minor)) << "the server has no XKB";
    XkbSelectEvents(d, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
    XSync(d, False);
    host.Beep(32);
    bool rang = false;
    for (int wait = 0; wait < 200 && !rang; ++wait) {
        while (XPending(d) > 0) {
            XkbEvent e;
            XNextEvent(d, &e.core);
            rang = rang || (e.type == xkbEvent && e.any.xkb_type == XkbBellNotify);
        }
        if (!rang) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    XCloseDisplay(d);
    EXPECT_TRUE(rang);
}

// A top-level window of another client with a class and a UTF-8 title, as
// NotifyWindows looks for them.
::Window MakeNamedWindow(Display* d, const char* cls, const std::string& utf8Title) {
    ::Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 10, 10, 0, 0, 0);
    std::string name = "other", klass = cls;
    XClassHint hint{name.data(), klass.data()};
    XSetClassHint(d, w, &hint);
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False), XInternAtom(d, "UTF8_STRING", False), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(utf8Title.data()),
                    static_cast<int>(utf8Title.size()));
    return w;
}

const std::string kOtherTitle = reinterpret_cast<const char*>(u8"青禾计算器");

// Regression: a window of another client that went away between the walk's
// look at the window tree and its questions about the window ended the
// process (Xlib's default handler exits on BadWindow).
TEST_F(X11HostTest, NotifyWindowsSurvivesAWindowThatVanishes) {
    // A steady window that must hear every notification, and another client
    // that makes and destroys windows of the same class and title as fast as
    // the server lets it, so that the walk keeps meeting windows that are gone.
    Display* steady = XOpenDisplay(nullptr);
    ASSERT_NE(steady, nullptr);
    const ::Window target = MakeNamedWindow(steady, "Ex_DirectUI", kOtherTitle);
    XSync(steady, False);
    std::atomic<bool> stop{false};
    std::thread churn([&] {
        Display* d = XOpenDisplay(nullptr);
        while (!stop) {
            const ::Window w = MakeNamedWindow(d, "Ex_DirectUI", kOtherTitle);
            XSync(d, False);
            XDestroyWindow(d, w);
            XSync(d, False);
        }
        XCloseDisplay(d);
    });
    const int errorsBefore = host.XErrors();
    int walks = 0;
    for (; walks < 5000 && host.XErrors() == errorsBefore; ++walks) {
        EXPECT_GE(host.NotifyWindows("Ex_DirectUI", "青禾计算器", msg::kUser), 1);
    }
    stop = true;
    churn.join();
    EXPECT_GT(host.XErrors(), errorsBefore) << "no window vanished in " << walks << " walks";
    // Every walk went on past the vanished windows and reached the steady one.
    XSync(steady, False);
    int heard = 0;
    XEvent e;
    while (XCheckTypedWindowEvent(steady, target, ClientMessage, &e)) {
        if (e.xclient.data.l[0] == msg::kUser) ++heard;
    }
    EXPECT_EQ(heard, walks);
    XCloseDisplay(steady);
}

// Any client may send a window the toolkit's ClientMessage. Only the
// programs' own messages (the WM_USER range) get through: a number from
// another process must never reach a handler that reads it as an address.
TEST_F(X11HostTest, OtherClientsReachOnlyTheProgramsOwnMessages) {
    Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr);
    const Atom toolkitMessage = XInternAtom(d, "_QINGHE_TOOLKIT_MESSAGE", False);
    for (const long message : {long{msg::kGetMinMaxInfo}, long{msg::kSysKeyForward}, long{msg::kFadeTimer},
                               long{msg::kUser} + 5, long{msg::kUser}}) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = window;
        e.xclient.message_type = toolkitMessage;
        e.xclient.format = 32;
        e.xclient.data.l[0] = message;
        e.xclient.data.l[1] = 0x1234;  // an "address" in the sender's process
        e.xclient.data.l[2] = 0x5678;
        XSendEvent(d, window, False, NoEventMask, &e);
    }
    XSync(d, False);
    XCloseDisplay(d);
    host.RunLoop();  // ends on 1024
    EXPECT_TRUE(client.Params(msg::kGetMinMaxInfo).empty());
    EXPECT_TRUE(client.Params(msg::kSysKeyForward).empty());
    EXPECT_TRUE(client.Params(msg::kFadeTimer).empty());
    EXPECT_EQ(client.Params(msg::kUser + 5), std::vector<std::intptr_t>{0x1234});
    EXPECT_EQ(client.Params(msg::kUser).size(), 1u);
}

// Presses and releases the key of sym in window as another client sends it;
// a keysym the keyboard lacks first gets a keycode that had none.
void SendKey(HostHandle window, KeySym sym) {
    Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr);
    KeyCode code = XKeysymToKeycode(d, sym);
    if (code == 0) {
        int first = 0, last = 0, perCode = 0;
        XDisplayKeycodes(d, &first, &last);
        KeySym* map = XGetKeyboardMapping(d, static_cast<KeyCode>(first), last - first + 1, &perCode);
        for (int k = last; k >= first && code == 0; --k) {
            bool empty = true;
            for (int i = 0; i < perCode; ++i) empty = empty && map[(k - first) * perCode + i] == NoSymbol;
            if (empty) code = static_cast<KeyCode>(k);
        }
        XFree(map);
        ASSERT_NE(code, 0) << "no free keycode";
        XChangeKeyboardMapping(d, code, 1, &sym, 1);
        XSync(d, False);
    }
    XKeyEvent key{};
    key.type = KeyPress;
    key.display = d;
    key.window = window;
    key.root = DefaultRootWindow(d);
    key.time = CurrentTime;
    key.same_screen = True;
    key.keycode = code;
    XSendEvent(d, window, True, KeyPressMask, reinterpret_cast<XEvent*>(&key));
    key.type = KeyRelease;
    XSendEvent(d, window, True, KeyReleaseMask, reinterpret_cast<XEvent*>(&key));
    XSync(d, False);
    XCloseDisplay(d);
}

// Typed characters, with an X input method and (XMODIFIERS naming one that
// does not run) without one.
class X11CharacterTest : public ::testing::TestWithParam<bool> {
protected:
    // The input method opens with the first frame on a mapped window, and
    // reads XMODIFIERS then; the variable is put back after the test.
    void SetUp() override {
        const char* old = std::getenv("XMODIFIERS");
        savedModifiers = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
        if (!GetParam()) setenv("XMODIFIERS", "@im=qinghe-no-such-method", 1);
        host = std::make_unique<x11::X11Host>();
        ASSERT_TRUE(host->Ok()) << "no X display";
        HostWindowArgs args;
        args.title = "keys";
        args.rect = RectI{20, 20, 200, 120};
        args.show = true;
        window = host->CreateHostWindow(args);
        ASSERT_NE(window, 0u);
        client = std::make_unique<QuitOnUser>(*host);
        host->Attach(window, client.get());
        EXPECT_FALSE(host->HasInputContext(window)) << "opened before the first frame";
        host->Present(window, Bitmap(args.rect.width, args.rect.height), RectI{0, 0, args.rect.width, args.rect.height},
                      255);
        ASSERT_EQ(host->HasInputContext(window), GetParam());
        host->ProcessQueued();
    }
    // The WM_CHAR bytes one key gives.
    std::vector<std::intptr_t> Type(KeySym sym) {
        client->received.clear();
        SendKey(window, sym);
        host->ProcessQueued();
        return client->Params(msg::kChar);
    }
    void TearDown() override {
        if (savedModifiers) {
            setenv("XMODIFIERS", savedModifiers->c_str(), 1);
        } else {
            unsetenv("XMODIFIERS");
        }
    }

    std::optional<std::string> savedModifiers;
    std::unique_ptr<x11::X11Host> host;
    std::unique_ptr<QuitOnUser> client;
    HostHandle window = 0;
};

TEST_P(X11CharacterTest, AnAsciiKeyIsOneCharacter) {
    EXPECT_EQ(Type(XK_a), std::vector<std::intptr_t>{'a'});
    EXPECT_EQ(client->Params(msg::kKeyDown), std::vector<std::intptr_t>{'A'});
    EXPECT_EQ(client->Params(msg::kKeyUp), std::vector<std::intptr_t>{'A'});
    // Delete is a key, not a character.
    EXPECT_TRUE(Type(XK_Delete).empty());
    EXPECT_EQ(client->Params(msg::kKeyDown), std::vector<std::intptr_t>{vk::kDelete});
}

TEST_P(X11CharacterTest, NonAsciiCharactersArriveAsGbkBytesInOrder) {
    // ü is A8 B9 in GBK, 青 is C7 E0: the lead byte, then the trail byte.
    EXPECT_EQ(Type(XK_udiaeresis), (std::vector<std::intptr_t>{0xA8, 0xB9}));
    EXPECT_EQ(Type(0x1009752), (std::vector<std::intptr_t>{0xC7, 0xE0}));
}

INSTANTIATE_TEST_SUITE_P(InputMethod, X11CharacterTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "WithInputMethod" : "WithoutInputMethod";
                         });

}  // namespace
}  // namespace qh
