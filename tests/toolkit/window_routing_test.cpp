#include "tests/toolkit/toolkit_fixture.h"

namespace qh {
namespace {

TEST_F(ToolkitTest, ClickOnOverlapGoesToTheLaterControl) {
    Probe below, above;
    ASSERT_TRUE(below.Create(hwnd, MakeRect(10, 30, 60, 40)));
    ASSERT_TRUE(above.Create(hwnd, MakeRect(40, 50, 60, 40)));
    host.Click(hwnd, 50, 60);
    EXPECT_EQ(above.clicks, 1);
    EXPECT_EQ(below.clicks, 0);
    EXPECT_EQ(events, (std::vector<Event>{{'E', above.Id(), kKindButton}}));
    // The overlap shows the control on top.
    EXPECT_TRUE(Near(ScreenAt(50, 60), StateColor(kStateHover)));

    // Bringing the lower one to the top changes both the hit and the image.
    below.SetZOrder();
    host.Click(hwnd, 50, 60);
    EXPECT_EQ(below.clicks, 1);
    EXPECT_EQ(window.HitTest(50, 60), window.IndexOf(&below));
}

TEST_F(ToolkitTest, PressOnOneControlAndReleaseOnAnotherIsNoClick) {
    Probe a, b;
    ASSERT_TRUE(a.Create(hwnd, MakeRect(10, 30, 40, 30)));
    ASSERT_TRUE(b.Create(hwnd, MakeRect(100, 30, 40, 30)));
    host.MouseDown(hwnd, 20, 40);
    EXPECT_TRUE(host.Captured(hwnd));
    host.MouseUp(hwnd, 110, 40);
    EXPECT_FALSE(host.Captured(hwnd));
    EXPECT_EQ(a.clicks + b.clicks, 0);
    EXPECT_TRUE(events.empty());
    // The pressed control still received the release; the other got nothing.
    EXPECT_EQ(a.Count(msg::kLButtonUp), 1);
    EXPECT_EQ(b.Count(msg::kLButtonUp) + b.Count(msg::kLButtonDown), 0);
    EXPECT_EQ(window.PressedControl(), 0);
}

TEST_F(ToolkitTest, HiddenControlAreaGoesBeneathOrDragsTheWindow) {
    Probe below, above;
    ASSERT_TRUE(below.Create(hwnd, MakeRect(10, 30, 80, 60)));
    ASSERT_TRUE(above.Create(hwnd, MakeRect(20, 40, 40, 30)));
    EXPECT_EQ(above.Visible(0, true), 0);
    EXPECT_EQ(above.Count(msg::kHidden), 1);
    // Hiding what is already hidden does nothing.
    EXPECT_EQ(above.Visible(0, true), 0);
    EXPECT_EQ(above.Count(msg::kHidden), 1);
    // The hidden control's area shows the control beneath again.
    EXPECT_TRUE(Near(ScreenAt(30, 50), StateColor(kStateNormal)));
    host.Click(hwnd, 30, 50);
    EXPECT_EQ(below.clicks, 1);
    EXPECT_EQ(above.clicks, 0);

    below.Visible(0, true);
    const int before = host.MoveRequests();
    host.Click(hwnd, 30, 50);
    EXPECT_EQ(host.MoveRequests(), before + 1);
    EXPECT_EQ(below.clicks, 1);
    EXPECT_TRUE(Near(ScreenAt(30, 50), 0xFFFFFFFFu));

    EXPECT_EQ(above.Visible(1, true), 1);
    EXPECT_EQ(above.Count(msg::kShown), 1);
}

TEST_F(ToolkitTest, TabWrapsAroundAndSkipsWhatCannotTakeFocus) {
    Probe first, noTab, hidden, last;
    ASSERT_TRUE(first.Create(hwnd, MakeRect(10, 30, 20, 20)));
    ASSERT_TRUE(noTab.Create(hwnd, MakeRect(40, 30, 20, 20), false));
    ASSERT_TRUE(hidden.Create(hwnd, MakeRect(70, 30, 20, 20)));
    ASSERT_TRUE(last.Create(hwnd, MakeRect(100, 30, 20, 20)));
    hidden.Visible(0, true);
    int blurred = 0;
    window.OnControlBlur([&](HostHandle, int, int, int) { return ++blurred; });
    ASSERT_TRUE(window.FocusControl(first.Id()));
    host.TypeKey(hwnd, vk::kTab);
    EXPECT_TRUE(last.IsFocused());
    host.TypeKey(hwnd, vk::kTab);
    EXPECT_TRUE(first.IsFocused());  // wrapped past the caption buttons too
    EXPECT_EQ(blurred, 2);
    EXPECT_EQ(first.lastState, kStateFocused);
    EXPECT_FALSE(window.FocusControl(noTab.Id()));
}

TEST_F(ToolkitTest, DeletedIdIsReusedSmallestFirst) {
    Probe a, b, c, d;
    ASSERT_TRUE(a.Create(hwnd, MakeRect(10, 30, 20, 20)));
    ASSERT_TRUE(b.Create(hwnd, MakeRect(40, 30, 20, 20)));
    ASSERT_TRUE(c.Create(hwnd, MakeRect(70, 30, 20, 20)));
    const int freed = b.Id();
    EXPECT_EQ(c.Id(), freed + 1);
    EXPECT_TRUE(b.Destroy());
    EXPECT_FALSE(b.IsBound());
    EXPECT_EQ(b.Count(msg::kDestroy), 1);
    ASSERT_TRUE(d.Create(hwnd, MakeRect(100, 30, 20, 20)));
    EXPECT_EQ(d.Id(), freed);
    // Indices shift, ids stay.
    EXPECT_EQ(window.IndexOfId(c.Id()), window.IndexOf(&c));
    EXPECT_EQ(c.Id(), freed + 1);
    // A destroyed control takes no operations.
    EXPECT_FALSE(b.Destroy());
    EXPECT_EQ(b.Visible(1, true), 0);
}

TEST_F(ToolkitTest, KeyDownHandlerZeroSwallowsEnterMinusOneLetsItClick) {
    Probe button;
    ASSERT_TRUE(button.Create(hwnd, MakeRect(10, 30, 40, 20)));
    ASSERT_TRUE(window.FocusControl(button.Id()));
    int answer = 0;
    window.OnKeyDown([&](HostHandle, int, int, std::intptr_t) { return answer; });
    host.TypeKey(hwnd, vk::kEnter);
    EXPECT_EQ(button.clicks, 0);
    EXPECT_EQ(button.Count(msg::kKeyDown), 0);
    answer = -1;
    host.TypeKey(hwnd, vk::kEnter);
    EXPECT_EQ(button.clicks, 1);
    EXPECT_EQ(button.Count(msg::kKeyDown), 1);
    host.TypeKey(hwnd, vk::kSpace);
    EXPECT_EQ(button.clicks, 2);
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(ToolkitTest, EditKeysArriveAsMarkedCharacters) {
    struct Edit : Probe {
        ControlTraits Traits() const override { return {.editKeys = true}; }
        std::intptr_t ControlProc(UiWindow& w, int m, std::intptr_t wp, std::intptr_t lp) override {
            if (m == msg::kChar) chars.emplace_back(static_cast<int>(wp), lp);
            return Probe::ControlProc(w, m, wp, lp);
        }
        std::vector<std::pair<int, std::intptr_t>> chars;
    } edit;
    ASSERT_TRUE(edit.Create(hwnd, MakeRect(10, 30, 80, 20), true, kKindEdit));
    ASSERT_TRUE(window.FocusControl(edit.Id()));
    host.Send(hwnd, msg::kKeyDown, vk::kHome, 0);
    host.Send(hwnd, msg::kKeyDown, 'A', 0);  // no Ctrl: an ordinary key
    host.HoldKey(vk::kControl, true);
    host.Send(hwnd, msg::kKeyDown, 'V', 0);
    host.HoldKey(vk::kControl, false);
    std::vector<std::pair<int, std::intptr_t>> expected{{vk::kHome, msg::kEditKeyMark}, {'V', msg::kEditKeyMark}};
    EXPECT_EQ(edit.chars, expected);
    // Enter does not click an edit.
    host.TypeKey(hwnd, vk::kEnter);
    EXPECT_EQ(edit.clicks, 0);
}

TEST_F(ToolkitTest, HoverRepaintsAndLeavingClearsIt) {
    Probe p;
    ASSERT_TRUE(p.Create(hwnd, MakeRect(10, 30, 40, 20)));
    p.ToolTip("提示", true);
    std::vector<int> entered, left;
    window.OnMouseEnterControl([&](HostHandle, int id, int, int) { entered.push_back(id); return 0; });
    window.OnMouseLeaveControl([&](HostHandle, int id, int, int) { left.push_back(id); return 0; });
    host.MouseMove(hwnd, 20, 40);
    host.MouseMove(hwnd, 21, 40);
    EXPECT_EQ(entered, std::vector<int>{p.Id()});
    EXPECT_EQ(host.Tooltip(), Text("提示"));
    EXPECT_TRUE(Near(ScreenAt(20, 40), StateColor(kStateHover)));
    // Leaving the window from the control leaves the control, once: a tip
    // shown from its enter handler was left standing before.
    host.Send(hwnd, msg::kMouseLeave);
    EXPECT_EQ(window.HoverControl(), 0);
    EXPECT_EQ(left, std::vector<int>{p.Id()});
    host.MouseMove(hwnd, 150, 120);
    EXPECT_EQ(left, std::vector<int>{p.Id()});
    EXPECT_FALSE(Near(ScreenAt(20, 40), StateColor(kStateHover)));
}

TEST_F(ToolkitTest, ControlTimersReachTheirControl) {
    Probe a, b;
    ASSERT_TRUE(a.Create(hwnd, MakeRect(10, 30, 20, 20)));
    ASSERT_TRUE(b.Create(hwnd, MakeRect(40, 30, 20, 20)));
    window.StartControlTimer(window.IndexOf(&b));
    host.AdvanceClock(79);
    EXPECT_EQ(b.Count(msg::kTimer), 0);
    host.AdvanceClock(1 + 80 * 2);
    EXPECT_EQ(b.Count(msg::kTimer), 3);
    EXPECT_EQ(a.Count(msg::kTimer), 0);
}

class CaptionTest : public ToolkitTest {
protected:
    CaptionTest() { flags = kFlagCloseButton | kFlagMaximize | kFlagMinimize; }
};

TEST_F(CaptionTest, MinimumTrackSizeCountsCaptionButtons) {
    host.MoveWindow(hwnd, RectI{0, 0, 50, 10});
    RectI r = host.WindowRect(hwnd);
    EXPECT_EQ(r.width, 28 * 3 + 11 + 40);
    EXPECT_EQ(r.height, 40);
    EXPECT_EQ(window.ClientWidth(), 135);
}

TEST_F(CaptionTest, DoubleClickOnCaptionTogglesMaximizeAndCloseButtonCloses) {
    host.DoubleClick(hwnd, 60, 10);
    EXPECT_TRUE(host.IsMaximized(hwnd));
    EXPECT_EQ(window.ClientWidth(), host.WorkArea().width);
    host.DoubleClick(hwnd, 60, 10);
    EXPECT_FALSE(host.IsMaximized(hwnd));
    EXPECT_EQ(window.ClientWidth(), 200);
    // Caption buttons never take focus by Tab; the close button posts WM_CLOSE.
    host.Click(hwnd, 200 - 20, 8);
    host.ProcessPending();
    EXPECT_FALSE(host.Exists(hwnd));
    EXPECT_EQ(window.Handle(), 0u);
}

TEST_F(ToolkitTest, ShowFadesInOverTwentyFiveFramesThenPresentsOpaque) {
    host.ClearPresentations();
    window.Show(1);
    const auto& p = host.Presentations();
    ASSERT_GE(p.size(), 27u);
    EXPECT_EQ(p[0].alpha, 1);
    EXPECT_EQ(p[2].alpha, 10);  // (255 / 25) x 1
    EXPECT_EQ(p.back().alpha, 255);
    EXPECT_TRUE(host.Visible(hwnd));
    EXPECT_EQ(host.Now(), 25 * 8);
}

}  // namespace
}  // namespace qh

namespace qh {
namespace {

// Regression: the press path repainted the control at the index the press
// had found, after the control's own handler had raised itself to the top;
// the neighbour that took that index was painted as pressed.
TEST_F(ToolkitTest, AControlThatRaisesItselfOnAPressIsTheOnePaintedPressed) {
    struct Raiser : Probe {
        std::intptr_t ControlProc(UiWindow& w, int m, std::intptr_t wp, std::intptr_t lp) override {
            if (m == msg::kLButtonDown) SetZOrder(1, true);
            return Probe::ControlProc(w, m, wp, lp);
        }
    } raiser;
    Probe neighbour;
    ASSERT_TRUE(raiser.Create(hwnd, MakeRect(10, 30, 40, 20)));
    ASSERT_TRUE(neighbour.Create(hwnd, MakeRect(60, 30, 40, 20)));
    neighbour.lastState = kStateNormal;
    host.MouseDown(hwnd, 20, 40);
    EXPECT_EQ(raiser.lastState, kStatePressed);
    EXPECT_NE(neighbour.lastState, kStatePressed);
    host.MouseUp(hwnd, 20, 40);
}

}  // namespace
}  // namespace qh
