#include "tools/toolkit-demo/gallery.h"

#include <string>

#include "toolkit/controls/button.h"
#include "toolkit/controls/check_box.h"
#include "toolkit/controls/combo_box.h"
#include "toolkit/controls/drawer_bar.h"
#include "toolkit/controls/edit.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/link.h"
#include "toolkit/controls/list_view.h"
#include "toolkit/controls/picture.h"
#include "toolkit/controls/radio_button.h"
#include "toolkit/controls/side_button.h"
#include "toolkit/controls/tab_button.h"
#include "toolkit/controls/tip_panel.h"
#include "toolkit/draw.h"
#include "toolkit/style_painter.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace qh {

struct Gallery::Controls {
    UiWindow window;
    UiTabButton tabs[3];
    UiSideButton sides[3];
    UiButton ok, disabled;
    UiLabel label;
    UiLink link;
    UiCheckBox check;
    UiRadioButton business, fund;
    UiEdit amount, note;
    UiComboBox term;
    UiPicture logo;
    UiListView list;
    UiDrawerBar drawer;
    UiTipPanel tip;
};

namespace {

constexpr const char* kTabTexts[] = {"房贷", "组合贷", "车贷"};
constexpr const char* kSideTexts[] = {"商业贷款", "公积金贷款", "税费计算"};

// The gallery's logo, drawn here rather than read from a file: a rounded
// square in the accent colour with the character 禾.
UiImage MakeLogo() {
    UiImage logo;
    logo.CreateBitmap(48, 48);
    auto g = TheGraphics().Open(logo.Pixels());
    FillRoundRect(*g, MakeRect(1, 1, 45, 45), 14, Style().accent);
    UiFont font = Toolkit().defaultFont;
    font.size = 28;
    font.style = kBold;
    DrawText(*g, "禾", font, MakeArgb(0xFFFFFF, 255), MakeRect(0, 0, 47, 47), 4);
    return logo;
}

}  // namespace

Gallery::Gallery() : controls_(std::make_unique<Controls>()) {}
Gallery::~Gallery() = default;
UiWindow& Gallery::Window() { return controls_->window; }
HostHandle Gallery::Handle() const { return hwnd_; }

bool Gallery::Create() {
    hwnd_ = CreateHostWindow("青禾控件一览", 60, true, 60, true, 600, 440);
    Controls& c = *controls_;
    if (hwnd_ == 0 || !c.window.Create(hwnd_, Bytes(), MakeArgb(0xF4F8F6, 255), true, kFlagCloseButton | kFlagMinimize)) {
        return false;
    }
    c.window.OnPaint([](HostHandle, Graphics& g, int, int width, int height) {
        FillGradientRect(g, MakeRect(0, 0, float(width), 30), MakeArgb(0xE9F3EF, 255), MakeArgb(0xD5E8E1, 255));
        FillRoundRect(g, MakeRect(150, 104, float(width) - 162, float(height) - 116), 10, MakeArgb(0xFFFFFF, 235));
        DrawRoundRect(g, MakeRect(150, 104, float(width) - 162, float(height) - 116), 10, Style().boxBorder);
        return 0;
    });
    const HostHandle h = hwnd_;
    for (int i = 0; i < 3; ++i) {
        c.tabs[i].Create(h, 160.0f + 74 * i, 36, 70, 60, Bytes(), kTabTexts[i]);
        c.tabs[i].Name("Tabs[" + std::to_string(i + 1) + "]", true);
        c.sides[i].Create(h, 14, 110.0f + 34 * i, 120, 28, Bytes(), kSideTexts[i]);
        c.sides[i].Name("Sides[" + std::to_string(i + 1) + "]", true);
    }
    c.tabs[0].Selected(1, true);
    c.sides[0].Selected(1, true);
    // A click on a tab or a side entry selects it, as the programs do when
    // they switch pages; a side button deselects the others itself.
    c.window.OnControlEvent([&c](HostHandle, int id, int, int) {
        for (UiTabButton& tab : c.tabs) {
            if (tab.Id() != id) continue;
            for (UiTabButton& other : c.tabs) other.Selected(&other == &tab ? 1 : 0, true);
        }
        for (UiSideButton& side : c.sides) {
            if (side.Id() == id) side.Selected(1, true);
        }
        return 0;
    });

    c.ok.Create(h, "计算", 166, 120, 70, 24);
    c.ok.Name("Calculate", true);
    c.disabled.Create(h, "清空", 246, 120, 70, 24);
    c.disabled.Disabled(1, true);
    c.disabled.Name("Clear", true);
    c.label.Create(h, "贷款金额:", 166, 156, 80, 24, MakeArgb(0x233A33, 255));
    c.label.Name("AmountLabel", true);
    c.amount.Create(h, "100", 250, 156, 120, 24, kEditNumber);
    c.amount.Name("Amount", true);
    c.note.Create(h, "", 250, 188, 120, 24, kEditAny);
    c.note.Name("Note", true);
    c.term.Create(h, 250, 220, 120, 24, 3, {"5 年", "10 年", "20 年", "30 年"});
    c.term.Name("Term", true);
    c.business.Create(h, "商业贷款", 166, 256, 90, 20, true, 1);
    c.business.Name("Business", true);
    c.fund.Create(h, "公积金", 262, 256, 90, 20, false, 1);
    c.fund.Name("Fund", true);
    c.check.Create(h, "更新后启动", 166, 284, 110, 20, true);
    c.check.Name("AutoStart", true);
    c.link.Create(h, "访问青禾网站", "http://127.0.0.1/", 166, 312, 100, 20);
    c.link.Name("Site", true);
    c.logo.Create(h, 300, 300, 48, 48, Bytes(), kCursorHand);
    c.logo.Image(MakeLogo());
    c.logo.Name("Logo", true);

    c.list.Create(h, 390, 120, 190, 200);
    c.list.Name("Schedule", true);
    c.list.InsertColumn(0, "期数", 50, 1);
    c.list.InsertColumn(0, "月供", 120, 2);
    c.list.SuspendDraw();
    for (int month = 1; month <= 24; ++month) {
        const int row = c.list.InsertRow(0, std::to_string(month));
        c.list.CellText(row, 2, std::to_string(7485 - month) + ".20", true);
    }
    c.list.ResumeDraw();
    c.list.Redraw();
    c.drawer.Create(h, 584, 200, 12, 60);
    c.drawer.Name("Drawer", true);
    c.tip.Create(h, 166, 360, 200, 56, kTipPointUp);
    c.tip.Name("Tip", true);
    c.tip.Text("等额本息: 每月还款额相同。\n等额本金: 每月本金相同。", true);
    c.tip.Visible(1, true);
    return true;
}

}  // namespace qh
