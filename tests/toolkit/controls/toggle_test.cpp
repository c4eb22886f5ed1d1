// Radio buttons in groups and check boxes, clicked as a user clicks them.
#include "toolkit/controls/check_box.h"
#include "toolkit/controls/radio_button.h"

#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/style_painter.h"

namespace qh {
namespace {

using ToggleTest = ToolkitTest;

TEST_F(ToggleTest, ClickingAnotherRadioButtonOfTheGroupUnchecksTheFirst) {
    UiRadioButton business, fund, other;
    business.Create(hwnd, "商业贷款", 10, 30, 90, 20, true, 1);
    fund.Create(hwnd, "公积金贷款", 100, 30, 90, 20, false, 1);
    other.Create(hwnd, "按面积", 10, 60, 90, 20, true, 2);
    host.Click(hwnd, 110, 40);
    EXPECT_EQ(business.Checked(), 0);
    EXPECT_EQ(fund.Checked(), 1);
    EXPECT_EQ(other.Checked(), 1);  // another group is left alone
}

TEST_F(ToggleTest, ClickingACheckedRadioButtonKeepsItCheckedAndRaisesTheEvent) {
    UiRadioButton business, fund;
    business.Create(hwnd, "商业贷款", 10, 30, 90, 20, true, 1);
    fund.Create(hwnd, "公积金贷款", 100, 30, 90, 20, false, 1);
    host.Click(hwnd, 20, 40);
    EXPECT_EQ(business.Checked(), 1);
    EXPECT_EQ(fund.Checked(), 0);
    EXPECT_EQ(events, (std::vector<Event>{{'E', business.Id(), kKindRadioOrCheck}}));
}

TEST_F(ToggleTest, ADisabledRadioButtonChangesNothing) {
    UiRadioButton business, fund;
    business.Create(hwnd, "商业贷款", 10, 30, 90, 20, true, 1);
    fund.Create(hwnd, "公积金贷款", 100, 30, 90, 20, false, 1);
    fund.Disabled(1, true);
    host.Click(hwnd, 110, 40);
    EXPECT_EQ(business.Checked(), 1);
    EXPECT_EQ(fund.Checked(), 0);
}

TEST_F(ToggleTest, ACheckBoxTogglesOnEveryClickAndFromTheKeyboard) {
    UiCheckBox autoStart;
    autoStart.Create(hwnd, "更新后启动", 10, 30, 120, 20, true);
    host.Click(hwnd, 20, 40);
    EXPECT_EQ(autoStart.Checked(), 0);
    host.Click(hwnd, 20, 40);
    EXPECT_EQ(autoStart.Checked(), 1);
    host.TypeKey(hwnd, vk::kSpace);
    EXPECT_EQ(autoStart.Checked(), 0);
    EXPECT_EQ(events.size(), 3u);
}

TEST_F(ToggleTest, ACheckedMarkIsDrawnInTheAccentColour) {
    UiCheckBox box;
    box.Create(hwnd, "", 10, 30, 40, 20, false);
    host.AdvanceClock(100);
    auto accentPixels = [&] {
        int n = 0;
        for (int y = 30; y < 50; ++y) {
            for (int x = 10; x < 30; ++x) n += Near(ScreenAt(x, y), Style().accent);
        }
        return n;
    };
    const int before = accentPixels();
    box.Checked(1, true);
    EXPECT_GT(accentPixels(), before + 5);
}

}  // namespace
}  // namespace qh
