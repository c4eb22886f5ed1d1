// The tip panel: hidden until shown, then fading in over timer ticks; its
// two pointer styles; a text and style that are set while it is hidden.
#include "toolkit/controls/tip_panel.h"

#include "tests/toolkit/controls/kind_test_support.h"
#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/style_painter.h"

namespace qh {
namespace {

// A panel at (20, 30), 150 x 70. With the pointer on top the body's left
// edge is at x = 20 from y = 38; the pointer's tip is 20 pixels in.
class TipPanelTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        tip.Create(hwnd, 20, 30, 150, 70);
        ASSERT_TRUE(tip.IsBound());
    }
    // How far a pixel is from the white background.
    int Ink(int x, int y) { return 255 - GreenOf(ScreenAt(x, y)) + 255 - RedOf(ScreenAt(x, y)); }

    UiTipPanel tip;
};

TEST_F(TipPanelTest, ItIsHiddenAtCreationAndFadesInWhenShown) {
    EXPECT_EQ(tip.Visible(), 0);
    EXPECT_EQ(Ink(20, 70), 0);
    tip.SetZOrder(1, true);
    tip.Visible(1, true);
    EXPECT_EQ(tip.Opacity(), 0);
    std::vector<int> ink;
    for (int tick = 0; tick < 5; ++tick) {
        host.AdvanceClock(40);
        ink.push_back(Ink(20, 70));
    }
    EXPECT_EQ(tip.Opacity(), 255);
    EXPECT_TRUE(std::is_sorted(ink.begin(), ink.end()) && ink.front() < ink.back()) << ::testing::PrintToString(ink);
    EXPECT_TRUE(Close(ScreenAt(20, 70), Style().hoverBorder, 12)) << std::hex << ScreenAt(20, 70);
    // Faded in, the timer is gone: nothing is painted any more.
    host.ClearPresentations();
    host.AdvanceClock(400);
    EXPECT_TRUE(host.Presentations().empty());
}

TEST_F(TipPanelTest, HidingStopsTheFadeAndShowingAgainStartsItOver) {
    tip.Visible(1, true);
    host.AdvanceClock(80);
    EXPECT_EQ(tip.Opacity(), 102);
    tip.Visible(0, true);
    host.AdvanceClock(400);
    EXPECT_EQ(tip.Opacity(), 102);
    EXPECT_EQ(Ink(20, 70), 0);
    tip.Visible(1, true);
    EXPECT_EQ(tip.Opacity(), 0);
    host.AdvanceClock(200);
    EXPECT_EQ(tip.Opacity(), 255);
}

TEST_F(TipPanelTest, Style2PointsUpAndStyle3PointsDown) {
    // Style 2: the pointer rises above the body at x = 40, beside it there
    // is nothing above the body, and the body reaches down to y = 98.
    tip.Visible(1, true);
    host.AdvanceClock(400);
    EXPECT_GT(Ink(40, 33), 0);
    EXPECT_EQ(Ink(100, 33), 0);
    EXPECT_GT(Ink(100, 95), 0);
    tip.Visible(0, true);
    host.ClearPresentations();
    EXPECT_EQ(tip.Style(3, true), 3);
    const Text explanation = "贷款利率按年计\r\n月供逐月相同";
    EXPECT_EQ(tip.Text(explanation, true), explanation);
    EXPECT_EQ(tip.Snapshot().text, explanation);  // what scripts print
    EXPECT_TRUE(host.Presentations().empty());  // set while hidden, nothing is painted
    // Style 3: the body starts at the top and the pointer goes down below it.
    tip.Visible(1, true);
    host.AdvanceClock(400);
    EXPECT_GT(Ink(100, 33), 0);
    EXPECT_GT(Ink(40, 95), 0);
    EXPECT_EQ(Ink(100, 95), 0);
    // Both lines of the text are drawn in the body.
    int inkedRows = 0;
    for (int y = 34; y < 88; ++y) {
        bool inked = false;
        for (int px = 30; px < 160 && !inked; ++px) inked = Ink(px, y) > 200;
        inkedRows += inked;
    }
    EXPECT_GT(inkedRows, 14);
}

TEST_F(TipPanelTest, APressOnItFallsThroughAndAnUnboundPanelIgnoresItsOperations) {
    tip.Visible(1, true);
    host.Click(hwnd, 90, 60);
    EXPECT_EQ(window.FocusedControl(), 0);
    EXPECT_TRUE(events.empty());
    UiTipPanel never;
    EXPECT_EQ(never.Style(3, true), 0);
    EXPECT_EQ(never.Text("x", true), "");
}

}  // namespace
}  // namespace qh
