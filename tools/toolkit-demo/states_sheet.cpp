#include "tools/toolkit-demo/states_sheet.h"

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
#include "toolkit/messages.h"
#include "toolkit/style_painter.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace qh {
namespace {

enum class SheetKind { kButton, kLabel, kLink, kPicture, kTab, kSide, kRadio, kCheck, kEdit, kList, kDrawer, kTip, kCombo };

struct SheetRow {
    SheetKind kind;
    const char* name;
    float height;        // of the row
    float width, tall;   // of each control
    bool hasSelected;    // whether the last column applies
};

// The rows, top to bottom. The combo box comes last: its open list drops
// into the room left below it.
constexpr SheetRow kRows[] = {
    {SheetKind::kButton, "UiButton", 36, 90, 24, false},
    {SheetKind::kLabel, "UiLabel", 30, 110, 20, false},
    {SheetKind::kLink, "UiLink", 30, 100, 20, false},
    {SheetKind::kPicture, "UiPicture", 58, 48, 48, false},
    {SheetKind::kTab, "UiTabButton", 68, 70, 60, true},
    {SheetKind::kSide, "UiSideButton", 36, 120, 28, true},
    {SheetKind::kRadio, "UiRadioButton", 30, 110, 20, true},
    {SheetKind::kCheck, "UiCheckBox", 30, 110, 20, true},
    {SheetKind::kEdit, "UiEdit", 36, 120, 24, false},
    {SheetKind::kList, "UiListView", 96, 128, 88, true},
    {SheetKind::kDrawer, "UiDrawerBar", 68, 12, 60, true},
    {SheetKind::kTip, "UiTipPanel", 72, 128, 64, false},
    {SheetKind::kCombo, "UiComboBox", 36, 120, 24, true},
};

constexpr const char* kColumns[] = {"正常 normal", "悬停 hover", "按下 pressed", "焦点 focused", "禁用 disabled",
                                    "选中 selected"};
constexpr int kColumnCount = 6;
constexpr float kNameWidth = 124, kColumnWidth = 140, kMargin = 10;
constexpr float kHeaderTop = 32, kHeaderHeight = 26, kRowsTop = kHeaderTop + kHeaderHeight + 4;
constexpr float kRoomForOpenList = 118;

float SheetWidth() { return kMargin * 2 + kNameWidth + kColumnWidth * kColumnCount; }
float SheetHeight() {
    float h = kRowsTop;
    for (const auto& row : kRows) h += row.height;
    return h + kRoomForOpenList;
}
float ColumnLeft(int column) { return kMargin + kNameWidth + kColumnWidth * column; }

// The picture of the picture row: a small house on the accent colour, drawn
// by the toolkit rather than read from a file.
UiImage MakeHousePicture() {
    UiImage picture;
    picture.CreateBitmap(48, 48);
    auto g = TheGraphics().Open(picture.Pixels());
    FillRoundRect(*g, MakeRect(1, 1, 45, 45), 14, Style().accent);
    const Argb white = MakeArgb(0xFFFFFF, 255);
    DrawPolygon(*g, {{24, 10}, {38, 23}, {10, 23}}, white, white);
    FillRect(*g, MakeRect(14, 23, 21, 15), white);
    FillRect(*g, MakeRect(21, 29, 7, 10), Style().accent);
    return picture;
}

// The names of the rows and columns and the lines between them, on the
// window's background.
int PaintGrid(Graphics& g, int width) {
    const StylePalette& p = Style();
    FillGradientRect(g, MakeRect(0, 0, float(width), 30), MakeArgb(0xE9F3EF, 255), MakeArgb(0xD5E8E1, 255));
    const float right = float(width) - kMargin;
    FillRoundRect(g, MakeRect(kMargin, kHeaderTop, right - kMargin, kHeaderHeight), kFaceRounding, p.accentLight);
    for (int c = 0; c < kColumnCount; ++c) {
        DrawText(g, kColumns[c], Toolkit().defaultFont, p.text,
                 MakeRect(ColumnLeft(c) + 8, kHeaderTop, kColumnWidth - 8, kHeaderHeight), 3);
    }
    DrawText(g, "控件 kind", Toolkit().defaultFont, p.text, MakeRect(kMargin + 8, kHeaderTop, kNameWidth, kHeaderHeight),
             3);
    float top = kRowsTop;
    for (const auto& row : kRows) {
        DrawText(g, row.name, Toolkit().defaultFont, p.text, MakeRect(kMargin + 8, top, kNameWidth - 8, row.height), 3);
        top += row.height;
        DrawLine(g, MakeArgb(0xDCE8E3, 255), kMargin, top - 0.5f, right, top - 0.5f);
    }
    return 0;
}

}  // namespace

StatesSheet::StatesSheet() : window_(std::make_unique<UiWindow>()) {}
StatesSheet::~StatesSheet() {
    // The controls go before their window.
    cells_.clear();
}
UiWindow& StatesSheet::Window() { return *window_; }

bool StatesSheet::Create() {
    hwnd_ = CreateHostWindow("青禾控件状态一览", 20, true, 20, true, static_cast<int>(SheetWidth()),
                             static_cast<int>(SheetHeight()));
    // The grid is part of the background, which Create renders.
    window_->OnPaint([](HostHandle, Graphics& g, int, int width, int) { return PaintGrid(g, width); });
    if (hwnd_ == 0 || !window_->Create(hwnd_, Bytes(), MakeArgb(0xF4F8F6, 255), true, kFlagCloseButton | kFlagMinimize)) {
        return false;
    }
    float top = kRowsTop;
    for (int r = 0; r < static_cast<int>(std::size(kRows)); ++r) {
        CreateRow(r, top, kRows[r].height);
        top += kRows[r].height;
    }
    return true;
}

void StatesSheet::CreateRow(int r, float top, float height) {
    const SheetRow& row = kRows[r];
    const HostHandle h = hwnd_;
    std::vector<std::unique_ptr<UiControl>> cells;
    for (int c = 0; c < kColumnCount; ++c) {
        const bool applies = row.kind == SheetKind::kTip ? c == 0 : c < kColumnCount - 1 || row.hasSelected;
        if (!applies) {
            cells.push_back(nullptr);
            continue;
        }
        const float x = ColumnLeft(c) + 8, y = top + (height - row.tall) / 2;
        const float w = row.width, t = row.tall;
        switch (row.kind) {
        case SheetKind::kButton: {
            auto b = std::make_unique<UiButton>();
            b->Create(h, "计算", x, y, w, t);
            cells.push_back(std::move(b));
            break;
        }
        case SheetKind::kLabel: {
            auto l = std::make_unique<UiLabel>();
            l->Create(h, "贷款金额:", x, y, w, t, Style().text);
            cells.push_back(std::move(l));
            break;
        }
        case SheetKind::kLink: {
            auto l = std::make_unique<UiLink>();
            l->Create(h, "访问青禾网站", "http://127.0.0.1/", x, y, w, t);
            cells.push_back(std::move(l));
            break;
        }
        case SheetKind::kPicture: {
            auto p = std::make_unique<UiPicture>();
            p->Create(h, x, y, w, t, Bytes(), kCursorHand);
            p->Image(MakeHousePicture());
            cells.push_back(std::move(p));
            break;
        }
        case SheetKind::kTab: {
            auto b = std::make_unique<UiTabButton>();
            b->Create(h, x, y, w, t, Bytes(), "房贷");
            cells.push_back(std::move(b));
            break;
        }
        case SheetKind::kSide: {
            auto b = std::make_unique<UiSideButton>();
            b->Create(h, x, y, w, t, Bytes(), "商业贷款");
            cells.push_back(std::move(b));
            break;
        }
        case SheetKind::kRadio: {
            auto b = std::make_unique<UiRadioButton>();
            // A group each, so that checking one unchecks no other.
            b->Create(h, "商业贷款", x, y, w, t, false, c + 1);
            cells.push_back(std::move(b));
            break;
        }
        case SheetKind::kCheck: {
            auto b = std::make_unique<UiCheckBox>();
            b->Create(h, "更新后启动", x, y, w, t, false);
            cells.push_back(std::move(b));
            break;
        }
        case SheetKind::kEdit: {
            auto e = std::make_unique<UiEdit>();
            e->Create(h, "100.5", x, y, w, t, kEditNumber);
            cells.push_back(std::move(e));
            break;
        }
        case SheetKind::kList: {
            auto l = std::make_unique<UiListView>();
            l->Create(h, x, y, w, t);
            l->InsertColumn(0, "期数", 44, 1);
            l->InsertColumn(0, "月供", 80, 2);
            for (int month = 1; month <= 6; ++month) {
                const int added = l->InsertRow(0, std::to_string(month));
                l->CellText(added, 2, std::to_string(7485 - month) + ".20", true);
            }
            cells.push_back(std::move(l));
            break;
        }
        case SheetKind::kDrawer: {
            auto d = std::make_unique<UiDrawerBar>();
            d->Create(h, x + 40, y, w, t);
            cells.push_back(std::move(d));
            break;
        }
        case SheetKind::kTip: {
            auto p = std::make_unique<UiTipPanel>();
            p->Create(h, x, y, w, t, kTipPointUp);
            p->Text("等额本息:\n每月还款额相同。", true);
            p->Visible(1, true);
            cells.push_back(std::move(p));
            break;
        }
        case SheetKind::kCombo: {
            auto b = std::make_unique<UiComboBox>();
            b->Create(h, x, y, w, t, 3, {"5 年", "10 年", "20 年", "30 年"});
            cells.push_back(std::move(b));
            break;
        }
        }
    }
    cells_.push_back(std::move(cells));
}

void StatesSheet::ApplyStates() {
    for (int r = 0; r < static_cast<int>(cells_.size()); ++r) {
        for (int c = 0; c < kColumnCount; ++c) {
            UiControl* control = cells_[r][c].get();
            if (control == nullptr) continue;
            const int index = window_->IndexOf(control);
            if (c == 1) window_->PinControlState(index, kStateHover);
            if (c == 2) window_->PinControlState(index, kStatePressed);
            if (c == 3) window_->PinControlState(index, kStateFocused);
            if (c == 4) control->Disabled(1, true);
            // A disabled list shows its selection too, in grey.
            if (c == 4 && kRows[r].kind == SheetKind::kList) static_cast<UiListView*>(control)->SelectedRow(2, true);
            if (c == 5) ApplySelected(r, *control);
        }
    }
}

void StatesSheet::ApplySelected(int r, UiControl& control) {
    switch (kRows[r].kind) {
    case SheetKind::kTab: static_cast<UiTabButton&>(control).Selected(1, true); break;
    case SheetKind::kSide: static_cast<UiSideButton&>(control).Selected(1, true); break;
    case SheetKind::kRadio: static_cast<UiRadioButton&>(control).Checked(1, true); break;
    case SheetKind::kCheck: static_cast<UiCheckBox&>(control).Checked(1, true); break;
    case SheetKind::kList: static_cast<UiListView&>(control).SelectedRow(2, true); break;
    case SheetKind::kDrawer: static_cast<UiDrawerBar&>(control).State(1, true); break;
    case SheetKind::kCombo: {
        // Opened as a user opens it: a click on the box.
        const RectF b = control.Bounds();
        const std::intptr_t at = MakeLParam(static_cast<int>(b.left + b.width / 2), static_cast<int>(b.top + b.height / 2));
        window_->HandleMessage(msg::kMouseMove, 0, at);
        window_->HandleMessage(msg::kLButtonDown, 1, at);
        window_->HandleMessage(msg::kLButtonUp, 0, at);
        break;
    }
    default: break;
    }
}

}  // namespace qh
