// The system menu, opened by a right-click on the caption icon: the system's
// own menu on Win32, a menu the toolkit draws in the window on the other
// hosts. Either way the choice reaches the window as WM_SYSCOMMAND.
#include "toolkit/system_menu.h"

#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/caption_icon.h"

namespace qh {
namespace {

constexpr int kIconX = 12, kIconY = 12;

class SystemMenuTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        window.OnMessage([this](HostHandle, int message, std::intptr_t wParam, std::intptr_t) -> std::intptr_t {
            if (message == msg::kSysCommand) commands.push_back(static_cast<int>(wParam) & 0xFFF0);
            return -1;
        });
        window.OnControlRightDown([this](HostHandle, int id, int, int) {
            rightDowns.push_back(id);
            return 0;
        });
    }
    // Keys for the menu, posted before it opens: the system's menu is modal
    // and takes them from the queue; the drawn one gets them when pumped.
    void PostKeys(std::initializer_list<int> keys) {
        for (int vk : keys) host.PostMessage(hwnd, msg::kKeyDown, vk, 1);
    }
    void OpenMenu() {
        host.RightClick(hwnd, kIconX, kIconY);
        host.ProcessPending();
    }
    // The centre of an item of the drawn menu.
    std::pair<int, int> ItemCentre(int item) const {
        const RectF r = window.DrawnSystemMenu().ItemBounds(item);
        return {static_cast<int>(r.left + r.width / 2), static_cast<int>(r.top + r.height / 2)};
    }
    int IconId() { return window.Record(window.MenuOwner())->id; }

    std::vector<int> commands;
    std::vector<int> rightDowns;
};

TEST_F(SystemMenuTest, ChoosingCloseSendsScCloseAndTheWindowCloses) {
    PostKeys({vk::kUp, vk::kEnter});  // from no item, Up takes the last one: close
    OpenMenu();
    ASSERT_TRUE(host.PumpUntil([&] { return !host.Exists(hwnd); }));
    EXPECT_EQ(commands, std::vector<int>{msg::kScClose});
}

TEST_F(SystemMenuTest, EscapeClosesTheMenuWithoutACommand) {
    const Bitmap before = host.Screen(hwnd);
    const int icon = IconId();
    PostKeys({vk::kEscape});
    OpenMenu();
    EXPECT_FALSE(window.SystemMenuOpen());
    EXPECT_TRUE(commands.empty());
    EXPECT_TRUE(host.Exists(hwnd));
    EXPECT_EQ(rightDowns, std::vector<int>{icon});
    // What the menu covered is shown again.
    const Bitmap after = host.Screen(hwnd);
    int differing = 0;
    for (int y = 20; y < 150; ++y) {
        for (int x = 0; x < 200; ++x) differing += before.GetPixel(x, y) != after.GetPixel(x, y) ? 1 : 0;
    }
    EXPECT_EQ(differing, 0);
}

// The rest drives the menu the toolkit draws, which stays open between
// inputs; the system's own menu is modal.
class DrawnSystemMenuTest : public SystemMenuTest {
protected:
    void SetUp() override {
        if (kTestHostHasNativeSystemMenu) GTEST_SKIP() << "the system's own menu is modal";
        SystemMenuTest::SetUp();
    }
};

TEST_F(DrawnSystemMenuTest, OffersWhatTheWindowsFlagsAllowAndSkipsTheRest) {
    OpenMenu();
    ASSERT_TRUE(window.SystemMenuOpen());
    // The test window can be minimized but not maximized, and is not maximized.
    std::vector<std::pair<int, bool>> offered;
    for (const SystemMenuItem& item : window.DrawnSystemMenu().Items()) {
        if (item.command != 0) offered.emplace_back(item.command, item.enabled);
    }
    EXPECT_EQ(offered, (std::vector<std::pair<int, bool>>{
                           {msg::kScRestore, false}, {msg::kScMinimize, true}, {msg::kScMaximize, false},
                           {msg::kScClose, true}}));
    // A click on an item that is not available does nothing.
    auto [mx, my] = ItemCentre(3);
    host.Click(hwnd, mx, my);
    host.ProcessPending();
    EXPECT_TRUE(window.SystemMenuOpen());
    EXPECT_TRUE(commands.empty());
    // The keys pass over the separator and what is not available: Down
    // from maximize lands on close, and again wraps round to minimize.
    PostKeys({vk::kDown});
    host.ProcessPending();
    EXPECT_EQ(window.DrawnSystemMenu().HotItem(), 5);
    PostKeys({vk::kDown});
    host.ProcessPending();
    EXPECT_EQ(window.DrawnSystemMenu().HotItem(), 2);
}

TEST_F(DrawnSystemMenuTest, IsDrawnOverTheWindowAndAPressOutsideClosesItWithoutACommand) {
    const Bitmap before = host.Screen(hwnd);
    Probe probe;
    ASSERT_TRUE(probe.Create(hwnd, MakeRect(20, 120, 30, 20)));
    OpenMenu();
    ASSERT_TRUE(window.SystemMenuOpen());
    const RectF panel = window.DrawnSystemMenu().Bounds();
    EXPECT_GE(panel.left, 0);
    EXPECT_LE(panel.Right(), 200);
    EXPECT_LE(panel.Bottom(), 150);
    // The menu's frame and items show, over the probe too.
    int drawn = 0;
    for (int y = static_cast<int>(panel.top); y < static_cast<int>(panel.Bottom()); ++y) {
        for (int x = static_cast<int>(panel.left); x < static_cast<int>(panel.Right()); ++x) {
            drawn += Near(ScreenAt(x, y), before.GetPixel(x, y) | 0xFF000000u) ? 0 : 1;
        }
    }
    EXPECT_GT(drawn, 300);
    // Pointing at an item highlights it in the accent colour.
    auto [cx, cy] = ItemCentre(5);
    host.MouseMove(hwnd, cx, cy);
    EXPECT_EQ(window.DrawnSystemMenu().HotItem(), 5);
    EXPECT_EQ(probe.Count(msg::kLButtonDown), 0);
    // A press outside closes it; the press goes no further.
    host.Click(hwnd, 190, 145);
    host.ProcessPending();
    EXPECT_FALSE(window.SystemMenuOpen());
    EXPECT_TRUE(commands.empty());
    EXPECT_TRUE(host.Exists(hwnd));
    EXPECT_EQ(host.MoveRequests(), 0);
}

TEST_F(DrawnSystemMenuTest, AClickOnCloseSendsScCloseAndTheWindowCloses) {
    OpenMenu();
    ASSERT_TRUE(window.SystemMenuOpen());
    auto [cx, cy] = ItemCentre(5);
    host.Click(hwnd, cx, cy);
    ASSERT_TRUE(host.PumpUntil([&] { return !host.Exists(hwnd); }));
    EXPECT_EQ(commands, std::vector<int>{msg::kScClose});
}

TEST_F(DrawnSystemMenuTest, ClosesWhenTheWindowLosesTheFocusAndKeepsTheKeysFromTheFocusedControl) {
    Probe probe;
    ASSERT_TRUE(probe.Create(hwnd, MakeRect(20, 120, 30, 20)));
    ASSERT_TRUE(window.FocusControl(probe.Id()));
    OpenMenu();
    ASSERT_TRUE(window.SystemMenuOpen());
    host.TypeKey(hwnd, 'A');
    EXPECT_EQ(probe.Count(msg::kKeyDown), 0);
    EXPECT_EQ(probe.Count(msg::kChar), 0);
    host.Send(hwnd, msg::kActivate, 0, 0);
    EXPECT_FALSE(window.SystemMenuOpen());
    EXPECT_TRUE(commands.empty());
}

}  // namespace
}  // namespace qh
