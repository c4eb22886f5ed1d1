#include "calc/shell/plan_window.h"

#include <algorithm>
#include <ctime>
#include <iterator>
#include <span>

#include "calc/loans/plan_export.h"
#include "calc/shell/calc_images.h"
#include "runtime/convert.h"
#include "toolkit/draw.h"
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

constexpr const char* kTitle = "还款计划";
constexpr int kWidth = 1090, kHeight = 580;
constexpr int kMinWidth = 600, kMinHeight = 440;
constexpr int kWindowFlags = 2 | kFlagCloseButton | kFlagMinimize | kFlagMaximize;

// The rows of inputs, and where the lists start under them.
// Rows: the loan, its rate, the provident-fund part of a combined loan, the
// event row.
constexpr float kRow1 = 34, kRow2 = 64, kRow3 = 94, kRow4 = 124;
constexpr float kListsTop = 156, kEventsHeight = 88;
constexpr float kScheduleTop = kListsTop + kEventsHeight + 8;
constexpr float kMargin = 12, kGap = 8;
constexpr float kScheduleShare = 0.72f;  // of the width, the rest is the chart
constexpr float kButtonWidth = 70, kButtonHeight = 24;
constexpr int kMinNoteWidth = 60, kScrollBarRoom = 20;

constexpr Argb kCaptionColor = MakeArgb(0x000000, 170);
constexpr Argb kSummaryColor = MakeArgb(0x008000, 220);  // green, as the results window's figures
constexpr Argb kPanelFill = MakeArgb(0xFFFFFF, 190);

struct Caption {
    const char* text;
    float x, y, width;
};
constexpr Caption kCaptions[] = {
    {"贷款金额", kMargin, kRow1, 56}, {"期限", 210, kRow1, 30},  {"方式", 338, kRow1, 30},
    {"首次还款", 466, kRow1, 56},     {"利率", kMargin, kRow2, 40}, {"%", 170, kRow2, 14},
    {"BP 重定价", 296, kRow2, 60},   {"事件", kMargin, kRow4, 40},
};

struct ColumnSpec {
    const char* text;
    int width;
    int align;
};
constexpr ColumnSpec kEventColumns[] = {{"月份", 70, 0}, {"事件", 70, 0}, {"金额/利率", 110, 2}, {"方式", 80, 0}};
// Wide enough for the figures in the wider faces Windows may substitute.
constexpr ColumnSpec kScheduleColumns[] = {{"期数", 40, 2}, {"还款月份", 62, 0}, {"月供", 72, 2}, {"本金", 72, 2},
                                           {"利息", 68, 2}, {"剩余本金", 94, 2}, {"利率", 76, 2}, {"说明", 200, 0}};

template <std::size_t N>
std::vector<Text> Texts(const char* const (&texts)[N]) {
    return std::vector<Text>(std::begin(texts), std::end(texts));
}

void AddColumns(UiListView& list, std::span<const ColumnSpec> columns) {
    for (const ColumnSpec& c : columns) list.InsertColumn(0, c.text, c.width, c.align);
}

// The month after today's, where a new loan's first installment falls.
// (Called on the window's thread only, so localtime's shared result is safe.)
PlanMonth NextMonth() {
    constexpr int kTmYearBase = 1900;
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (local == nullptr) return {2027, 1};
    return AddMonths({local->tm_year + kTmYearBase, local->tm_mon + 1}, 1);
}

Text EventValueText(const PlanEvent& e) {
    if (e.kind == PlanEvent::Kind::RateChange) return ToText(e.annualPercent) + "%";
    return YuanText(e.amount, true) + " 元";
}

// A little below and right of the main window, moved back into the work
// area where it would stand out of it (at its origin when it is larger).
RectI PlaceOn(const RectI& main, const RectI& work) {
    constexpr int kOffset = 20;
    RectI r{main.left + kOffset, main.top + kOffset, kWidth, kHeight};
    r.left = std::max(work.left, std::min(r.left, work.left + work.width - kWidth));
    r.top = std::max(work.top, std::min(r.top, work.top + work.height - kHeight));
    return r;
}

int Paint(Graphics& g, int width, int height) {
    // A light panel behind the lists and the chart, as the main window's form.
    FillRect(g, MakeRect(kMargin / 2, kListsTop - 4, float(width) - kMargin, float(height) - kListsTop), kPanelFill);
    return 0;
}

}  // namespace

void PlanWindow::Show(const PlanForm& form) {
    form_ = form;
    if (form_.firstMonth.empty()) form_.firstMonth = PlanMonthText(NextMonth());
    Host& host = TheHost();
    if (Exists()) {
        FillInputs();
        Recompute();
        host.BringToFront(hwnd_);
        return;
    }
    HostWindowArgs args;
    args.title = kTitle;
    args.rect = PlaceOn(host.WindowRect(main_), host.WorkArea());
    args.owner = 0;
    const HostHandle h = host.CreateHostWindow(args);
    if (h == 0) return;
    window_.OnPaint([](HostHandle, Graphics& g, int, int width, int height) { return Paint(g, width, height); });
    window_.SetMinimumSize(kMinWidth, kMinHeight);
    if (!window_.Create(h, CalcImageBytes(CalcImage::Skin), 0, false, kWindowFlags)) {
        host.DestroyWindow(h);
        return;
    }
    hwnd_ = h;
    window_.HoldPresents();  // until Show below
    window_.OnMessage([this](HostHandle, int message, std::intptr_t, std::intptr_t) -> std::intptr_t {
        if (message == msg::kDestroy) hwnd_ = 0;
        return -1;
    });
    window_.OnResize([this](HostHandle, int width, int height, int) {
        Layout(width, height);
        return 0;
    });
    CreateControls();
    FillInputs();
    BindInputs();
    BindFund();
    BindEvents();
    BindOutputs();
    Layout(window_.ClientWidth(), window_.ClientHeight());
    // The controls were first painted where they were created.
    window_.RepaintArea(MakeRect(0, 0, float(window_.ClientWidth()), float(window_.ClientHeight())), false);
    Recompute();
    window_.Show(0);
}

void PlanWindow::CreateControls() {
    static_assert(std::size(kCaptions) == kCaptionCount);
    for (int i = 0; i < kCaptionCount; ++i) {
        const Caption& c = kCaptions[i];
        captions_[i].Create(hwnd_, c.text, c.x, c.y + 4, c.width, 18, kCaptionColor, {}, kFormatNoWrap, 0);
    }
    CreateInputRows();
    CreateFundRow();
    CreateEventRow();
    CreateOutputRow();
    events_.Create(hwnd_, kMargin, kListsTop, 360, kEventsHeight);
    AddColumns(events_, kEventColumns);
    events_.TabStop(1, true);  // Delete removes the selected event
    events_.Name("PlanEvents", true);
    summary_.Create(hwnd_, "", 390, kListsTop, 370, kEventsHeight, kSummaryColor, {}, 0, 0);
    summary_.Name("PlanSummary", true);
    ListViewLook look;
    look.rowHeight = 20;
    scheduleList_.Create(hwnd_, kMargin, kScheduleTop, 400, 200, look);
    AddColumns(scheduleList_, kScheduleColumns);
    scheduleList_.TabStop(1, true);  // the arrow and page keys scroll it
    scheduleList_.Name("PlanSchedule", true);
    chart_.Create(hwnd_, MakeRect(420, kScheduleTop, 340, 200));
    chart_.Name("PlanChart", true);
    problem_.Create(hwnd_, 0, 0, 220, 40, kTipPointUp);
    problem_.Visible(0, true);
    problem_.Name("PlanProblem", true);
}

void PlanWindow::CreateInputRows() {
    const HostHandle h = hwnd_;
    amount_.Create(h, "", 70, kRow1 + 1, 80, 22, kEditNumber);
    amount_.Name("PlanAmount", true);
    amountUnit_.Create(h, 152, kRow1, 50, 24, kAmountUnitWan, Texts(kAmountUnitTexts));
    amountUnit_.Name("PlanAmountUnit", true);
    term_.Create(h, "", 242, kRow1 + 1, 40, 22, kEditDigits);
    term_.Name("PlanTerm", true);
    termUnit_.Create(h, 284, kRow1, 50, 24, kTermInYears, Texts(kTermUnitTexts));
    termUnit_.Name("PlanTermUnit", true);
    method_.Create(h, 370, kRow1, 86, 24, 1, Texts(kPlanMethodTexts));
    method_.Name("PlanMethod", true);
    first_.Create(h, "", 524, kRow1 + 1, 70, 22, kEditAny);
    first_.Name("PlanFirstMonth", true);
    fixedRate_.Create(h, "固定", 60, kRow2, 56, 24, true, 1);
    fixedRate_.Name("PlanFixedRate", true);
    rate_.Create(h, "", 118, kRow2 + 1, 50, 22, kEditNumber);
    rate_.Name("PlanRate", true);
    lprRate_.Create(h, "LPR", 188, kRow2, 56, 24, false, 1);
    lprRate_.Name("PlanLprRate", true);
    spread_.Create(h, "", 244, kRow2 + 1, 50, 22, kEditAny);
    spread_.Name("PlanSpread", true);
    repricing_.Create(h, 360, kRow2, 90, 24, 1, Texts(kRepricingTexts));
    repricing_.Name("PlanRepricing", true);
    compute_.Create(h, "计算", 0, kRow2, kButtonWidth, kButtonHeight);
    compute_.Name("PlanCompute", true);
}

void PlanWindow::CreateFundRow() {
    const HostHandle h = hwnd_;
    combined_.Create(h, "公积金贷款", kMargin - 4, kRow3, 96, 24);
    combined_.Name("PlanCombined", true);
    fundAmount_.Create(h, "", 110, kRow3 + 1, 80, 22, kEditNumber);
    fundAmount_.Name("PlanFundAmount", true);
    fundAmountUnit_.Create(h, 192, kRow3, 50, 24, kAmountUnitWan, Texts(kAmountUnitTexts));
    fundAmountUnit_.Name("PlanFundAmountUnit", true);
    fundRateCaption_.Create(h, "利率(%)", 252, kRow3 + 4, 50, 18, kCaptionColor, {}, kFormatNoWrap, 0);
    fundRate_.Create(h, "", 304, kRow3 + 1, 50, 22, kEditNumber);
    fundRate_.Name("PlanFundRate", true);
}

// The commercial part's inputs above stay as they are: with 公积金贷款 ticked
// they describe the 商贷 part.
void PlanWindow::BindFund() {
    combined_.OnClick([this] {
        form_.combined = combined_.Checked() != 0;
        EnableFundInputs();
        Recompute();
    });
    fundAmount_.OnChange([this](const Text& text) {
        form_.fundAmount = text;
        Recompute();
    });
    fundRate_.OnChange([this](const Text& text) {
        form_.fundRate = text;
        Recompute();
    });
    fundAmountUnit_.OnSelect([this](int item) {
        form_.fundAmountUnit = item;
        Recompute();
    });
}

void PlanWindow::EnableFundInputs() {
    fundAmount_.SetEnabled(form_.combined);
    fundAmountUnit_.SetEnabled(form_.combined);
    fundRate_.SetEnabled(form_.combined);
}

void PlanWindow::CreateEventRow() {
    const HostHandle h = hwnd_;
    eventMonth_.Create(h, "", 50, kRow4 + 1, 70, 22, kEditAny);
    eventMonth_.Name("PlanEventMonth", true);
    eventKind_.Create(h, 124, kRow4, 80, 24, 1, Texts(kPlanEventKindTexts));
    eventKind_.Name("PlanEventKind", true);
    eventValue_.Create(h, "", 208, kRow4 + 1, 80, 22, kEditNumber);
    eventValue_.Name("PlanEventValue", true);
    eventMode_.Create(h, 292, kRow4, 86, 24, 2, Texts(kPrepayModeTexts));
    eventMode_.Name("PlanEventMode", true);
    addEvent_.Create(h, "添加", 386, kRow4, 54, kButtonHeight);
    addEvent_.Name("PlanAddEvent", true);
    changeEvent_.Create(h, "修改", 444, kRow4, 54, kButtonHeight);
    changeEvent_.Name("PlanChangeEvent", true);
    removeEvent_.Create(h, "删除", 502, kRow4, 54, kButtonHeight);
    removeEvent_.Name("PlanRemoveEvent", true);
}

void PlanWindow::FillInputs() {
    amount_.SetText(form_.amount);
    amountUnit_.Selection(form_.amountUnit, true);
    term_.SetText(form_.term);
    termUnit_.Selection(form_.termUnit, true);
    method_.Selection(form_.method == PlanMethod::EqualInstallment ? 1 : 2, true);
    first_.SetText(form_.firstMonth);
    fixedRate_.Checked(form_.lprLinked ? 0 : 1, true);
    lprRate_.Checked(form_.lprLinked ? 1 : 0, true);
    rate_.SetText(form_.rate);
    spread_.SetText(form_.spreadBp);
    repricing_.Selection(form_.repricing == Repricing::EachJanuary ? 1 : 2, true);
    EnableRateInputs();
    combined_.Checked(form_.combined ? 1 : 0, true);
    fundAmount_.SetText(form_.fundAmount);
    fundAmountUnit_.Selection(form_.fundAmountUnit, true);
    fundRate_.SetText(form_.fundRate);
    EnableFundInputs();
    FillEventList();
}

void PlanWindow::EnableRateInputs() {
    rate_.SetEnabled(!form_.lprLinked);
    spread_.SetEnabled(form_.lprLinked);
    repricing_.SetEnabled(form_.lprLinked);
}

// Every input updates the form and recomputes: the plan follows the typing.
void PlanWindow::BindInputs() {
    auto edit = [this](UiEdit& box, Text PlanForm::*field) {
        box.OnChange([this, field](const Text& text) {
            form_.*field = text;
            Recompute();
        });
    };
    edit(amount_, &PlanForm::amount);
    edit(term_, &PlanForm::term);
    edit(first_, &PlanForm::firstMonth);
    edit(rate_, &PlanForm::rate);
    edit(spread_, &PlanForm::spreadBp);
    amountUnit_.OnSelect([this](int item) { form_.amountUnit = item; Recompute(); });
    termUnit_.OnSelect([this](int item) { form_.termUnit = item; Recompute(); });
    method_.OnSelect([this](int item) {
        form_.method = item == 1 ? PlanMethod::EqualInstallment : PlanMethod::EqualPrincipal;
        Recompute();
    });
    repricing_.OnSelect([this](int item) {
        form_.repricing = item == 1 ? Repricing::EachJanuary : Repricing::Anniversary;
        Recompute();
    });
    fixedRate_.OnClick([this] {
        form_.lprLinked = false;
        EnableRateInputs();
        Recompute();
    });
    lprRate_.OnClick([this] {
        form_.lprLinked = true;
        EnableRateInputs();
        Recompute();
    });
    compute_.OnClick([this] { Recompute(); });
}

void PlanWindow::BindEvents() {
    addEvent_.OnClick([this] { AddOrChangeEvent(false); });
    changeEvent_.OnClick([this] { AddOrChangeEvent(true); });
    removeEvent_.OnClick([this] { RemoveEvent(); });
    events_.OnSelect([this](int row) {
        selectedEvent_ = row;
        if (row < 1 || row > int(form_.events.size())) return;
        const PlanEvent& e = form_.events[std::size_t(row - 1)];
        eventMonth_.SetText(PlanMonthText(e.month));
        eventKind_.Selection(e.kind == PlanEvent::Kind::Prepayment ? 1 : 2, true);
        eventValue_.SetText(e.kind == PlanEvent::Kind::Prepayment ? YuanText(e.amount, false)
                                                                  : ToText(e.annualPercent));
        eventMode_.Selection(e.mode == PrepayMode::ReducePayment ? 1 : 2, true);
    });
    window_.OnKeyDown([this](HostHandle, int, int vk, std::intptr_t) {
        if (vk == vk::kEnter) {
            // In the event row Enter adds the event typed there, as 添加;
            // elsewhere it recomputes, as 计算.
            const int focused = window_.FocusedControl();
            if (focused == window_.IndexOf(&eventMonth_) || focused == window_.IndexOf(&eventValue_)) {
                AddOrChangeEvent(false);
            } else {
                Recompute();
            }
            return 0;
        }
        if (vk == vk::kDelete && window_.FocusedControl() == window_.IndexOf(&events_)) {
            RemoveEvent();
            return 0;
        }
        return -1;
    });
}

void PlanWindow::AddOrChangeEvent(bool change) {
    const EventReading read = ReadPlanEvent(eventMonth_.Text(), eventKind_.Selection(), eventValue_.Text(),
                                            eventMode_.Selection());
    if (!read.event) {
        ShowProblem(read.field, read.message);
        return;
    }
    if (change) {
        if (selectedEvent_ < 1 || selectedEvent_ > int(form_.events.size())) return;
        form_.events[std::size_t(selectedEvent_ - 1)] = *read.event;
    } else {
        form_.events.push_back(*read.event);
    }
    FillEventList();
    Recompute();
}

void PlanWindow::RemoveEvent() {
    if (selectedEvent_ < 1 || selectedEvent_ > int(form_.events.size())) return;
    form_.events.erase(form_.events.begin() + (selectedEvent_ - 1));
    selectedEvent_ = 0;
    FillEventList();
    Recompute();
}

void PlanWindow::FillEventList() {
    events_.SuspendDraw();
    events_.ClearRows();
    for (const PlanEvent& e : form_.events) {
        const bool prepay = e.kind == PlanEvent::Kind::Prepayment;
        const int row = events_.InsertRow(0, PlanMonthText(e.month));
        events_.CellText(row, 2, kPlanEventKindTexts[prepay ? 0 : 1], true);
        events_.CellText(row, 3, EventValueText(e), true);
        events_.CellText(row, 4, prepay ? kPrepayModeTexts[e.mode == PrepayMode::ReducePayment ? 0 : 1] : "", true);
    }
    // The selection stays on the row it was on, while there is one.
    if (selectedEvent_ > int(form_.events.size())) selectedEvent_ = 0;
    events_.SelectedRow(selectedEvent_, true);
    events_.ResumeDraw();
    events_.Redraw();
    changeEvent_.SetEnabled(!form_.events.empty());
    removeEvent_.SetEnabled(!form_.events.empty());
}

void PlanWindow::Layout(int width, int height) {
    const float w = float(width), h = float(height);
    compute_.Move(w - kMargin - kButtonWidth, kRow2, std::nullopt, std::nullopt, false);
    const float half = (w - 2 * kMargin - kGap) / 2;
    events_.Move(kMargin, kListsTop, half, kEventsHeight, false);
    summary_.Move(kMargin + half + kGap, kListsTop, half, kEventsHeight, false);
    for (int i = 0; i < kComparisonColumns; ++i) {
        const float column = half / kComparisonColumns;
        comparison_[i].Move(kMargin + half + kGap + column * float(i), kListsTop, column, kEventsHeight, false);
    }
    const float barTop = h - kMargin - kButtonHeight;
    float right = w - kMargin;
    for (UiButton* button : {&export_, &clearA_, &keepA_}) {
        right -= button->Bounds().width;
        button->Move(right, barTop, std::nullopt, std::nullopt, false);
        right -= kGap;
    }
    status_.Move(kMargin, barTop + 4, right - kMargin, kButtonHeight - 4, false);
    const float listWidth = (w - 2 * kMargin - kGap) * kScheduleShare;
    const float listHeight = barTop - kGap - kScheduleTop;
    scheduleList_.Move(kMargin, kScheduleTop, listWidth, listHeight, false);
    // 说明 takes what the other columns leave, less the scroll bar's room.
    int fixed = 0;
    for (std::size_t c = 0; c + 1 < std::size(kScheduleColumns); ++c) fixed += kScheduleColumns[c].width;
    const int noteWidth = std::max(kMinNoteWidth, int(listWidth) - fixed - kScrollBarRoom);
    scheduleList_.ColumnWidth(int(std::size(kScheduleColumns)), noteWidth, true);
    chart_.Move(kMargin + listWidth + kGap, kScheduleTop, w - 2 * kMargin - kGap - listWidth, listHeight, false);
}

void PlanWindow::Recompute() {
    if (!Exists()) return;
    const PlanReading read = ReadPlanForm(form_);
    if (!read.plan) {
        // Nothing is shown from inputs that cannot be computed.
        plan_.reset();
        fund_.reset();
        outcome_ = {};
        ShowSchedule();
        ShowProblem(read.field, read.message);
        return;
    }
    problem_.Visible(0, true);
    plan_ = read.plan;
    fund_ = read.fund;
    outcome_ = ComputeOutcome(*plan_, fund_ ? &*fund_ : nullptr, history_);
    ShowSchedule();
}

void PlanWindow::ShowSchedule() {
    const Text summary =
        outcome_.schedule.rows.empty() ? Text() : PlanSummaryText(outcome_);
    Text lines;  // the label breaks lines at CR LF
    for (char c : summary) lines += c == '\n' ? Text("\r\n") : Text(1, c);
    summary_.SetText(lines);
    ShowComparison();
    scheduleList_.SuspendDraw();
    scheduleList_.ClearRows();
    for (const PlanRow& row : outcome_.schedule.rows) {
        const std::vector<Text> cells = PlanRowCells(row);
        const int n = scheduleList_.InsertRow(0, cells[0]);
        for (int c = 1; c < kPlanColumnCount; ++c) scheduleList_.CellText(n, c + 1, cells[std::size_t(c)], true);
    }
    scheduleList_.ResumeDraw();
    scheduleList_.Redraw();
    chart_.SetSchedule(outcome_.schedule);
}

UiControl* PlanWindow::FieldControl(PlanField field) {
    switch (field) {
        case PlanField::Amount: return &amount_;
        case PlanField::Term: return &term_;
        case PlanField::FirstMonth: return &first_;
        case PlanField::Rate: return &rate_;
        case PlanField::Spread: return &spread_;
        case PlanField::EventMonth: return &eventMonth_;
        case PlanField::EventValue: return &eventValue_;
        case PlanField::FundAmount: return &fundAmount_;
        case PlanField::FundRate: return &fundRate_;
        case PlanField::None: break;
    }
    return nullptr;
}

void PlanWindow::ShowProblem(PlanField field, const Text& message) {
    const UiControl* at = FieldControl(field);
    const RectF b = at != nullptr ? at->Bounds() : MakeRect(kMargin, kRow3, 60, 22);
    problem_.Visible(0, true);
    problem_.Text(" " + message, true);
    problem_.Move(b.left, b.Bottom() + 2, 230, 40);
    problem_.SetZOrder(1, true);
    problem_.Visible(1, true);
}

}  // namespace qh
