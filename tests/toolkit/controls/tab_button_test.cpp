// Tab buttons: the picture above the text, the selected look set by the
// application, and the click event it switches pages from.
#include "toolkit/controls/tab_button.h"

#include "tests/toolkit/controls/kind_test_support.h"
#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/style_painter.h"

namespace qh {
namespace {

using TabButtonTest = ToolkitTest;

TEST_F(TabButtonTest, SelectedRepaintsOnlyWhenItChanges) {
    UiTabButton tab;
    tab.Create(hwnd, 10, 30, 70, 60, Bytes(), "房贷");
    ASSERT_TRUE(tab.IsBound());
    EXPECT_TRUE(Near(ScreenAt(10, 60), 0xFFFFFFFFu));  // no frame at rest
    host.ClearPresentations();
    EXPECT_EQ(tab.Snapshot().selected, 0);
    EXPECT_EQ(tab.Selected(5, true), 1);
    EXPECT_EQ(tab.Snapshot().selected, 1);  // what scripts read
    EXPECT_FALSE(host.Presentations().empty());
    EXPECT_TRUE(Close(ScreenAt(10, 60), Style().accent, 12)) << std::hex << ScreenAt(10, 60);
    host.ClearPresentations();
    tab.Selected(1, true);
    EXPECT_TRUE(host.Presentations().empty());
    tab.Selected(0, true);
    EXPECT_TRUE(Near(ScreenAt(10, 60), 0xFFFFFFFFu));
}

TEST_F(TabButtonTest, ThePictureSitsAboveTheTextAndAClickRaisesTheEvent) {
    UiTabButton tab;
    tab.Create(hwnd, 10, 30, 70, 60, kRedBluePicture, "公积金");
    // The picture keeps its size, centred in the 62 x 32 above the text band.
    EXPECT_TRUE(Near(ScreenAt(44, 49), kPictureRed)) << std::hex << ScreenAt(44, 49);
    host.ClearPresentations();
    EXPECT_EQ(tab.Text("组合贷", true), "组合贷");
    EXPECT_FALSE(host.Presentations().empty());
    host.Click(hwnd, 45, 60);
    EXPECT_EQ(events, (std::vector<Event>{{'E', tab.Id(), kKindTabButton}}));
    EXPECT_EQ(tab.Selected(), 0);  // selecting is the application's choice
}

TEST_F(TabButtonTest, AnUnboundTabIgnoresItsOperations) {
    UiTabButton never;
    EXPECT_EQ(never.Selected(1, true), 0);
    EXPECT_EQ(never.Text("x", true), "");
}

}  // namespace
}  // namespace qh
