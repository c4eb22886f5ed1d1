// Operations called from other threads: carried out on the window's thread,
// and safe while that thread destroys the window. Run under ThreadSanitizer
// in the linux-tsan build.
#include "tests/toolkit/toolkit_fixture.h"

namespace qh {
namespace {

TEST_F(ToolkitTest, OperationsFromAnotherThreadRunOnTheWindowThread) {
    Probe p;
    ASSERT_TRUE(p.Create(hwnd, MakeRect(10, 30, 40, 20)));
    std::atomic<bool> done{false};
    int disabledSeen = -1;
    std::thread worker([&] {
        disabledSeen = p.Disabled(1, true);
        p.Move(20.0f, std::nullopt, std::nullopt, std::nullopt);
        done = true;
    });
    ASSERT_TRUE(host.PumpUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(disabledSeen, 1);
    EXPECT_EQ(p.paintThread, std::this_thread::get_id());
    EXPECT_EQ(p.Left(), 20);
    EXPECT_TRUE(Near(ScreenAt(25, 35), 0xFF000000u));  // painted disabled at the new place
}

// Regression: a worker read the control's window binding while the window's
// thread was destroying the window, and a call queued in that moment waited
// for ever.
TEST_F(ToolkitTest, CallWhileTheWindowGoesAwayReturnsEmpty) {
    Probe p;
    ASSERT_TRUE(p.Create(hwnd, MakeRect(10, 30, 40, 20)));
    std::atomic<int> calls{0};
    std::atomic<bool> stop{false};
    std::atomic<int> visibleAfter{-1};
    std::thread worker([&] {
        while (!stop.load()) {
            p.Visible(calls.load() % 2, true);
            ++calls;
        }
        visibleAfter = p.Visible();
    });
    ASSERT_TRUE(host.PumpUntil([&] { return calls.load() >= 20; }));
    const int shownOrHidden = p.Count(msg::kShown) + p.Count(msg::kHidden);
    EXPECT_GE(shownOrHidden, 10);
    // Destroyed while the worker is waiting for its next call, or about to post it.
    host.DestroyWindow(hwnd);
    EXPECT_FALSE(p.IsBound());
    // Nothing pumps from here on, so the worker's calls can only go on if
    // they no longer wait for the window.
    const int atDestroy = calls.load();
    for (int i = 0; i < 10000 && calls.load() < atDestroy + 50; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    stop = true;
    worker.join();
    EXPECT_GE(calls.load(), atDestroy + 50);
    EXPECT_EQ(visibleAfter.load(), 0);
    // The destroy message was the last thing the control received.
    EXPECT_EQ(p.Count(msg::kDestroy), 1);
    EXPECT_EQ(p.messages.back(), msg::kDestroy);
    EXPECT_EQ(p.paintThread, std::this_thread::get_id());
}

}  // namespace
}  // namespace qh
