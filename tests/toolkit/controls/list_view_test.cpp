// The list view as the updater fills it and a user reads it: columns and
// their alignments, rows and cells, the selection, scrolling by the bar, the
// wheel and the keys, and filling while drawing is suspended.
#include "toolkit/controls/list_view.h"

#include "tests/toolkit/controls/kind_test_support.h"
#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/style_painter.h"

namespace qh {
namespace {

constexpr int kUp = 38, kDown = 40;

// A list at (10, 30), 180 x 116: a 24-pixel header and four rows of 22 in
// view, the first row from y = 55. Its columns are 120 pixels wide in all,
// so the right part of every row is blank.
class ListViewTest : public ToolkitTest {
protected:
    void Fill(int rows) {
        list.Create(hwnd, 10, 30, 180, 116);
        ASSERT_TRUE(list.IsBound());
        list.InsertColumn(0, "文件", 60);
        list.InsertColumn(0, "大小", 40, 2);
        list.InsertColumn(0, "进度", 20, 1);
        // Filled as the updater fills it: painted once at the end.
        list.SuspendDraw();
        for (int i = 1; i <= rows; ++i) list.InsertRow(0, "文件" + std::to_string(i), i);
        list.ResumeDraw();
        list.Redraw();
    }
    // The middle of the blank part of the row shown in place `place` (1-4).
    Argb RowPixel(int place) { return ScreenAt(160, 55 + 22 * (place - 1) + 11); }
    // A wheel turn over the list; the message carries screen coordinates.
    void Wheel(int delta) {
        const RectI r = host.WindowRect(hwnd);
        host.Send(hwnd, msg::kMouseWheel, static_cast<std::intptr_t>(delta * 65536),
                  MakeLParam(r.left + 100, r.top + 80));
    }

    UiListView list;
};

TEST_F(ListViewTest, ColumnAlignmentsAreStoredInTheirVerticallyCentredForms) {
    list.Create(hwnd, 10, 30, 180, 116);
    EXPECT_EQ(list.InsertColumn(0, "名称", 50, 1), 1);
    EXPECT_EQ(list.ColumnAlign(1), 4);
    list.InsertColumn(0, "a", 50, 0);
    list.InsertColumn(0, "b", 50, 2);
    list.InsertColumn(0, "c", 50, 5);
    list.InsertColumn(0, "d", 50, 9);
    EXPECT_EQ((std::vector<int>{list.ColumnAlign(2), list.ColumnAlign(3), list.ColumnAlign(4), list.ColumnAlign(5)}),
              (std::vector<int>{3, 5, 5, 3}));
    EXPECT_EQ(list.ColumnAlign(6), 0);
    // An index past the end is ignored; one inside inserts there.
    EXPECT_EQ(list.InsertColumn(9, "x"), 0);
    EXPECT_EQ(list.InsertColumn(1, "first"), 1);
    EXPECT_EQ(list.ColumnCount(), 6);
}

TEST_F(ListViewTest, RowsNeedAColumnAndHoldOneCellPerColumn) {
    list.Create(hwnd, 10, 30, 180, 116);
    EXPECT_EQ(list.InsertRow(0, "无列"), 0);
    EXPECT_EQ(list.RowCount(), 0);

    list.InsertColumn(0, "文件", 60);
    EXPECT_EQ(list.InsertRow(0, "b.dll", 7), 1);
    EXPECT_EQ(list.InsertRow(1, "a.exe"), 1);
    EXPECT_EQ(list.InsertRow(5, "too far"), 0);
    EXPECT_EQ(list.CellText(1, 1), "a.exe");
    EXPECT_EQ(list.RowValue(2), 7);
    // A column added later gives every row an empty cell.
    list.InsertColumn(0, "大小", 40, 2);
    EXPECT_EQ(list.CellText(2, 2), "");
    EXPECT_EQ(list.CellText(2, 2, "12 KB", true), "12 KB");
    // Out of range: nothing changes, the answer is empty.
    EXPECT_EQ(list.CellText(3, 1, "x", true), "");
    EXPECT_EQ(list.CellText(1, 3, "x", true), "");
    EXPECT_EQ(list.CellText(0, 1), "");
    EXPECT_EQ(list.RowCount(), 2);
}

TEST_F(ListViewTest, AnOutOfRangeSelectedRowLeavesNoRowSelected) {
    Fill(3);
    EXPECT_EQ(list.SelectedRow(2, true), 2);
    EXPECT_TRUE(Near(RowPixel(2), Style().accent)) << std::hex << RowPixel(2);
    EXPECT_EQ(list.SelectedRow(4, true), 0);
    EXPECT_FALSE(Close(RowPixel(2), Style().accent, 40));  // the previous row was repainted
    list.SelectedRow(1, true);
    EXPECT_EQ(list.SelectedRow(-1, true), 0);
    EXPECT_EQ(list.SelectedRow(), 0);
}

TEST_F(ListViewTest, TheSelectionFollowsItsRowAndClearRowsDropsIt) {
    Fill(3);
    list.SelectedRow(2, true);
    list.InsertRow(1, "新的第一行");
    EXPECT_EQ(list.SelectedRow(), 3);
    EXPECT_EQ(list.CellText(3, 1), "文件2");
    list.ClearRows();
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(list.SelectedRow(), 0);
    EXPECT_EQ(list.SelectedRow(1, true), 0);
}

TEST_F(ListViewTest, AClickSelectsTheRowUnderItAndHoverIsShownWhileOver) {
    Fill(3);
    host.MouseMove(hwnd, 160, 60);
    EXPECT_TRUE(Near(RowPixel(1), Style().accentLight)) << std::hex << RowPixel(1);
    host.MouseMove(hwnd, 195, 10);  // out of the list
    EXPECT_TRUE(Near(RowPixel(1), 0xFFFFFFFFu)) << std::hex << RowPixel(1);
    host.Click(hwnd, 160, 55 + 2 * 22 + 5);
    EXPECT_EQ(list.SelectedRow(), 3);
    // Scripts read the selection and every row's cells.
    const ControlSnapshot seen = list.Snapshot();
    EXPECT_EQ(seen.selection, 3);
    ASSERT_EQ(seen.rows.size(), 3u);
    EXPECT_EQ(seen.rows[2], (std::vector<Text>{"文件3", "", ""}));
    EXPECT_TRUE(Near(RowPixel(3), Style().accent));
    EXPECT_EQ(events, (std::vector<Event>{{'E', list.Id(), kKindListView}}));
    // Below the last row nothing is selected anew.
    host.Click(hwnd, 160, 140);
    EXPECT_EQ(list.SelectedRow(), 3);
}

TEST_F(ListViewTest, EnsureVisibleScrollsTheRowToTheTopOnlyWhenItIsOutOfView) {
    Fill(20);
    EXPECT_TRUE(list.HasScrollBar());
    list.EnsureVisible(3);
    EXPECT_EQ(list.TopRow(), 1);
    list.SelectedRow(10, true);
    list.EnsureVisible(10);
    EXPECT_EQ(list.TopRow(), 10);
    EXPECT_TRUE(Near(RowPixel(1), Style().accent));
    list.EnsureVisible(20);
    EXPECT_EQ(list.TopRow(), 17);  // as far as the list scrolls
    list.EnsureVisible(2);
    EXPECT_EQ(list.TopRow(), 2);
    list.EnsureVisible(21);
    EXPECT_EQ(list.TopRow(), 2);
}

TEST_F(ListViewTest, MadeTallerAtTheEndTheListShowsMoreRowsInsteadOfBlankSpace) {
    Fill(20);
    list.EnsureVisible(20);
    ASSERT_EQ(list.TopRow(), 17);
    list.Height(116 + 22, true);  // five rows in view
    EXPECT_EQ(list.TopRow(), 16);
}

TEST_F(ListViewTest, TheWheelScrollsThreeRowsANotchWithinTheList) {
    Fill(20);
    Wheel(-120);
    EXPECT_EQ(list.TopRow(), 4);
    Wheel(-240);
    EXPECT_EQ(list.TopRow(), 10);
    Wheel(-1200);
    EXPECT_EQ(list.TopRow(), 17);
    Wheel(120 * 100);
    EXPECT_EQ(list.TopRow(), 1);
}

TEST_F(ListViewTest, TheThumbDragsAndTheTrackTurnsPages) {
    Fill(40);
    // The bar runs down the right edge from y = 55, its thumb at the top.
    host.MouseDown(hwnd, 184, 60);
    host.MouseMove(hwnd, 184, 100);
    const int midway = list.TopRow();
    EXPECT_GT(midway, 1);
    EXPECT_LT(midway, 37);
    host.MouseMove(hwnd, 184, 400);
    host.MouseUp(hwnd, 184, 400);
    EXPECT_EQ(list.TopRow(), 37);
    EXPECT_EQ(list.SelectedRow(), 0);  // the bar is no row
    host.Click(hwnd, 184, 60);
    EXPECT_EQ(list.TopRow(), 33);
}

TEST_F(ListViewTest, ArrowKeysMoveTheSelectionAndKeepItInView) {
    Fill(40);
    host.Click(hwnd, 160, 60);
    ASSERT_EQ(list.SelectedRow(), 1);
    for (int i = 0; i < 5; ++i) host.TypeKey(hwnd, kDown);
    EXPECT_EQ(list.SelectedRow(), 6);
    EXPECT_EQ(list.TopRow(), 3);
    host.TypeKey(hwnd, vk::kEnd);
    EXPECT_EQ(list.SelectedRow(), 40);
    EXPECT_EQ(list.TopRow(), 37);
    host.TypeKey(hwnd, kUp);
    EXPECT_EQ(list.SelectedRow(), 39);
    EXPECT_EQ(list.TopRow(), 37);
    host.TypeKey(hwnd, vk::kHome);
    EXPECT_EQ(list.TopRow(), 1);
}

// OnSelect reports the user's selections (clicks and keys), once per
// change, and not the program's.
TEST_F(ListViewTest, OnSelectReportsTheUsersSelectionsOnly) {
    Fill(6);
    std::vector<int> seen;
    list.OnSelect([&seen](int row) { seen.push_back(row); });
    host.Click(hwnd, 100, 55 + 22 + 11);
    host.Click(hwnd, 100, 55 + 22 + 11);
    host.TypeKey(hwnd, kDown);
    list.SelectedRow(1, true);
    host.TypeKey(hwnd, kUp);
    EXPECT_EQ(seen, (std::vector<int>{2, 3}));
    EXPECT_EQ(list.SelectedRow(), 1);
}

TEST_F(ListViewTest, WhileDrawingIsSuspendedNothingIsPaintedUntilRedraw) {
    Fill(3);
    list.SuspendDraw();
    list.SelectedRow(1, true);
    list.CellText(1, 1, "更新中", true);
    EXPECT_TRUE(Near(RowPixel(1), 0xFFFFFFFFu));
    list.ResumeDraw();
    list.Redraw();
    EXPECT_TRUE(Near(RowPixel(1), Style().accent));
}

TEST_F(ListViewTest, AWorkerThreadFillsTheListOnTheWindowsThread) {
    Fill(0);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 30; ++i) list.InsertRow(0, "下载");
        list.CellText(30, 2, "100%", true);
        list.SelectedRow(30, true);
        list.EnsureVisible(30);
        done = true;
    });
    ASSERT_TRUE(host.PumpUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(list.RowCount(), 30);
    EXPECT_EQ(list.CellText(30, 2), "100%");
    EXPECT_EQ(list.TopRow(), 27);
    EXPECT_TRUE(Near(RowPixel(4), Style().accent));
}

TEST_F(ListViewTest, AnUnboundListIgnoresEveryOperation) {
    UiListView never;
    EXPECT_EQ(never.InsertColumn(0, "x"), 0);
    EXPECT_EQ(never.InsertRow(0, "x"), 0);
    EXPECT_EQ(never.SelectedRow(1, true), 0);
    EXPECT_EQ(never.CellText(1, 1, "x", true), "");
    never.EnsureVisible(1);
    never.ClearRows();
    EXPECT_EQ(never.RowCount(), 0);
    EXPECT_EQ(never.TopRow(), 0);
    EXPECT_EQ(never.Style(1, true), 0);
}

}  // namespace
}  // namespace qh
