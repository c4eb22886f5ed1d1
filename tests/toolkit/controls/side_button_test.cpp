// Side buttons: one selected per window, and a picture that can be changed.
#include "toolkit/controls/side_button.h"

#include "tests/toolkit/controls/kind_test_support.h"
#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/style_painter.h"

namespace qh {
namespace {

class SideButtonTest : public ToolkitTest {
protected:
    // The middle of the blank right part of a side button at (10, top).
    Argb FaceAt(int top) { return ScreenAt(120, top + 14); }
};

TEST_F(SideButtonTest, SelectingOneDeselectsThePreviousOneOfTheSameWindowOnly) {
    UiSideButton a, b, c;
    a.Create(hwnd, 10, 30, 120, 28, Bytes(), "等额本息");
    b.Create(hwnd, 10, 60, 120, 28, Bytes(), "等额本金");
    c.Create(hwnd, 10, 90, 120, 28, Bytes(), "提前还款");
    // A side button of another window keeps its selection.
    HostHandle otherHwnd = CreateHostWindow("其他", 0, true, 0, true, 200, 150);
    UiWindow other;
    ASSERT_TRUE(other.Create(otherHwnd, Bytes(), MakeArgb(0xFFFFFF, 255), true));
    UiSideButton elsewhere;
    elsewhere.Create(otherHwnd, 10, 30, 120, 28, Bytes(), "别处");
    elsewhere.Selected(1, true);

    EXPECT_EQ(a.Selected(1, true), 1);
    EXPECT_TRUE(Close(FaceAt(30), Style().accent, 40)) << std::hex << FaceAt(30);
    EXPECT_EQ(b.Selected(1, true), 1);
    EXPECT_EQ(a.Selected(), 0);
    // Scripts see the same.
    EXPECT_EQ(a.Snapshot().selected, 0);
    EXPECT_EQ(b.Snapshot().selected, 1);
    EXPECT_EQ(b.Snapshot().text, "等额本金");
    EXPECT_TRUE(Near(FaceAt(30), 0xFFFFFFFFu)) << std::hex << FaceAt(30);  // repainted as it was
    EXPECT_TRUE(Close(FaceAt(60), Style().accent, 40));
    c.Selected(0, true);
    EXPECT_EQ(b.Selected(), 1);
    b.Selected(0, true);
    EXPECT_EQ(a.Selected() + b.Selected() + c.Selected(), 0);
    EXPECT_EQ(elsewhere.Selected(), 1);
    host.DestroyWindow(otherHwnd);
}

TEST_F(SideButtonTest, ImageReplacesThePictureAndRepaints) {
    UiSideButton side;
    side.Create(hwnd, 10, 30, 120, 28, Bytes(), "计算器");
    EXPECT_FALSE(side.Image());
    // The picture is centred in the 16 x 16 square 8 pixels in from the left.
    EXPECT_TRUE(side.Image(kRedBluePicture, true));
    EXPECT_TRUE(Near(ScreenAt(25, 43), kPictureRed)) << std::hex << ScreenAt(25, 43);
    EXPECT_FALSE(side.Image(Bytes{1, 2, 3}, true));
    EXPECT_FALSE(Near(ScreenAt(25, 43), kPictureRed));
    host.Click(hwnd, 100, 40);
    EXPECT_EQ(events, (std::vector<Event>{{'E', side.Id(), kKindSideButton}}));
}

TEST_F(SideButtonTest, AnUnboundSideButtonIgnoresItsOperations) {
    UiSideButton never;
    EXPECT_EQ(never.Selected(1, true), 0);
    EXPECT_FALSE(never.Image(kRedBluePicture, true));
}

}  // namespace
}  // namespace qh
