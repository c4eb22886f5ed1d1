// A headless window with the platform's graphics backend, and a probe control that records
// what it receives and paints its visual state as a colour.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

#include "tests/toolkit/test_backend.h"
#include "toolkit/draw.h"
#include "test_host.h"  // the headless host, or the Win32 one
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace qh {

inline Argb StateColor(int state) {
    switch (state) {
    case kStateHover: return MakeArgb(0x00FF00, 255);
    case kStatePressed: return MakeArgb(0x0000FF, 255);
    case kStateFocused: return MakeArgb(0xFF0000, 255);
    default: return MakeArgb(0x808080, 255);
    }
}

class Probe : public UiControl {
public:
    bool Create(HostHandle hwnd, RectF bounds, bool tabStop = true, int kind = kKindButton) {
        CreateBase(hwnd, bounds, kind, true, tabStop);
        return IsBound();
    }
    std::intptr_t ControlProc(UiWindow& w, int message, std::intptr_t wParam, std::intptr_t lParam) override {
        messages.push_back(message);
        if (message == msg::kClick) ++clicks;
        if (message == msg::kSysKeyDown) return sysKeyAnswer;
        return UiControl::ControlProc(w, message, wParam, lParam);
    }
    void Paint(UiWindow&, Graphics& g, int state) override {
        paintThread = std::this_thread::get_id();
        lastState = state;
        RectF b = Bounds();
        FillRect(g, MakeRect(b.left, b.top, b.width + 1, b.height + 1),
                 Disabled() ? MakeArgb(0x000000, 255) : StateColor(lastState));
    }
    int Count(int message) const { return static_cast<int>(std::count(messages.begin(), messages.end(), message)); }

    std::vector<int> messages;
    std::thread::id paintThread;
    int lastState = 0;
    int clicks = 0;
    std::intptr_t sysKeyAnswer = 0;  // what the control answers to a system key
};

// Colours made by MakeArgb carry alpha 254, so over white they are one step lighter.
inline bool Near(Argb a, Argb b) {
    return std::abs(RedOf(a) - RedOf(b)) <= 2 && std::abs(GreenOf(a) - GreenOf(b)) <= 2 &&
           std::abs(BlueOf(a) - BlueOf(b)) <= 2;
}

struct Event {
    int handler;  // which slot
    int id;
    int kind;
    bool operator==(const Event&) const = default;
};

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ToolkitStartup(host, *graphics);
        hwnd = CreateHostWindow("测试窗口", 0, true, 0, true, 200, 150);
        ASSERT_NE(hwnd, 0u);
        ASSERT_TRUE(window.Create(hwnd, Bytes(), MakeArgb(0xFFFFFF, 255), true, flags));
        window.OnControlEvent([this](HostHandle, int id, int, int kind) {
            events.push_back(Event{'E', id, kind});
            return 0;
        });
    }
    void TearDown() override {
        if (host.Exists(hwnd)) host.DestroyWindow(hwnd);
        ToolkitShutdown();
    }
    // The colour the window shows at (x, y).
    Argb ScreenAt(int x, int y) { return host.Screen(hwnd).GetPixel(x, y) | 0xFF000000u; }

    int flags = 0;
    TestHost host;
    std::unique_ptr<GraphicsDriver> graphics = MakeTestGraphicsDriver();
    HostHandle hwnd = 0;
    UiWindow window;
    std::vector<Event> events;
};

}  // namespace qh
