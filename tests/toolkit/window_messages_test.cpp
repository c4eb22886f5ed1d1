// The window procedure's handling of activation, focus loss, the wheel,
// system keys, the timer-driven fade, the skin messages and the caption
// buttons' place above the controls.
#include "tests/toolkit/toolkit_fixture.h"

namespace qh {
namespace {

class MessagesTest : public ToolkitTest {
protected:
    void RecordFocusEvents() {
        window.OnControlFocus([this](HostHandle, int id, int, int kind) {
            events.push_back(Event{'F', id, kind});
            return 0;
        });
        window.OnControlBlur([this](HostHandle, int id, int, int kind) {
            events.push_back(Event{'B', id, kind});
            return 0;
        });
    }
    // A wheel turn over client point (x, y); the message carries screen coordinates.
    void Wheel(int x, int y, int delta) {
        const RectI r = host.WindowRect(hwnd);
        host.Send(hwnd, msg::kMouseWheel, static_cast<std::intptr_t>(delta * 65536),
                  MakeLParam(r.left + x, r.top + y));
    }
};

TEST_F(MessagesTest, ActivationRepaintsTheFocusedControlAndReportsFocusAndBlur) {
    Probe a;
    ASSERT_TRUE(a.Create(hwnd, MakeRect(10, 30, 40, 20)));
    RecordFocusEvents();
    // Without a focused control activation changes nothing.
    host.Send(hwnd, msg::kActivate, 0, 0);
    EXPECT_TRUE(events.empty());

    ASSERT_TRUE(window.FocusControl(a.Id()));
    events.clear();
    host.Send(hwnd, msg::kActivate, 0, 0);  // WA_INACTIVE
    EXPECT_EQ(events, (std::vector<Event>{{'B', a.Id(), kKindButton}}));
    EXPECT_EQ(a.lastState, kStatePressed);
    EXPECT_TRUE(Near(ScreenAt(20, 40), StateColor(kStatePressed)));
    host.Send(hwnd, msg::kActivate, 1, 0);  // WA_ACTIVE
    EXPECT_EQ(events.back(), (Event{'F', a.Id(), kKindButton}));
    EXPECT_EQ(a.lastState, kStateFocused);
    EXPECT_TRUE(Near(ScreenAt(20, 40), StateColor(kStateFocused)));
    EXPECT_EQ(window.FocusedControl(), window.IndexOf(&a));
}

TEST_F(MessagesTest, FocusLossInAnActiveWindowDropsTheFocusUnlessTheControlKeepsIt) {
    Probe a, keeper;
    ASSERT_TRUE(a.Create(hwnd, MakeRect(10, 30, 40, 20)));
    ASSERT_TRUE(keeper.Create(hwnd, MakeRect(60, 30, 40, 20)));
    ASSERT_TRUE(window.FocusControl(a.Id()));
    ASSERT_TRUE(host.IsActive(hwnd));
    host.Send(hwnd, msg::kKillFocus, 0, 0);
    EXPECT_EQ(window.FocusedControl(), 0);
    EXPECT_EQ(a.lastState, kStatePressed);

    // A control marked to keep focus (attribute 1) keeps it.
    ASSERT_TRUE(window.FocusControl(keeper.Id()));
    keeper.NoMouse(1, true);
    host.Send(hwnd, msg::kKillFocus, 0, 0);
    EXPECT_EQ(window.FocusedControl(), window.IndexOf(&keeper));
}

TEST_F(MessagesTest, WheelReachesTheControlUnderTheCursor) {
    Probe a, b;
    ASSERT_TRUE(a.Create(hwnd, MakeRect(10, 30, 40, 20)));
    ASSERT_TRUE(b.Create(hwnd, MakeRect(60, 30, 40, 20)));
    Wheel(70, 40, 120);
    EXPECT_EQ(b.Count(msg::kMouseWheel), 1);
    EXPECT_EQ(a.Count(msg::kMouseWheel), 0);
    // Over no control the turn goes nowhere; a hidden control does not take it.
    b.Visible(0, true);
    Wheel(70, 40, -120);
    Wheel(150, 100, -120);
    EXPECT_EQ(a.Count(msg::kMouseWheel) + b.Count(msg::kMouseWheel), 1);
}

TEST_F(MessagesTest, SystemKeyReachesTheFocusedControlThenTheDefaultHandling) {
    Probe a;
    ASSERT_TRUE(a.Create(hwnd, MakeRect(10, 30, 40, 20)));
    int seenByDefault = 0;
    window.OnMessage([&](HostHandle, int message, std::intptr_t, std::intptr_t) -> std::intptr_t {
        if (message == msg::kSysKeyDown) ++seenByDefault;
        return -1;
    });
    ASSERT_TRUE(window.FocusControl(a.Id()));
    host.Send(hwnd, msg::kSysKeyDown, 'X', 0);
    EXPECT_EQ(a.Count(msg::kSysKeyDown), 1);
    EXPECT_TRUE(events.empty());  // the control did not act on it
    a.sysKeyAnswer = 1;
    host.Send(hwnd, msg::kSysKeyDown, vk::kEnter, 0);
    EXPECT_EQ(events, (std::vector<Event>{{'E', a.Id(), kKindButton}}));
    EXPECT_EQ(seenByDefault, 2);
}

TEST_F(MessagesTest, FadeTimerRaisesOpacityBy51PerTickAndHoldsInputUntilDone) {
    Probe a;
    ASSERT_TRUE(a.Create(hwnd, MakeRect(10, 30, 40, 20)));
    window.StartControlTimer(window.IndexOf(&a), 10, true);
    host.ClearPresentations();
    window.StartFade(20, true);
    EXPECT_TRUE(window.Fading());
    host.AdvanceClock(40);
    host.Click(hwnd, 20, 40);  // ignored while the fade runs
    EXPECT_EQ(a.clicks, 0);
    EXPECT_EQ(a.Count(msg::kTimer), 0);
    host.AdvanceClock(60);
    EXPECT_FALSE(window.Fading());
    std::vector<int> alphas;
    for (const auto& p : host.Presentations()) alphas.push_back(p.alpha);
    EXPECT_EQ(alphas, (std::vector<int>{51, 102, 153, 204, 255}));
    // The fade timer is gone; control timers and input run again.
    host.ClearPresentations();
    host.AdvanceClock(100);
    EXPECT_TRUE(host.Presentations().empty());
    EXPECT_GT(a.Count(msg::kTimer), 0);
    host.Click(hwnd, 20, 40);
    EXPECT_EQ(a.clicks, 1);
}

TEST_F(MessagesTest, SkinMessagesReplaceTheSkinAndAnswerItsHandle) {
    EXPECT_EQ(host.Send(hwnd, msg::kBackgroundHandle, 0, 0), 0);  // no skin yet
    const Argb blue = MakeArgb(0xFF0000, 255);
    host.Send(hwnd, msg::kSysKeyForward, 0, static_cast<std::intptr_t>(static_cast<std::int32_t>(blue)));
    EXPECT_EQ(static_cast<Argb>(host.Send(hwnd, msg::kBackgroundColor, 0, 0)), blue);
    EXPECT_TRUE(Near(ScreenAt(100, 100), blue));
}

class CaptionOrderTest : public ToolkitTest {
protected:
    CaptionOrderTest() { flags = kFlagCloseButton; }
};

TEST_F(CaptionOrderTest, CaptionButtonsLieAboveControlsCreatedLater) {
    // A control under the close button (the window's top-right 39 x 19).
    Probe under;
    ASSERT_TRUE(under.Create(hwnd, MakeRect(140, 0, 60, 40)));
    host.MouseMove(hwnd, 165, 3);
    EXPECT_EQ(under.Count(msg::kMouseMove), 0);
    EXPECT_FALSE(Near(ScreenAt(165, 3), StateColor(kStateNormal)));
    // Below the button the control is hit as usual.
    host.Click(hwnd, 165, 30);
    EXPECT_EQ(under.clicks, 1);
    host.Click(hwnd, 165, 3);
    EXPECT_EQ(under.clicks, 1);
    host.ProcessPending();
    EXPECT_FALSE(host.Exists(hwnd));
}

// The window menu's commands arrive as WM_COMMAND and are carried out as
// the system commands they name.
TEST_F(MessagesTest, MenuCommandsAreCarriedOutAsSystemCommands) {
    host.Send(hwnd, msg::kCommand, msg::kScMaximize, 0);
    EXPECT_TRUE(host.IsMaximized(hwnd));
    host.Send(hwnd, msg::kCommand, msg::kScRestore, 0);
    EXPECT_FALSE(host.IsMaximized(hwnd));
    host.Send(hwnd, msg::kCommand, msg::kScClose, 0);
    host.ProcessPending();
    EXPECT_FALSE(host.Exists(hwnd));
}

}  // namespace
}  // namespace qh

namespace qh {
namespace {

// Regression: timers, focus and hover named controls by their place in the
// list, so destroying an earlier control or raising one to the top sent a
// timer's ticks, and the focus, to a neighbour.
// Building the plan window presented 65 whole frames before it was shown.
TEST_F(MessagesTest, HeldPresentsReachTheScreenOnlyWithShow) {
    window.HoldPresents();
    host.ClearPresentations();
    Probe probe;
    ASSERT_TRUE(probe.Create(hwnd, MakeRect(10, 30, 20, 20)));
    ASSERT_TRUE(window.FocusControl(probe.Id()));
    EXPECT_TRUE(host.Presentations().empty());
    EXPECT_TRUE(Near(ScreenAt(15, 35), 0xFFFFFFFFu));
    window.Show(0);
    EXPECT_FALSE(host.Presentations().empty());
    EXPECT_TRUE(Near(ScreenAt(15, 35), StateColor(kStateFocused))) << std::hex << ScreenAt(15, 35);
    host.ClearPresentations();
    probe.SetEnabled(false);  // and after Show, every repaint is presented again
    EXPECT_FALSE(host.Presentations().empty());
}

TEST_F(MessagesTest, ATimerStaysWithItsControlWhenAnEarlierOneIsDestroyed) {
    Probe first, second, third;
    ASSERT_TRUE(first.Create(hwnd, MakeRect(10, 30, 20, 20)));
    ASSERT_TRUE(second.Create(hwnd, MakeRect(40, 30, 20, 20)));
    ASSERT_TRUE(third.Create(hwnd, MakeRect(70, 30, 20, 20)));
    window.StartControlTimer(window.IndexOf(&second), 10, true);
    ASSERT_TRUE(window.FocusControl(second.Id()));
    ASSERT_TRUE(first.Destroy());
    host.AdvanceClock(30);
    EXPECT_GT(second.Count(msg::kTimer), 0);
    EXPECT_EQ(third.Count(msg::kTimer), 0);
    EXPECT_EQ(window.FocusedControl(), window.IndexOf(&second));
}

TEST_F(MessagesTest, ATimerStaysWithItsControlWhenTheZOrderChanges) {
    Probe first, second, third;
    ASSERT_TRUE(first.Create(hwnd, MakeRect(10, 30, 20, 20)));
    ASSERT_TRUE(second.Create(hwnd, MakeRect(40, 30, 20, 20)));
    ASSERT_TRUE(third.Create(hwnd, MakeRect(70, 30, 20, 20)));
    window.StartControlTimer(window.IndexOf(&second), 10, true);
    host.MouseMove(hwnd, 75, 35);  // hover over the third
    first.SetZOrder(1, true);      // the first moves to the top of the list
    host.AdvanceClock(30);
    EXPECT_GT(second.Count(msg::kTimer), 0);
    EXPECT_EQ(first.Count(msg::kTimer) + third.Count(msg::kTimer), 0);
    EXPECT_EQ(window.HoverControl(), window.IndexOf(&third));
}

}  // namespace
}  // namespace qh

namespace qh {
namespace {

// Regression: a destroyed control's timer went on, and a new control that
// took the same (smallest free) id received its ticks.
TEST_F(MessagesTest, ADestroyedControlsTimerDoesNotReachTheControlThatTakesItsId) {
    Probe first;
    ASSERT_TRUE(first.Create(hwnd, MakeRect(10, 30, 20, 20)));
    const int id = first.Id();
    window.StartControlTimer(window.IndexOf(&first), 10, true);
    ASSERT_TRUE(first.Destroy());
    Probe second;
    ASSERT_TRUE(second.Create(hwnd, MakeRect(40, 30, 20, 20)));
    ASSERT_EQ(second.Id(), id);
    host.AdvanceClock(50);
    EXPECT_EQ(second.Count(msg::kTimer), 0);
}

}  // namespace
}  // namespace qh
