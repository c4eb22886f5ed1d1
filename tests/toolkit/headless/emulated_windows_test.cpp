// The emulated windows' timer schedule and message queue, on their own: what
// a loop on a real clock and a thread that posts to itself meet.
#include <gtest/gtest.h>

#include <vector>

#include "toolkit/emulated/emulated_windows.h"
#include "toolkit/headless/headless_host.h"
#include "toolkit/messages.h"

namespace qh {
namespace {

class Recorder : public WindowClient {
public:
    std::intptr_t HandleMessage(int message, std::intptr_t wParam, std::intptr_t) override {
        received.push_back(message);
        if (onMessage) onMessage(message, wParam);
        return 0;
    }
    int Count(int message) const {
        int n = 0;
        for (int m : received) n += m == message ? 1 : 0;
        return n;
    }
    std::vector<int> received;
    std::function<void(int, std::intptr_t)> onMessage;
};

class EmulatedWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        HostWindowArgs args;
        args.rect = RectI{0, 0, 100, 80};
        windows.Add(kWindow, args);
        windows.Attach(kWindow, &client);
    }
    static constexpr HostHandle kWindow = 7;
    headless::HeadlessHost host;
    emulated::EmulatedWindows windows{host};
    Recorder client;
};

TEST_F(EmulatedWindowsTest, ALateLoopFiresATimerOnceButATestClockOncePerInterval) {
    // A loop on a real clock that comes back 95 ms late sends one WM_TIMER,
    // as Windows does, and the timer goes on an interval from then.
    windows.StartTimer(kWindow, 1, 10, 0);
    EXPECT_EQ(windows.RunDueTimers(95, true), 1);
    EXPECT_EQ(windows.NextDue(), 105);
    EXPECT_EQ(windows.RunDueTimers(104, true), 0);

    // A clock the test advances by 95 ms passes nine ticks, each at its time.
    windows.StartTimer(kWindow, 2, 10, 0);
    windows.StopTimer(kWindow, 1);
    std::vector<long long> times;
    EXPECT_EQ(windows.RunDueTimers(95, false, [&](long long t) { times.push_back(t); }), 9);
    EXPECT_EQ(times.front(), 10);
    EXPECT_EQ(times.back(), 90);
    EXPECT_EQ(client.Count(msg::kTimer), 10);
}

TEST_F(EmulatedWindowsTest, AMessageThatPostsItselfWaitsForTheNextRound) {
    client.onMessage = [&](int message, std::intptr_t) {
        if (message == msg::kUser) windows.Post(kWindow, msg::kUser, 0, 0);
    };
    windows.Post(kWindow, msg::kUser, 0, 0);
    EXPECT_EQ(windows.RunQueued(), 1);
    EXPECT_EQ(windows.RunQueued(), 1);
    EXPECT_EQ(client.Count(msg::kUser), 2);
    // Gone windows take no more messages.
    EXPECT_TRUE(windows.Destroy(kWindow));
    EXPECT_EQ(windows.RunQueued(), 1);
    EXPECT_EQ(client.Count(msg::kUser), 2);
    EXPECT_TRUE(windows.QueueEmpty());
}

}  // namespace
}  // namespace qh
