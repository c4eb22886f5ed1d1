// The Win32 host's own services on real windows under Wine: what the shared
// toolkit tests do not reach because the test host takes over the clock.
#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "toolkit/messages.h"
#include "toolkit/win32/win32_host.h"
#include "toolkit/win32/top_down_dib.h"

namespace qh::win32 {
namespace {

// Records the messages a window receives and lets the host handle them.
class RecordingClient : public WindowClient {
public:
    RecordingClient(Win32Host& host, HostHandle& window) : host_(host), window_(window) {}
    std::intptr_t HandleMessage(int message, std::intptr_t wParam, std::intptr_t lParam) override {
        messages.push_back(message);
        if (message == WM_TIMER) timerIds.push_back(static_cast<int>(wParam));
        if (message == WM_CHAR) {
            chars.push_back(static_cast<int>(wParam));
            charParams.push_back(lParam);
        }
        if (message == WM_SIZE || message == WM_LBUTTONDOWN) positions.push_back(lParam);
        return host_.DefaultProc(window_, message, wParam, lParam);
    }
    int Count(int message) const {
        int n = 0;
        for (int m : messages) n += m == message;
        return n;
    }
    std::vector<int> messages;
    std::vector<int> timerIds;
    std::vector<int> chars;  // the wParam of each WM_CHAR
    std::vector<std::intptr_t> charParams;
    std::vector<std::intptr_t> positions;  // the lParam of each WM_SIZE and WM_LBUTTONDOWN

private:
    Win32Host& host_;
    HostHandle& window_;
};

class Win32HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        HostWindowArgs args;
        args.title = "青禾计算器测试";
        args.rect = RectI{10, 10, 200, 120};
        window = host.CreateHostWindow(args);
        ASSERT_NE(window, 0u);
        host.Attach(window, &client);
    }
    void TearDown() override {
        if (IsWindow(reinterpret_cast<HWND>(window))) host.DestroyWindow(window);
    }
    // Runs the thread's messages until pred holds or about two seconds pass.
    template <typename Pred>
    bool PumpUntil(Pred pred) {
        for (int i = 0; i < 200 && !pred(); ++i) {
            MSG m;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return pred();
    }
    // Runs the thread's messages for about the given time.
    void PumpFor(int milliseconds) {
        const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
        while (static_cast<LONG>(end - GetTickCount()) > 0) {
            MSG m;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    }

    Win32Host host;
    HostHandle window = 0;
    RecordingClient client{host, window};
};

TEST_F(Win32HostTest, WindowsAreLayeredWithoutANonClientArea) {
    HWND hwnd = reinterpret_cast<HWND>(window);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    wchar_t name[32] = {};
    GetClassNameW(hwnd, name, 32);
    EXPECT_STREQ(name, L"Ex_DirectUI");
    EXPECT_EQ(GetPropW(hwnd, L"addr_wnd"), static_cast<HANDLE>(&client));
    RECT windowRect{}, clientRect{};
    GetWindowRect(hwnd, &windowRect);
    GetClientRect(hwnd, &clientRect);
    EXPECT_EQ(clientRect.right, windowRect.right - windowRect.left);
    EXPECT_EQ(clientRect.bottom, windowRect.bottom - windowRect.top);
    EXPECT_EQ(host.Title(window), "青禾计算器测试");
}

// A move to a 192-DPI monitor (WM_DPICHANGED as Windows sends it): the
// window takes the suggested rectangle, the toolkit hears of the new scale,
// and sizes and mouse positions reach it in logical pixels.
TEST_F(Win32HostTest, AChangeOfDpiTakesTheSuggestedRectangleAndTheToolkitStaysLogical) {
    ASSERT_EQ(host.Scale(window), 1.0f);
    RECT suggested{20, 30, 20 + 400, 30 + 240};
    SendMessageW(reinterpret_cast<HWND>(window), WM_DPICHANGED, MAKEWPARAM(192, 192),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(host.Scale(window), 2.0f);
    EXPECT_EQ(client.Count(WM_DPICHANGED), 1);
    RECT device{};
    GetWindowRect(reinterpret_cast<HWND>(window), &device);
    EXPECT_EQ(device.right - device.left, 400);
    const RectI logical = host.WindowRect(window);
    EXPECT_EQ(logical.left, 10);
    EXPECT_EQ(logical.top, 15);
    EXPECT_EQ(logical.width, 200);
    EXPECT_EQ(logical.height, 120);
    ASSERT_FALSE(client.positions.empty());
    EXPECT_EQ(client.positions.back(), MakeLParam(200, 120));  // the WM_SIZE after the move
    SendMessageW(reinterpret_cast<HWND>(window), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(101, 61));
    EXPECT_EQ(client.positions.back(), MakeLParam(50, 30));
}

TEST_F(Win32HostTest, RealTimersReachTheWindowUntilStopped) {
    host.StartTimer(window, 77, 10);
    ASSERT_TRUE(PumpUntil([&] { return client.timerIds.size() >= 2; }));
    EXPECT_EQ(client.timerIds[0], 77);
    host.StopTimer(window, 77);
    PumpFor(30);  // let any tick already queued arrive
    const size_t seen = client.timerIds.size();
    PumpFor(100);
    EXPECT_EQ(client.timerIds.size(), seen);
}

TEST_F(Win32HostTest, ClipboardKeepsChineseText) {
    ASSERT_TRUE(host.SetClipboardText(window, "月供 7,485.20 元"));
    EXPECT_EQ(host.ClipboardText(window), "月供 7,485.20 元");
}

TEST_F(Win32HostTest, NotifyWindowsFindsByClassAndTitleOnly) {
    EXPECT_EQ(host.NotifyWindows("Ex_DirectUI", "青禾计算器测试", msg::kUser), 1);
    EXPECT_EQ(client.Count(msg::kUser), 1);
    // A prefix of the title is no match. (Not the calculator's own title:
    // the message would end a calculator that another test runs under the
    // same Wine server.)
    EXPECT_EQ(host.NotifyWindows("Ex_DirectUI", "青禾计算器测", msg::kUser), 0);
    EXPECT_EQ(host.NotifyWindows("OtherClass", "青禾计算器测试", msg::kUser), 0);
}

// What the screen shows over the window, read back from the screen's DC
// (the X server's pixels under Wine), as 0xRRGGBB.
Bitmap ReadScreen(const RectI& r) {
    Bitmap pixels(r.width, r.height);
    BITMAPINFO info = win32::TopDownDibInfo(r.width, r.height);
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    if (BitBlt(memory, 0, 0, r.width, r.height, screen, r.left, r.top, SRCCOPY)) {
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        for (int i = 0; i < r.width * r.height; ++i) pixels.Data()[i] = p[i] & 0xFFFFFFu;
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

TEST_F(Win32HostTest, PresentedPixelsReachTheScreen) {
    host.ShowWindow(window, true);
    // Two halves and a square, so that a shifted, flipped or half-copied
    // image shows.
    Bitmap image(200, 120);
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 200; ++x) image.SetRawPixel(x, y, x < 100 ? 0xFF336699u : 0xFFCC3300u);
    }
    for (int y = 30; y < 40; ++y) {
        for (int x = 20; x < 30; ++x) image.SetRawPixel(x, y, 0xFF00FF00u);
    }
    host.Present(window, image, RectI{0, 0, 200, 120}, 255);
    const RectI at = host.WindowRect(window);
    ASSERT_EQ(at.width, 200);
    Bitmap shown;
    ASSERT_TRUE(PumpUntil([&] {
        shown = ReadScreen(at);
        return shown.RawPixel(25, 35) == 0x00FF00u;
    }));
    EXPECT_EQ(shown.RawPixel(0, 0), 0x336699u);
    EXPECT_EQ(shown.RawPixel(99, 119), 0x336699u);
    EXPECT_EQ(shown.RawPixel(100, 0), 0xCC3300u);
    EXPECT_EQ(shown.RawPixel(199, 119), 0xCC3300u);
    EXPECT_EQ(shown.RawPixel(19, 35), 0x336699u);
    EXPECT_EQ(shown.RawPixel(30, 35), 0x336699u);
    EXPECT_EQ(shown.RawPixel(25, 29), 0x336699u);
    EXPECT_EQ(shown.RawPixel(25, 40), 0x336699u);

    // Only the area given is taken over.
    Bitmap second(200, 120);
    second.Fill(0xFFFFFFFFu);
    host.Present(window, second, RectI{0, 0, 10, 10}, 255);
    ASSERT_TRUE(PumpUntil([&] {
        shown = ReadScreen(at);
        return shown.RawPixel(5, 5) == 0xFFFFFFu;
    }));
    EXPECT_EQ(shown.RawPixel(10, 10), 0x336699u);
    EXPECT_EQ(shown.RawPixel(25, 35), 0x00FF00u);
    EXPECT_EQ(shown.RawPixel(150, 60), 0xCC3300u);
}

// Character messages of a Unicode window reach the toolkit as GBK bytes.
TEST_F(Win32HostTest, CharactersReachTheToolkitAsGbkBytes) {
    HWND hwnd = reinterpret_cast<HWND>(window);
    SendMessageW(hwnd, WM_CHAR, 0x4E2D, 1);  // 中
    EXPECT_EQ(client.chars, (std::vector<int>{0xD6, 0xD0}));
    EXPECT_EQ(client.charParams, (std::vector<std::intptr_t>{1, 1}));
    client.chars.clear();
    // Posted through the message loop as a keyboard's characters are.
    PostMessageW(hwnd, WM_CHAR, L'A', 1);
    PostMessageW(hwnd, WM_CHAR, 0x00E9, 1);  // é, a pinyin letter of GBK
    PostMessageW(hwnd, WM_CHAR, 8, 1);       // Backspace
    ASSERT_TRUE(PumpUntil([&] { return client.chars.size() >= 4; }));
    EXPECT_EQ(client.chars, (std::vector<int>{0x41, 0xA8, 0xA6, 8}));
    client.chars.clear();
    // The toolkit's own edit keys pass as they are.
    SendMessageW(hwnd, WM_CHAR, 36, msg::kEditKeyMark);
    EXPECT_EQ(client.chars, (std::vector<int>{36}));
    client.chars.clear();
    // An input method's characters, and WM_UNICHAR's code points.
    SendMessageW(hwnd, WM_IME_CHAR, 0x6587, 1);  // 文
    SendMessageW(hwnd, WM_UNICHAR, 0x4E2D, 1);
    EXPECT_EQ(SendMessageW(hwnd, WM_UNICHAR, UNICODE_NOCHAR, 0), TRUE);
    EXPECT_EQ(client.chars, (std::vector<int>{0xCE, 0xC4, 0xD6, 0xD0}));
}

// A character typed on the keyboard, through the system's own input path
// (SendInput, TranslateMessage). Another test program of the same Wine
// prefix may take the foreground meanwhile, so a few tries are allowed.
TEST_F(Win32HostTest, TypedCharactersArriveAsGbkBytes) {
    HWND hwnd = reinterpret_cast<HWND>(window);
    host.ShowWindow(window, true);
    INPUT keys[2] = {};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wScan = 0x6587;  // 文
    keys[0].ki.dwFlags = KEYEVENTF_UNICODE;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    for (int attempt = 0; attempt < 3 && client.chars.empty(); ++attempt) {
        SetForegroundWindow(hwnd);
        ::SetFocus(hwnd);
        ASSERT_EQ(SendInput(2, keys, sizeof(INPUT)), 2u);
        for (int i = 0; i < 50 && client.chars.size() < 2; ++i) {
            MSG m;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&m);
                DispatchMessageW(&m);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    EXPECT_EQ(client.chars, (std::vector<int>{0xCE, 0xC4}));
}

TEST_F(Win32HostTest, CharactersGbkCannotHoldBecomeAQuestionMark) {
    HWND hwnd = reinterpret_cast<HWND>(window);
    // U+1F600 as its surrogate pair: one character, so one '?'.
    SendMessageW(hwnd, WM_CHAR, 0xD83D, 1);
    EXPECT_TRUE(client.chars.empty());
    SendMessageW(hwnd, WM_CHAR, 0xDE00, 1);
    EXPECT_EQ(client.chars, (std::vector<int>{'?'}));
    client.chars.clear();
    // A half pair without its partner, then a letter; a lone second half.
    SendMessageW(hwnd, WM_CHAR, 0xD83D, 1);
    SendMessageW(hwnd, WM_CHAR, L'B', 1);
    SendMessageW(hwnd, WM_CHAR, 0xDE00, 1);
    EXPECT_EQ(client.chars, (std::vector<int>{'?', 'B', '?'}));
    client.chars.clear();
    // Characters outside GBK: Korean, the euro sign (a single byte above
    // 127 in code page 936), a code point beyond the BMP.
    SendMessageW(hwnd, WM_CHAR, 0xD55C, 1);
    SendMessageW(hwnd, WM_CHAR, 0x20AC, 1);
    SendMessageW(hwnd, WM_UNICHAR, 0x1F600, 1);
    EXPECT_EQ(client.chars, (std::vector<int>{'?', '?', '?'}));
}

TEST_F(Win32HostTest, CallsFromAnotherThreadRunOnTheWindowThread) {
    const DWORD uiThread = GetCurrentThreadId();
    DWORD ranOn = 0;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        EXPECT_FALSE(host.OnWindowThread(window));
        EXPECT_TRUE(host.RunOnWindowThread(window, [&] { ranOn = GetCurrentThreadId(); }));
        finished = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return finished.load(); }));
    worker.join();
    EXPECT_EQ(ranOn, uiThread);

    host.DestroyWindow(window);
    bool result = true;
    std::thread late([&] { result = host.RunOnWindowThread(window, [] {}); });
    late.join();
    EXPECT_FALSE(result);
}

}  // namespace
}  // namespace qh::win32
