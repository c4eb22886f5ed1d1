// Buttons and labels as a user meets them: clicked with the mouse or the
// keyboard, a face that fades in, a text that changes.
#include "toolkit/controls/button.h"
#include "toolkit/controls/label.h"

#include <algorithm>

#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/style_painter.h"

namespace qh {
namespace {

using ButtonTest = ToolkitTest;

TEST_F(ButtonTest, AKeyboardClickRaisesTheSameEventAsAMouseClick) {
    UiButton ok;
    ok.Create(hwnd, "确定", 20, 40, 70, 24);
    ASSERT_TRUE(ok.IsBound());
    host.Click(hwnd, 50, 50);
    ASSERT_TRUE(window.FocusControl(ok.Id()));
    host.TypeKey(hwnd, vk::kEnter);
    host.TypeKey(hwnd, vk::kSpace);
    const Event click{'E', ok.Id(), kKindButton};
    EXPECT_EQ(events, (std::vector<Event>{click, click, click}));
}

// OnClick runs after the window's handler, for the mouse and the keyboard,
// and not while the control is disabled.
TEST_F(ButtonTest, OnClickFollowsTheWindowsHandlerAndSkipsADisabledButton) {
    UiButton ok;
    ok.Create(hwnd, "确定", 20, 40, 70, 24);
    ok.OnClick([this] { events.push_back(Event{'C', 0, 0}); });
    host.Click(hwnd, 50, 50);
    ASSERT_TRUE(window.FocusControl(ok.Id()));
    host.TypeKey(hwnd, vk::kSpace);
    ok.SetEnabled(false);
    EXPECT_FALSE(ok.IsEnabled());
    host.Click(hwnd, 50, 50);
    host.TypeKey(hwnd, vk::kSpace);
    const Event click{'E', ok.Id(), kKindButton}, callback{'C', 0, 0};
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(std::vector<Event>(events.begin(), events.begin() + 4),
              (std::vector<Event>{click, callback, click, callback}));
    EXPECT_EQ(std::count(events.begin() + 4, events.end(), callback), 0);
}

TEST_F(ButtonTest, ANewFaceFadesInFrom153OnHoverTo255) {
    UiButton ok;
    ok.Create(hwnd, "确定", 20, 40, 70, 24);
    host.AdvanceClock(300);
    EXPECT_EQ(ok.FadeAlpha(), 255);
    host.MouseMove(hwnd, 50, 50);
    EXPECT_EQ(ok.FadeAlpha(), 153);
    std::vector<int> steps;
    for (int i = 0; i < 4; ++i) {
        host.AdvanceClock(30);
        steps.push_back(ok.FadeAlpha());
    }
    EXPECT_EQ(steps, (std::vector<int>{204, 255, 255, 255}));
    // Pressed starts from 204.
    host.MouseDown(hwnd, 50, 50);
    EXPECT_EQ(ok.FadeAlpha(), 204);
    host.MouseUp(hwnd, 50, 50);
}

TEST_F(ButtonTest, HoverAndDisabledFacesLookDifferent) {
    UiButton ok;
    ok.Create(hwnd, "", 20, 40, 70, 24);
    host.AdvanceClock(300);
    const Argb normal = ScreenAt(50, 46);
    host.MouseMove(hwnd, 50, 46);
    host.AdvanceClock(300);
    const Argb hover = ScreenAt(50, 46);
    EXPECT_NE(normal, hover);
    host.MouseMove(hwnd, 190, 140);
    ok.Disabled(1, true);
    host.AdvanceClock(300);
    // Disabled is a plain grey between the disabled gradient's ends.
    const Argb disabled = ScreenAt(50, 46);
    EXPECT_TRUE(RedOf(disabled) == GreenOf(disabled) && GreenOf(disabled) == BlueOf(disabled)) << std::hex << disabled;
    EXPECT_GE(RedOf(disabled), RedOf(Style().disabledBottom));
    EXPECT_LE(RedOf(disabled), RedOf(Style().disabledTop));
}

TEST_F(ButtonTest, SettingALabelsTextRepaintsIt) {
    UiLabel label;
    label.Create(hwnd, "", 10, 40, 180, 30, MakeArgb(0x000000, 255));
    host.AdvanceClock(100);
    const Bitmap before = host.Screen(hwnd);
    EXPECT_EQ(label.Text("月供 7,485.20 元", true), "月供 7,485.20 元");
    int changed = 0;
    for (int y = 40; y < 70; ++y) {
        for (int x = 10; x < 190; ++x) changed += host.Screen(hwnd).GetPixel(x, y) != before.GetPixel(x, y);
    }
    EXPECT_GT(changed, 50);
}

TEST_F(ButtonTest, OperationsOnAnUnboundControlAreIgnored) {
    UiButton never;
    UiLabel neither;
    EXPECT_EQ(never.Text("x", true), "");
    EXPECT_EQ(neither.Text(), "");
    EXPECT_FALSE(never.IsBound());
}

}  // namespace
}  // namespace qh
