// The drawer bar: its arrow shows which way the drawer goes, and a click
// raises the event the application opens or closes the drawer from.
#include "toolkit/controls/drawer_bar.h"

#include "tests/toolkit/controls/kind_test_support.h"
#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/style_painter.h"

namespace qh {
namespace {

class DrawerBarTest : public ToolkitTest {
protected:
    // The leftmost and rightmost arrow pixels on the bar's middle row.
    std::pair<int, int> ArrowSpan() {
        int left = -1, right = -1;
        for (int x = 10; x < 34; ++x) {
            if (!Close(ScreenAt(x, 70), Style().accent, 60)) continue;
            if (left < 0) left = x;
            right = x;
        }
        return {left, right};
    }
};

TEST_F(DrawerBarTest, TheArrowPointsRightWhenClosedAndLeftWhenOpen) {
    UiDrawerBar bar;
    bar.Create(hwnd, 10, 30, 24, 80);
    ASSERT_TRUE(bar.IsBound());
    const auto [closedLeft, closedRight] = ArrowSpan();
    ASSERT_GE(closedLeft, 0);
    const int centre = 22;
    // The tip reaches further from the centre than the base.
    EXPECT_GT(closedRight - centre, centre - closedLeft);
    host.ClearPresentations();
    EXPECT_EQ(bar.Snapshot().checked, 0);
    EXPECT_EQ(bar.State(1, true), 1);
    EXPECT_EQ(bar.Snapshot().checked, 1);  // scripts see an open drawer as checked
    EXPECT_FALSE(host.Presentations().empty());
    const auto [openLeft, openRight] = ArrowSpan();
    EXPECT_GT(centre - openLeft, openRight - centre);
    host.ClearPresentations();
    bar.State(1, true);
    EXPECT_TRUE(host.Presentations().empty());
}

TEST_F(DrawerBarTest, AClickRaisesTheEventAndAnUnboundBarIgnoresState) {
    UiDrawerBar bar;
    bar.Create(hwnd, 10, 30, 24, 80, kRedBluePicture);
    EXPECT_FALSE(bar.Picture().Empty());
    host.Click(hwnd, 20, 50);
    EXPECT_EQ(events, (std::vector<Event>{{'E', bar.Id(), kKindDrawerBar}}));
    UiDrawerBar never;
    EXPECT_EQ(never.State(1, true), 0);
}

}  // namespace
}  // namespace qh
