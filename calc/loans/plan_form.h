// The plan window's inputs as the user typed them, and their reading into a
// LoanPlan: each text is checked where it was typed, and a wrong one names
// its field and says why, so the window shows the message beside it and
// computes nothing from it.
#pragma once

#include <optional>
#include <vector>

#include "calc/loans/loan_pages.h"
#include "calc/loans/repayment.h"
#include "calc/loans/repayment_plan.h"

namespace qh {

enum class PlanField { None, Amount, Term, FirstMonth, Rate, Spread, EventMonth, EventValue, FundAmount, FundRate };

struct PlanForm {
    Text amount;
    int amountUnit = kAmountUnitWan;
    Text term;
    int termUnit = kTermInYears;
    PlanMethod method = PlanMethod::EqualInstallment;
    Text firstMonth;        // YYYY-MM
    bool lprLinked = false;
    Text rate;              // fixed annual percent
    Text spreadBp;          // LPR + this many basis points
    Repricing repricing = Repricing::EachJanuary;
    std::vector<PlanEvent> events;
    // A combined loan: a provident-fund part at a fixed rate beside the
    // commercial part above, with the same term and first month. The events
    // belong to the commercial part.
    bool combined = false;
    Text fundAmount;
    int fundAmountUnit = kAmountUnitWan;
    Text fundRate;
};

struct PlanReading {
    std::optional<LoanPlan> plan;
    std::optional<LoanPlan> fund;  // a combined loan's provident-fund part
    PlanField field = PlanField::None;  // the field that is wrong
    Text message;
};
PlanReading ReadPlanForm(const PlanForm& form);

// An event typed into the event row: its month, its kind (1 提前还款,
// 2 利率调整), the amount in yuan or the rate, and the prepayment mode item
// (kPrepayModeTexts order).
struct EventReading {
    std::optional<PlanEvent> event;
    PlanField field = PlanField::None;
    Text message;
};
inline constexpr const char* kPlanEventKindTexts[] = {"提前还款", "利率调整"};
EventReading ReadPlanEvent(const Text& month, int kindItem, const Text& value, int modeItem);

// The plan of a loan a calculator page computed: its amount in yuan, its
// term in months and its rate as an annual percentage (a 月利率 times 12).
PlanForm PlanFormOfLoan(double principalYuan, const RateInput& rate, const TermInput& term);
// The combined page's loan: its commercial part as above, its provident-fund
// part beside it.
PlanForm PlanFormOfCombined(const CombinedLoanInputs& in);


}  // namespace qh
