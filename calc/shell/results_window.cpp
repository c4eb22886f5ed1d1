#include "calc/shell/results_window.h"

#include "calc/loans/result_labels.h"
#include "calc/shell/calc_images.h"
#include "toolkit/draw.h"
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

constexpr const char* kTitle = "计算结果";
constexpr int kWidth = 220;
constexpr int kOverlap = 9;  // the window stands this far over the main window's right edge
constexpr std::uint32_t kExToolWindow = 0x80;

constexpr Argb kValueColor = 0xD2008000u;    // RGB(0, 128, 0) α210
constexpr Argb kHeadingColor = 0xBE0060C0u;  // RGB(0, 96, 192) α190
constexpr Argb kRowLabelColor = 0xAA000000u; // black α170
constexpr Argb kNoteColor = 0x78000000u;     // black α120
// The 还款计划 link above the first heading: blue as the main window's
// search link, stronger under the mouse and held down.
constexpr LabelColors kPlanLinkColors{MakeArgb(0xC06000, 210), MakeArgb(0xF19800, 230), MakeArgb(0xF19800, 254),
                                      MakeArgb(0xC06000, 210)};
constexpr float kPlanLinkLeft = 146, kPlanLinkTop = 74, kPlanLinkWidth = 64, kPlanLinkHeight = 18;

constexpr const char* kInstallmentHelp =
    " 每月等额还款即等额本息还款法\r\n\r\n 指借款人每月按相等的金额偿还贷\r\n 款本息，其中每月贷款利息按月初\r\n"
    " 剩余贷款本金计算并逐月结清";
constexpr const char* kPrincipalHelp =
    " 逐月递减还款即等额本金还款法\r\n\r\n 指本金保持相同，利息逐月递减，\r\n 月还款数递减；由于每月的还款本\r\n"
    " 金额固定，而利息越来越少，贷款\r\n 人起初还款压力较大，但是随时间\r\n 的推移每月还款数也越来越少";

// Where the drawn texts and separators stand; W is the window's width.
struct TextSpot {
    float x, y, width, height;
};
constexpr TextSpot kInstallmentHeadingSpot = {14, 110, 0, 20};
constexpr TextSpot kInstallmentRowsSpot = {15, 135, 70, 100};
constexpr TextSpot kPrincipalHeadingSpot = {14, 243, 0, 20};
constexpr TextSpot kPrincipalRowsSpot = {15, 264, 70, 140};
constexpr TextSpot kTaxRowsSpot = {15, 135, 70, 180};
constexpr TextSpot kCurrentTaxRowsSpot = {15, 135, 70, 220};
// The separator and the note under each kind's rows.
constexpr float kTaxRuleTop = 325, kTaxNoteTop = 342;
constexpr float kCurrentTaxRuleTop = 355, kCurrentTaxNoteTop = 372;
constexpr float kLoanRuleTop = 395, kLoanNoteTop = 402;

// The row labels and the value labels beside them stand on one grid of lines,
// so each figure stays level with its label whatever the font's metrics.
constexpr float kLinePitch = 14;

// Text with the toolkit's halo, which keeps it readable on the skin.
void DrawLabel(Graphics& g, const char* text, Argb color, const TextSpot& spot, float width, int align) {
    DrawTextLines(g, text, Toolkit().defaultFont, color,
                  MakeRect(spot.x, spot.y, spot.width > 0 ? spot.width : width, spot.height), kLinePitch, align,
                  kFormatNoWrap, kEffectHalo);
}

}  // namespace

RectI ResultsWindow::DockedRect() const {
    const RectI m = TheHost().WindowRect(main_.hwnd);
    return RectI{m.left + m.width - kOverlap, m.top, kWidth, m.height};
}

void ResultsWindow::Open(int page) {
    if (Exists()) {
        ShowKind(ResultsKindOf(page));
        window_.RepaintArea(MakeRect(0, 0, float(window_.ClientWidth()), float(window_.ClientHeight())));
        return;
    }
    Create(page);
}

void ResultsWindow::Toggle(int page) {
    if (Exists()) {
        Close();
    } else {
        Open(page);
    }
}

void ResultsWindow::Close() {
    if (Exists()) TheHost().PostMessage(hwnd_, msg::kClose, 0, 0);
}

void ResultsWindow::Dock() {
    if (Exists()) TheHost().MoveWindow(hwnd_, DockedRect());
}

void ResultsWindow::BringToFront() {
    if (Exists()) TheHost().BringToFront(hwnd_);
}

Text PairedLines(const Text& heading, const Text& labels, const Text& values) {
    const std::vector<Text> left = SplitText(labels, "\r\n"), right = SplitText(values, "\r\n");
    Text out = heading;
    for (std::size_t i = 0; i < left.size() && i < right.size(); ++i) {
        if (left[i].empty() && right[i].empty()) continue;
        if (!out.empty()) out += "\r\n";
        out += left[i] + " " + right[i];
    }
    return out;
}

void ResultsWindow::ShowResults(const PageResults& results) {
    if (!Exists()) return;
    plan_ = results.plan;
    ShowKind(results.kind);
    switch (results.kind) {
        case ResultsKind::Tax: taxValues_.Text(results.tax, true); break;
        case ResultsKind::CurrentTax: currentTaxValues_.Text(results.tax, true); break;
        case ResultsKind::Loan:
            installmentValues_.Text(results.installment, true);
            principalValues_.Text(results.principal, true);
            break;
    }
    // The row labels are painted, not controls: screen readers are given
    // each figure after its label.
    taxValues_.SetAccessibleName(PairedLines("", kTaxRowLabels, results.tax));
    currentTaxValues_.SetAccessibleName(PairedLines("", kCurrentTaxRowLabels, results.tax));
    installmentValues_.SetAccessibleName(PairedLines(kInstallmentHeading, kInstallmentRowLabels, results.installment));
    principalValues_.SetAccessibleName(PairedLines(kPrincipalHeading, kPrincipalRowLabels, results.principal));
}

void ResultsWindow::ShowKind(ResultsKind kind) {
    const int loan = kind == ResultsKind::Loan ? 1 : 0;
    upperHelp_.Visible(loan, true);
    lowerHelp_.Visible(loan, true);
    installmentValues_.Visible(loan, true);
    principalValues_.Visible(loan, true);
    taxValues_.Visible(kind == ResultsKind::Tax ? 1 : 0, true);
    currentTaxValues_.Visible(kind == ResultsKind::CurrentTax ? 1 : 0, true);
    planLink_.Visible(kind == ResultsKind::Loan && plan_ ? 1 : 0, true);
    if (kind != kindShown_) {
        // The drawn headings and row labels change with the kind.
        kindShown_ = kind;
        window_.SetBackground(Bytes(), false, 0, false, true);
    }
}

void ResultsWindow::Create(int page) {
    Host& host = TheHost();
    HostWindowArgs args;
    args.title = kTitle;
    args.rect = DockedRect();
    args.exStyle = kExToolWindow;  // no taskbar button of its own
    const HostHandle h = host.CreateHostWindow(args);
    if (h == 0) return;
    kindShown_ = ResultsKindOf(page);
    // The window paints its background while it is created, and the painter
    // draws the separators from this image: load it first.
    separator_.LoadFromMemory(CalcImageBytes(CalcImage::Separator));
    window_.OnPaint([this](HostHandle, Graphics& g, int, int width, int) { return Paint(g, width); });
    // Close button only: a minimized tool window would have no taskbar
    // button to come back from.
    if (!window_.Create(h, CalcImageBytes(CalcImage::Skin), 0, false, 2 | kFlagCloseButton)) {
        host.DestroyWindow(h);
        return;
    }
    hwnd_ = h;
    main_.resultsStrip.State(1, true);
    main_.resultsStrip.ToolTip("隐藏计算结果窗口", true);

    const bool tax = kindShown_ == ResultsKind::Tax;
    const bool currentTax = kindShown_ == ResultsKind::CurrentTax;
    const bool loan = kindShown_ == ResultsKind::Loan;
    installmentValues_.Create(h, "", 85, 133, 108, 100, kValueColor, {}, kFormatNoWrap, 0, loan);
    installmentValues_.Name("InstallmentValues", true);
    principalValues_.Create(h, "", 85, 262, 108, 130, kValueColor, {}, kFormatNoWrap, 0, loan);
    principalValues_.Name("PrincipalValues", true);
    taxValues_.Create(h, "", 85, 132, 108, 190, kValueColor, {}, kFormatNoWrap, 0, tax);
    taxValues_.Name("TaxValues", true);
    currentTaxValues_.Create(h, "", 85, 132, 108, 220, kValueColor, {}, kFormatNoWrap, 0, currentTax);
    currentTaxValues_.Name("CurrentTaxValues", true);
    for (UiLabel* values : {&installmentValues_, &principalValues_, &taxValues_, &currentTaxValues_}) {
        values->LinePitch(kLinePitch, true);
    }
    const Bytes help = CalcImageBytes(CalcImage::HelpIcon);
    upperHelp_.Create(h, 85, 106, 22, 18, help, kCursorHand, loan);
    upperHelp_.Name("InstallmentHelp", true);
    upperHelp_.SetAccessibleName("等额本息说明");
    lowerHelp_.Create(h, 85, 238, 22, 18, help, kCursorHand, loan);
    lowerHelp_.Name("PrincipalHelp", true);
    lowerHelp_.SetAccessibleName("等额本金说明");
    planLink_.Create(h, "还款计划", kPlanLinkLeft, kPlanLinkTop, kPlanLinkWidth, kPlanLinkHeight, kPlanLinkColors,
                     FontChoice{Text(), 12.0f, kRegular}, kFormatNoWrap, 3, loan && plan_);
    planLink_.Cursor(kCursorHand, true);
    planLink_.TabStop(1, true);
    planLink_.Name("PlanLink", true);
    planLink_.OnClick([this] {
        if (plan_ && onPlanLink_) onPlanLink_(*plan_);
    });
    resultsTip_.Create(h, 45, 100, 100, 70);
    resultsTip_.Name("ResultsTip", true);

    host.ShowWindow(h, true);
    window_.OnMessage([this](HostHandle, int message, std::intptr_t, std::intptr_t) { return OnMessage(message); });
    window_.OnMouseEnterControl([this](HostHandle, int id, int, int) {
        HelpEnter(id);
        return -1;
    });
    window_.OnMouseLeaveControl([this](HostHandle, int id, int, int) {
        HelpLeave(id);
        return -1;
    });
    // The keyboard's ways to the same: a help icon pressed shows its text,
    // the focus leaving it hides the text, and Escape closes the window.
    upperHelp_.OnClick([this] { HelpEnter(upperHelp_.Id()); });
    lowerHelp_.OnClick([this] { HelpEnter(lowerHelp_.Id()); });
    window_.OnControlBlur([this](HostHandle, int id, int, int) {
        HelpLeave(id);
        return -1;
    });
    window_.OnShortcut([this](const ShortcutKey& key) { return OnShortcut(key); });
    host.BringToFront(main_.hwnd);
}

std::intptr_t ResultsWindow::OnMessage(int message) {
    if (message == msg::kDestroy) {
        hwnd_ = 0;
        main_.resultsStrip.State(0, true);
        main_.resultsStrip.ToolTip("显示计算结果窗口", true);
    } else if (message == msg::kLButtonDown || message == msg::kRButtonDown) {
        // A click into the results window never leaves it in front.
        TheHost().BringToFront(main_.hwnd);
    }
    return -1;
}

int ResultsWindow::Paint(Graphics& g, int width) {
    const float w = float(width);
    auto line = [&](float x, float y, float length) {
        if (separator_.Empty()) return;
        g.DrawImage(separator_.Pixels(), MakeRect(x, y, length, 2),
                    MakeRect(0, 0, float(separator_.Width()), float(separator_.Height())));
    };
    if (kindShown_ == ResultsKind::Tax) {
        line(15, 115, w);
        DrawLabel(g, kTaxRowLabels, kRowLabelColor, kTaxRowsSpot, w, 2);
        line(15, kTaxRuleTop, w);
        DrawLabel(g, kResultsNote, kNoteColor, {0, kTaxNoteTop, 0, 80}, w, 1);
        return 0;
    }
    if (kindShown_ == ResultsKind::CurrentTax) {
        line(15, 115, w);
        DrawLabel(g, kCurrentTaxRowLabels, kRowLabelColor, kCurrentTaxRowsSpot, w, 2);
        line(15, kCurrentTaxRuleTop, w);
        DrawLabel(g, kResultsNote, kNoteColor, {0, kCurrentTaxNoteTop, 0, 80}, w, 1);
        return 0;
    }
    DrawLabel(g, kInstallmentHeading, kHeadingColor, kInstallmentHeadingSpot, w, 0);
    line(107, 115, 110);
    DrawLabel(g, kInstallmentRowLabels, kRowLabelColor, kInstallmentRowsSpot, w, 2);
    DrawLabel(g, kPrincipalHeading, kHeadingColor, kPrincipalHeadingSpot, w, 0);
    line(107, 248, 110);
    DrawLabel(g, kPrincipalRowLabels, kRowLabelColor, kPrincipalRowsSpot, w, 2);
    line(15, kLoanRuleTop, w);
    DrawLabel(g, kResultsNote, kNoteColor, {0, kLoanNoteTop, 0, 80}, w, 1);
    return 0;
}

void ResultsWindow::HelpEnter(int id) {
    const bool upper = id == upperHelp_.Id();
    if (!upper && id != lowerHelp_.Id()) return;
    resultsTip_.SetZOrder(1, true);
    resultsTip_.Text(upper ? kInstallmentHelp : kPrincipalHelp, true);
    if (upper) {
        resultsTip_.Move(10, 123, 202, 100);
    } else {
        resultsTip_.Move(10, 255, 202, 125);
    }
    resultsTip_.Visible(1, true);
}

void ResultsWindow::TakeKeyboard() {
    if (!Exists()) return;
    TheHost().BringToFront(hwnd_);
    window_.ShowKeyboardCues(true);  // F6 is the keyboard: mark where it lands
    for (UiControl* c : std::initializer_list<UiControl*>{&planLink_, &upperHelp_, &lowerHelp_}) {
        if (window_.FocusControl(c->Id())) break;
    }
}

bool ResultsWindow::OnShortcut(const ShortcutKey& key) {
    if (key.vk == vk::kEscape && resultsTip_.Visible()) {
        resultsTip_.Visible(0, true);
        return true;
    }
    if (key.vk != vk::kEscape && key.vk != vk::kF6) return false;
    // Escape closes the window; either key gives the keyboard back to the
    // main window.
    if (key.vk == vk::kEscape) Close();
    TheHost().BringToFront(main_.hwnd);
    return true;
}

void ResultsWindow::HelpLeave(int id) {
    if (id == upperHelp_.Id() || id == lowerHelp_.Id()) resultsTip_.Visible(0, true);
}

}  // namespace qh
