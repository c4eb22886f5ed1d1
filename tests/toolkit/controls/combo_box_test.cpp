// Combo boxes as a user meets them: a list that opens inside the window
// (upwards near the bottom, scrolling when long), picks with the mouse, the
// wheel and the keys, and closes without a change when the focus goes.
#include "toolkit/controls/combo_box.h"

#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/style_painter.h"

namespace qh {
namespace {

class ComboBoxTest : public ToolkitTest {
protected:
    void Make(float top, std::vector<Text> items = {"等额本息", "等额本金", "先息后本"}) {
        combo.Create(hwnd, 20, top, 120, 24, 1, items, {10, 20, 30});
        ASSERT_TRUE(combo.IsBound());
        closed = combo.Bounds();
        combo.OnSelect([this](int item) { picks.push_back(item); });
    }
    void Open() {
        host.Click(hwnd, 60, static_cast<int>(closed.top) + 12);
        ASSERT_TRUE(combo.IsOpen());
    }
    // The centre of an item's row in the open list (item counted from the
    // first row shown).
    int RowY(int row) const {
        return static_cast<int>(combo.ListBounds().top + 2 + (row - 0.5f) * combo.RowHeight());
    }
    void WheelOver(int x, int y, int delta) {
        const RectI r = host.WindowRect(hwnd);
        host.Send(hwnd, msg::kMouseWheel, static_cast<std::intptr_t>(delta) << 16, MakeLParam(r.left + x, r.top + y));
    }
    bool SameRect(const RectF& a, const RectF& b) {
        return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
    }

    UiComboBox combo;
    RectF closed;
    std::vector<int> picks;
};

TEST_F(ComboBoxTest, APressOpensTheListBelowAndAClickOnAnItemPicksIt) {
    Make(30);
    EXPECT_EQ(combo.Text(), "等额本息");
    Open();
    const RectF open = combo.Bounds();
    EXPECT_EQ(open.top, closed.top);
    EXPECT_EQ(open.height, closed.height + combo.ListBounds().height);
    EXPECT_GE(combo.ListBounds().height, 3 * combo.RowHeight());
    EXPECT_TRUE(combo.IsFocused());
    // The chosen item's row is drawn in the accent colour.
    EXPECT_TRUE(Near(ScreenAt(25, RowY(1)), Style().accent)) << std::hex << ScreenAt(25, RowY(1));

    const int lastRow = RowY(3);
    host.Click(hwnd, 60, RowY(2));
    EXPECT_FALSE(combo.IsOpen());
    EXPECT_EQ(combo.Selection(), 2);
    EXPECT_EQ(combo.Text(), "等额本金");
    EXPECT_EQ(combo.ItemValue(2), 20);
    EXPECT_EQ(picks, std::vector<int>{2});
    // Scripts read the chosen item.
    EXPECT_EQ(combo.Snapshot().text, "等额本金");
    EXPECT_EQ(combo.Snapshot().selection, 2);
    EXPECT_TRUE(SameRect(combo.Bounds(), closed));
    // The list's area shows the window again.
    EXPECT_TRUE(Near(ScreenAt(60, lastRow), 0xFFFFFFFFu));
}

TEST_F(ComboBoxTest, APressOnTheBackgroundClosesTheListWithoutAChange) {
    Make(30);
    int blurred = 0;
    window.OnControlBlur([&](HostHandle, int id, int, int kind) {
        blurred += id == combo.Id() && kind == kKindComboBox;
        return 0;
    });
    Open();
    const int listY = RowY(3);
    host.Click(hwnd, 180, 140);
    EXPECT_FALSE(combo.IsOpen());
    EXPECT_EQ(combo.Selection(), 1);
    EXPECT_TRUE(picks.empty());
    EXPECT_EQ(blurred, 1);
    EXPECT_FALSE(combo.IsFocused());
    EXPECT_TRUE(SameRect(combo.Bounds(), closed));
    EXPECT_TRUE(Near(ScreenAt(60, listY), 0xFFFFFFFFu)) << std::hex << ScreenAt(60, listY);

    // A second press on the box itself closes an open list the same way.
    Open();
    host.Click(hwnd, 60, static_cast<int>(closed.top) + 12);
    EXPECT_FALSE(combo.IsOpen());
    EXPECT_TRUE(picks.empty());

    // So does the window going inactive, while the box keeps the focus.
    Open();
    host.Send(hwnd, msg::kActivate, 0, 0);
    EXPECT_FALSE(combo.IsOpen());
    EXPECT_TRUE(combo.IsFocused());
    EXPECT_TRUE(SameRect(combo.Bounds(), closed));
    EXPECT_TRUE(picks.empty());
}

TEST_F(ComboBoxTest, NearTheBottomTheListOpensUpwards) {
    Make(115);
    Open();
    const RectF list = combo.ListBounds();
    EXPECT_LE(list.Bottom(), closed.top);
    EXPECT_GE(list.top, 0);
    EXPECT_EQ(combo.Bounds().Bottom(), closed.Bottom());
    EXPECT_LT(combo.Bounds().top, closed.top);
    host.Click(hwnd, 60, RowY(3));
    EXPECT_EQ(combo.Selection(), 3);
    EXPECT_TRUE(SameRect(combo.Bounds(), closed));
}

TEST_F(ComboBoxTest, ALongListStaysInsideTheWindowAndScrolls) {
    std::vector<Text> years;
    for (int i = 1; i <= 30; ++i) years.push_back(std::to_string(i) + "年");
    Make(60, years);
    Open();
    EXPECT_GE(combo.Bounds().top, 0);
    EXPECT_LE(combo.Bounds().Bottom(), window.ClientHeight());
    EXPECT_LT(combo.ListBounds().height, 30 * combo.RowHeight());
    // The keys walk the hot item down past the last row shown.
    for (int i = 0; i < 25; ++i) host.TypeKey(hwnd, 40);
    EXPECT_EQ(combo.HotItem(), 26);
    EXPECT_EQ(combo.Selection(), 1);
    host.TypeKey(hwnd, vk::kEnter);
    EXPECT_FALSE(combo.IsOpen());
    EXPECT_EQ(combo.Selection(), 26);
    EXPECT_EQ(picks, std::vector<int>{26});
    // Reopened, the list shows the chosen item, and the wheel moves the hot item.
    Open();
    const int last = static_cast<int>((combo.ListBounds().height - 4) / combo.RowHeight());
    EXPECT_TRUE(Near(ScreenAt(25, RowY(last)), Style().accent));
    WheelOver(60, RowY(1), 240);
    EXPECT_EQ(combo.HotItem(), 24);
    // Escape closes without a change.
    host.TypeKey(hwnd, 27);
    EXPECT_FALSE(combo.IsOpen());
    EXPECT_EQ(combo.Selection(), 26);
}

TEST_F(ComboBoxTest, ItemBoundsIsWhereAClickPicksTheItemAndEmptyOutOfView) {
    std::vector<Text> years;
    for (int i = 1; i <= 30; ++i) years.push_back(std::to_string(i) + "年");
    Make(60, years);
    EXPECT_EQ(combo.ItemBounds(1).width, 0);  // closed
    Open();
    EXPECT_GT(combo.ItemBounds(1).width, 0);
    EXPECT_EQ(combo.ItemBounds(30).width, 0);  // scrolled out of view
    EXPECT_EQ(combo.ItemBounds(31).width, 0);
    EXPECT_EQ(combo.ItemBounds(0).width, 0);
    // Scrolled down by the keys, the first items leave the view.
    for (int i = 0; i < 29; ++i) host.TypeKey(hwnd, 40);
    EXPECT_EQ(combo.ItemBounds(1).width, 0);
    const RectF row = combo.ItemBounds(29);
    ASSERT_GT(row.height, 0);
    EXPECT_LE(row.Bottom(), combo.ListBounds().Bottom());
    host.Click(hwnd, static_cast<int>(row.left + row.width / 2), static_cast<int>(row.top + row.height / 2));
    EXPECT_EQ(combo.Selection(), 29);
    EXPECT_EQ(picks, std::vector<int>{29});
}

TEST_F(ComboBoxTest, TheWheelAndTheKeysChooseOnAClosedBox) {
    Make(30);
    WheelOver(60, 42, -120);
    EXPECT_EQ(combo.Selection(), 2);
    WheelOver(60, 42, 240);
    EXPECT_EQ(combo.Selection(), 1);
    // Only changes are reported: the second notch found the top.
    EXPECT_EQ(picks, (std::vector<int>{2, 1}));
    ASSERT_TRUE(window.FocusControl(combo.Id()));
    host.TypeKey(hwnd, 40);
    host.TypeKey(hwnd, 40);
    host.TypeKey(hwnd, 40);
    EXPECT_EQ(combo.Selection(), 3);
    EXPECT_FALSE(combo.IsOpen());
    EXPECT_EQ(picks, (std::vector<int>{2, 1, 2, 3}));
    combo.Disabled(1, true);
    WheelOver(60, 42, 120);
    EXPECT_EQ(combo.Selection(), 3);
}

TEST_F(ComboBoxTest, TheOpenListLiesOverTheControlsAfterIt) {
    Make(30);
    // Controls made after the box: one beside it, which takes the box's
    // place in the window's list when the box rises to the top, and one
    // where the list will open.
    Probe beside, beneath;
    ASSERT_TRUE(beside.Create(hwnd, MakeRect(150, 30, 40, 24)));
    ASSERT_TRUE(beneath.Create(hwnd, MakeRect(20, 56, 120, 60)));
    Open();
    // Neither is left looking pressed by the press that opened the list.
    EXPECT_NE(beside.lastState, kStatePressed);
    EXPECT_TRUE(Near(ScreenAt(170, 40), StateColor(kStateNormal)));
    EXPECT_FALSE(Near(ScreenAt(60, RowY(2)), StateColor(kStateNormal)));
    host.MouseMove(hwnd, 60, RowY(3));
    EXPECT_EQ(combo.HotItem(), 3);
    EXPECT_TRUE(Near(ScreenAt(25, RowY(3)), Style().accentLight));
    const int row2 = RowY(2);
    host.Click(hwnd, 60, RowY(3));
    EXPECT_EQ(combo.Selection(), 3);
    EXPECT_EQ(beneath.clicks, 0);
    // Closed, the control beneath shows again.
    EXPECT_TRUE(Near(ScreenAt(60, row2), StateColor(kStateNormal)));
}

TEST_F(ComboBoxTest, OutOfRangeSelectionsAndUnboundBoxesAreIgnored) {
    Make(30);
    EXPECT_EQ(combo.Selection(4, true), 1);
    EXPECT_EQ(combo.Selection(-1, true), 1);
    EXPECT_EQ(combo.ItemText(4), "");
    EXPECT_EQ(combo.InsertItem(5, "x"), 0);
    EXPECT_EQ(combo.Selection(0, true), 0);
    EXPECT_EQ(combo.Text(), "");
    EXPECT_TRUE(picks.empty());

    UiComboBox never;
    EXPECT_EQ(never.Selection(1, true), 0);
    EXPECT_EQ(never.AddItem("x"), 0);
    EXPECT_EQ(never.ItemCount(), 0);
    EXPECT_EQ(never.ItemText(1), "");
    never.ClearItems();
}

TEST_F(ComboBoxTest, InsertingKeepsTheChosenItemAndClearingChoosesNone) {
    Make(30);
    combo.Selection(2, true);
    EXPECT_EQ(combo.InsertItem(1, "按月付息", 40), 1);
    EXPECT_EQ(combo.Selection(), 3);
    EXPECT_EQ(combo.Text(), "等额本金");
    EXPECT_EQ(combo.AddItem("一次性还本付息", 50), 5);
    EXPECT_EQ(combo.ItemValue(5), 50);
    Open();
    combo.ClearItems();
    EXPECT_FALSE(combo.IsOpen());
    EXPECT_EQ(combo.Selection(), 0);
    EXPECT_TRUE(SameRect(combo.Bounds(), closed));
    // An empty box does not open.
    host.Click(hwnd, 60, 42);
    EXPECT_FALSE(combo.IsOpen());
}

TEST_F(ComboBoxTest, AWorkerThreadFillsTheBoxOnTheWindowsThread) {
    Make(30);
    std::atomic<bool> done{false};
    int added = 0;
    std::thread worker([&] {
        combo.ClearItems();
        for (int i = 1; i <= 12; ++i) added = combo.AddItem(std::to_string(i * 12) + "期", i);
        combo.Selection(3, true);
        done = true;
    });
    ASSERT_TRUE(host.PumpUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(added, 12);
    EXPECT_EQ(combo.ItemCount(), 12);
    EXPECT_EQ(combo.Text(), "36期");
    EXPECT_TRUE(picks.empty());
}

}  // namespace
}  // namespace qh
