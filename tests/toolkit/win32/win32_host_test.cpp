// The Win32 host's own services on real windows under Wine: what the shared
// toolkit tests do not reach because the test host takes over the clock.
#include <windows.h>

#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "toolkit/messages.h"
#include "toolkit/win32/win32_host.h"

namespace qh::win32 {
namespace {

// Records the messages a window receives and lets the host handle them.
class RecordingClient : public WindowClient {
public:
    RecordingClient(Win32Host& host, HostHandle& window) : host_(host), window_(window) {}
    std::intptr_t HandleMessage(int message, std::intptr_t wParam, std::intptr_t lParam) override {
        messages.push_back(message);
        if (message == WM_TIMER) timerIds.push_back(static_cast<int>(wParam));
        return host_.DefaultProc(window_, message, wParam, lParam);
    }
    int Count(int message) const {
        int n = 0;
        for (int m : messages) n += m == message;
        return n;
    }
    std::vector<int> messages;
    std::vector<int> timerIds;

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
    EXPECT_EQ(host.NotifyWindows("Ex_DirectUI", "青禾计算器", msg::kUser), 0);
    EXPECT_EQ(host.NotifyWindows("OtherClass", "青禾计算器测试", msg::kUser), 0);
}

TEST_F(Win32HostTest, PresentedPixelsAreWhatTheScreenShows) {
    Bitmap image(200, 120);
    image.Fill(0xFF336699u);
    host.Present(window, image, RectI{0, 0, 200, 120}, 255);
    EXPECT_EQ(host.Screen(window).RawPixel(5, 5), 0xFF336699u);
    // Only the area given is taken over.
    Bitmap second(200, 120);
    second.Fill(0xFFFFFFFFu);
    host.Present(window, second, RectI{0, 0, 10, 10}, 128);
    EXPECT_EQ(host.Screen(window).RawPixel(5, 5), 0xFFFFFFFFu);
    EXPECT_EQ(host.Screen(window).RawPixel(50, 50), 0xFF336699u);
}

TEST_F(Win32HostTest, CallsFromAnotherThreadRunOnTheWindowThread) {
    const DWORD uiThread = GetCurrentThreadId();
    DWORD ranOn = 0;
    bool finished = false;
    std::thread worker([&] {
        EXPECT_FALSE(host.OnWindowThread(window));
        EXPECT_TRUE(host.RunOnWindowThread(window, [&] { ranOn = GetCurrentThreadId(); }));
        finished = true;
    });
    EXPECT_TRUE(PumpUntil([&] { return finished; }));
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
