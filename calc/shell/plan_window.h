// The repayment plan window "还款计划": the plan's inputs, its events
// (prepayments and rate changes), the summary, the month-by-month schedule
// and a chart by year. It is resizable (600 × 440 at least) and remembers
// nothing between runs. Every control talks to the window through typed
// callbacks; the window keeps the inputs as a PlanForm and recomputes from
// it, never reading a control back. The schedule is exported as CSV, and a
// plan kept as 方案A is compared with the current one (plan_window_output.cpp).
#pragma once

#include <optional>

#include "calc/loans/plan_form.h"
#include "calc/loans/rate_history.h"
#include "calc/shell/plan_chart.h"
#include "toolkit/controls/button.h"
#include "toolkit/controls/check_box.h"
#include "toolkit/controls/combo_box.h"
#include "toolkit/controls/edit.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/list_view.h"
#include "toolkit/controls/radio_button.h"
#include "toolkit/controls/tip_panel.h"
#include "toolkit/window.h"

namespace qh {

class PlanWindow {
public:
    PlanWindow(HostHandle mainWindow, RateHistory history) : main_(mainWindow), history_(std::move(history)) {}
    PlanWindow(const PlanWindow&) = delete;
    PlanWindow& operator=(const PlanWindow&) = delete;

    // Opens the window with the form given (or activates the open one and
    // puts the form in).
    void Show(const PlanForm& form);
    bool Exists() const { return hwnd_ != 0; }
    HostHandle Handle() const { return hwnd_; }
    const PlanSchedule& Schedule() const { return outcome_.schedule; }

private:
    void CreateControls();
    void CreateInputRows();
    void CreateEventRow();
    // The provident-fund part of a combined loan.
    void CreateFundRow();
    void BindFund();
    void EnableFundInputs();
    void BindInputs();
    void BindEvents();
    void Layout(int width, int height);
    void FillInputs();
    // The fixed rate's box or the LPR's spread and repricing, as chosen.
    void EnableRateInputs();
    // Reads the form, recomputes and shows the result, or the problem.
    void Recompute();
    void ShowSchedule();
    void FillEventList();
    void AddOrChangeEvent(bool change);
    void RemoveEvent();
    void ShowProblem(PlanField field, const Text& message);

    // Export and comparison (plan_window_output.cpp).
    void CreateOutputRow();
    void BindOutputs();
    void Export();
    // Where the CSV goes: the path chosen in the save dialog, a new name in
    // the documents folder when there is no dialog, nothing when cancelled.
    std::optional<Text> ExportPath();
    void ShowComparison();
    UiControl* FieldControl(PlanField field);

    HostHandle main_;
    RateHistory history_;
    HostHandle hwnd_ = 0;
    UiWindow window_;
    PlanForm form_;
    std::optional<LoanPlan> plan_;  // the plan shown, when the inputs make one
    std::optional<LoanPlan> fund_;  // and its provident-fund part, when combined
    PlanOutcome outcome_;  // computed from plan_ and fund_
    std::optional<PlanSummary> planA_;
    int selectedEvent_ = 0;  // 1-based row of the event list, 0 none

    static constexpr int kCaptionCount = 8;
    UiLabel captions_[kCaptionCount];
    UiEdit amount_, term_, first_, rate_, spread_;
    UiComboBox amountUnit_, termUnit_, method_, repricing_;
    UiRadioButton fixedRate_, lprRate_;
    UiEdit eventMonth_, eventValue_;
    UiCheckBox combined_;
    UiEdit fundAmount_, fundRate_;
    UiComboBox fundAmountUnit_;
    UiLabel fundRateCaption_;
    UiComboBox eventKind_, eventMode_;
    UiButton addEvent_, changeEvent_, removeEvent_, compute_;
    UiListView events_, scheduleList_;
    UiLabel summary_;
    static constexpr int kComparisonColumns = 4;
    UiLabel comparison_[kComparisonColumns];  // names, 方案A, 当前, 差额
    UiButton export_, keepA_, clearA_;
    UiLabel status_;
    UiTipPanel problem_;  // what is wrong, pointing at the field
    PlanChart chart_;
};

}  // namespace qh
