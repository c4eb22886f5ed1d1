// The accessibility tree as screen readers get it (names from captions,
// tooltips and hidden list columns), the changes a window reports, and
// objects of controls that are gone.
#include <gtest/gtest.h>

#include "tests/toolkit/toolkit_fixture.h"
#include "toolkit/accessible.h"
#include "toolkit/controls/button.h"
#include "toolkit/controls/check_box.h"
#include "toolkit/controls/edit.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/list_view.h"
#include "toolkit/controls/picture.h"
#include "toolkit/messages.h"

namespace qh {
namespace {

constexpr float kCaptionPitch = 20;

class AccessibleTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        // A caption column of two rows beside two edits, as the forms have.
        captions.Create(hwnd, "贷款金额:\r\n贷款期限:", 10, 10, 60, 40, MakeArgb(0, 255), {}, kFormatNoWrap, 0);
        captions.LinePitch(kCaptionPitch, true);
        amount.Create(hwnd, "100", 75, 8, 50, 18);
        term.Create(hwnd, "", 75, 28, 50, 18);
        check.Create(hwnd, "自动", 10, 55, 60, 20);
        help.Create(hwnd, 140, 10, 20, 20, Bytes(), kCursorHand);
        help.ToolTip("帮助", true);
        rule.Create(hwnd, 10, 78, 180, 1, Bytes());  // decoration
        files.Create(hwnd, 10, 82, 150, 40);
        files.InsertColumn(0, "文件名", 80);
        files.InsertColumn(0, "进度", 60);
        files.InsertColumn(0, "hash", 0);  // a hidden key
        files.InsertRow(0, "a.txt");
        files.CellText(1, 2, "下载完毕", true);
        files.CellText(1, 3, "ABCDEF", true);
        ok.Create(hwnd, "确认", 140, 125, 50, 20);
    }
    UiLabel captions;
    UiEdit amount, term;
    UiCheckBox check;
    UiPicture help, rule;
    UiListView files;
    UiButton ok;
};

TEST_F(AccessibleTest, ObjectsAreNamedAsAReaderNeedsThem) {
    struct Expected {
        AccRole role;
        const char* name;
        const char* value;
    };
    const Expected expected[] = {
        {AccRole::kStaticText, "贷款金额:\r\n贷款期限:", ""},
        {AccRole::kEditableText, "贷款金额", "100"},  // the caption line level with it, without the colon
        {AccRole::kEditableText, "贷款期限", ""},
        {AccRole::kCheckBox, "自动", ""},
        {AccRole::kPushButton, "帮助", ""},  // a picture button by its tooltip
        {AccRole::kList, "", ""},             // no row is selected; the rule above is left out
        {AccRole::kPushButton, "确认", ""},
    };
    // The caption buttons come first; the form's objects follow in order.
    std::vector<AccessibleObject> children = AccessibleChildren(window);
    while (!children.empty() && children.front().id != captions.Id()) children.erase(children.begin());
    ASSERT_EQ(children.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const AccessibleObject& o = children[i];
        EXPECT_EQ(o.role, expected[i].role) << i;
        EXPECT_EQ(o.name, expected[i].name) << i;
        EXPECT_EQ(o.value, expected[i].value) << i;
    }
    const auto row = DescribeControl(window, files.Id(), 1);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->role, AccRole::kListItem);
    EXPECT_EQ(row->name, "a.txt");
    EXPECT_EQ(row->value, "下载完毕");  // the hidden column is not read out
    EXPECT_EQ(row->defaultAction, "选择");
    // Picking the row is the user's choice: the list's value follows.
    EXPECT_TRUE(DoDefaultAction(window, files.Id(), 1));
    EXPECT_EQ(DescribeControl(window, files.Id())->value, "a.txt 下载完毕");
}

TEST_F(AccessibleTest, TheWindowReportsFocusValueStateAndHidingAfterEachMessage) {
    host.SetAccessibilityActive(true);
    host.Send(hwnd, msg::kTimer, 0, 0);  // the first report only takes note
    EXPECT_TRUE(host.AccessibleReports().empty());
    using R = headless::HeadlessHost::AccessibleReport;
    const auto reports = [&] {
        std::vector<std::pair<AccEvent, int>> out;
        for (const R& r : host.AccessibleReports()) out.emplace_back(r.event, r.id);
        host.ClearAccessibleReports();
        return out;
    };
    host.TypeKey(hwnd, vk::kTab);
    EXPECT_EQ(reports(), (std::vector<std::pair<AccEvent, int>>{{AccEvent::kFocus, amount.Id()}}));
    host.Send(hwnd, msg::kChar, '5', 0);
    EXPECT_EQ(reports(), (std::vector<std::pair<AccEvent, int>>{{AccEvent::kValueChange, amount.Id()}}));
    host.Click(hwnd, 20, 65);  // the check box: focused by the press, checked by the release
    EXPECT_EQ(reports(), (std::vector<std::pair<AccEvent, int>>{{AccEvent::kFocus, check.Id()},
                                                                {AccEvent::kStateChange, check.Id()}}));
    ok.Visible(0, true);
    host.Send(hwnd, msg::kTimer, 0, 0);
    EXPECT_EQ(reports(), (std::vector<std::pair<AccEvent, int>>{{AccEvent::kHide, ok.Id()}}));
}

TEST_F(AccessibleTest, AControlThatIsGoneHasNoObjectAndNoAction) {
    const int id = ok.Id();
    ASSERT_TRUE(DescribeControl(window, id).has_value());
    ok.Destroy();
    EXPECT_FALSE(DescribeControl(window, id).has_value());
    EXPECT_FALSE(DoDefaultAction(window, id));
    EXPECT_FALSE(FocusAccessible(window, id));
}

}  // namespace
}  // namespace qh
