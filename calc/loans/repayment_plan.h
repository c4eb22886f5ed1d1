// The repayment plan: a loan's schedule month by month, in whole fen, by the
// banks' convention, with prepayments, rate changes and LPR-linked pricing.
//
// Each month's interest is the balance times the annual rate ÷ 1200,
// rounded half up to the fen. 等额本息 pays the annuity for the balance, the
// rate and the months left (rounded half up); 等额本金 repays a fixed
// principal part (balance ÷ months left, rounded half up) plus the interest.
// The last month repays exactly what is left, so the principal column adds
// up to the loan.
//
// In one month the rate change comes first, then the installment, then a
// prepayment. A prepayment either keeps the end date (减少月供) or the
// payment (缩短年限); one at or above the balance pays the loan off.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "calc/loans/plan_month.h"
#include "calc/loans/rate_history.h"
#include "runtime/text.h"

namespace qh {

using Fen = std::int64_t;
inline constexpr double kFenPerYuan = 100;

enum class PlanMethod { EqualInstallment, EqualPrincipal };  // 等额本息, 等额本金
enum class PrepayMode { ReducePayment, ShortenTerm };       // 减少月供, 缩短年限
enum class Repricing { EachJanuary, Anniversary };          // 1月1日, 对月对日

// The limits a plan is checked against.
inline constexpr int kMaxPlanMonths = 600;
inline constexpr double kMaxPlanAnnualPercent = 36;

inline constexpr const char* kPlanMethodTexts[] = {"等额本息", "等额本金"};
inline constexpr const char* kPrepayModeTexts[] = {"减少月供", "缩短年限"};
inline constexpr const char* kRepricingTexts[] = {"1月1日", "对月对日"};

// The loan's rate: a fixed annual percentage, or the 5-year-plus LPR plus a
// spread in basis points, repriced by the rule.
struct PlanRate {
    bool lprLinked = false;
    double annualPercent = 0;  // fixed rate
    int spreadBp = 0;          // LPR + spreadBp / 100 %
    Repricing repricing = Repricing::EachJanuary;
};

struct PlanEvent {
    enum class Kind { Prepayment, RateChange };
    Kind kind = Kind::Prepayment;
    PlanMonth month;                 // the installment's month it applies to
    Fen amount = 0;                  // a prepayment's amount
    PrepayMode mode = PrepayMode::ShortenTerm;
    double annualPercent = 0;        // a rate change: the new rate; under LPR pricing the LPR from then on
};

struct LoanPlan {
    Fen principal = 0;
    int months = 0;
    PlanMethod method = PlanMethod::EqualInstallment;
    PlanMonth first;                 // the first installment's month
    PlanRate rate;
    std::vector<PlanEvent> events;
};

// One installment. payment = principal + interest; balance is what is left
// after the installment and any prepayment of the month.
struct PlanRow {
    int number = 0;
    PlanMonth month;
    Fen payment = 0, principal = 0, interest = 0, balance = 0;
    double annualPercent = 0;   // the rate the month's interest was charged at
    // A combined loan's second part's rate (公积金 + 商贷 show both).
    std::optional<double> otherAnnualPercent;
    Fen prepaid = 0;            // prepaid after the installment
    std::optional<PrepayMode> prepayMode;
    bool rateEvent = false;     // the user's rate change took effect this month
    bool repriced = false;      // an LPR repricing changed the rate this month
    Text note;                  // 说明: PlanRowNote, or a combined loan's parts' notes
    bool HasEvent() const { return prepaid != 0 || rateEvent; }
};

struct PlanSchedule {
    std::vector<PlanRow> rows;
    Fen totalInterest = 0;
    Fen totalPaid = 0;          // installments and prepayments
};

// What the plan window's summary and qingheloan print.
struct PlanSummary {
    Fen firstPayment = 0, lastPayment = 0;
    Fen totalInterest = 0;
    PlanMonth endMonth;
    int installments = 0;
};
PlanSummary SummaryOf(const PlanSchedule& schedule);

// Why a plan cannot be computed, or empty when it can: the checks the plan
// window makes where the user types.
Text PlanProblem(const LoanPlan& plan);

// The schedule of a plan that PlanProblem accepts (an empty schedule for one
// it refuses). LPR-linked plans take the LPR from history.
PlanSchedule ComputePlan(const LoanPlan& plan, const RateHistory& history);

// The row-by-row sum of two schedules with the same first month (a combined
// loan: 公积金 first, 商贷 second); the longer one's rows continue alone. Each
// row's note names the part its events belong to.
PlanSchedule CombineSchedules(const PlanSchedule& a, const PlanSchedule& b);

// What the user's events save against the same loan without them: the
// interest of the whole loan, and the months by which the loan with the
// events (a combined loan's commercial part) ends sooner.
struct PlanSavings {
    Fen interest = 0;
    int months = 0;
    bool ofCommercialPart = false;  // a combined loan: the events are the 商贷's
};

// A loan as the plan window and qingheloan show it: its schedule (a combined
// loan's parts added row by row), the summary, and the savings when the plan
// has events.
struct PlanOutcome {
    PlanSchedule schedule;
    PlanSummary summary;
    std::optional<PlanSavings> savings;
};
// plan: the loan, or a combined loan's commercial part, which carries the
// events; fund: a combined loan's provident-fund part, or null.
PlanOutcome ComputeOutcome(const LoanPlan& plan, const LoanPlan* fund, const RateHistory& history);

// An amount of fen in yuan with two decimals ("200,000.00" with grouping).
Text YuanText(Fen fen, bool grouping);

// The month's 说明: what happened in it ("利率调整为 3.3%", "LPR重定价 3.15%",
// "提前还款 200,000.00 元(缩短年限)", "提前还清"), or empty.
Text PlanRowNote(const PlanRow& row);

}  // namespace qh
