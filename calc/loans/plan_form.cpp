#include "calc/loans/plan_form.h"

#include <cmath>
#include <string>

#include "calc/loans/rate_tables.h"
#include "runtime/convert.h"

namespace qh {
namespace {

constexpr int kMaxSpreadBp = 1000;

PlanReading Wrong(PlanField field, const Text& message) { return {std::nullopt, std::nullopt, field, message}; }

// The provident-fund part of a combined loan: the commercial plan's term,
// method and first month at its own amount and fixed rate, without events.
PlanReading WithFund(const PlanForm& form, LoanPlan commercial) {
    const std::optional<double> amount = ParsePlainDecimal(form.fundAmount);
    if (!amount || *amount <= 0) return Wrong(PlanField::FundAmount, "请输入大于0的公积金贷款金额");
    const std::optional<double> rate = ParsePlainDecimal(form.fundRate);
    if (!rate || *rate < 0 || *rate > kMaxPlanAnnualPercent) return Wrong(PlanField::FundRate, "利率须在0%至36%之间");
    LoanPlan fund = commercial;
    fund.principal = std::llround(LoanAmountOf(form.fundAmount, form.fundAmountUnit) * kFenPerYuan);
    fund.rate = PlanRate{};
    fund.rate.annualPercent = *rate;
    fund.events.clear();
    return {std::move(commercial), std::move(fund), PlanField::None, {}};
}

}  // namespace

PlanReading ReadPlanForm(const PlanForm& form) {
    LoanPlan plan;
    const std::optional<double> amount = ParsePlainDecimal(form.amount);
    if (!amount || *amount <= 0) return Wrong(PlanField::Amount, "请输入大于0的贷款金额");
    plan.principal = std::llround(LoanAmountOf(form.amount, form.amountUnit) * kFenPerYuan);
    const std::optional<double> term = ParsePlainDecimal(form.term);
    if (!term || *term != std::floor(*term)) return Wrong(PlanField::Term, "请输入整数的贷款期限");
    const double months = *term * (form.termUnit == kTermInYears ? kMonthsPerYear : 1);
    if (months < 1 || months > kMaxPlanMonths) return Wrong(PlanField::Term, "贷款期限须为1至600个月");
    plan.months = static_cast<int>(months);
    plan.method = form.method;
    const std::optional<PlanMonth> first = ParsePlanMonth(form.firstMonth);
    if (!first) return Wrong(PlanField::FirstMonth, "首次还款月份应为 YYYY-MM");
    plan.first = *first;
    plan.rate.lprLinked = form.lprLinked;
    plan.rate.repricing = form.repricing;
    if (form.lprLinked) {
        const std::optional<double> bp = ParsePlainDecimal(form.spreadBp.empty() ? Text("0") : form.spreadBp);
        if (!bp || *bp != std::floor(*bp) || std::abs(*bp) > kMaxSpreadBp) {
            return Wrong(PlanField::Spread, "加减点应为 -1000 至 1000 的整数");
        }
        plan.rate.spreadBp = static_cast<int>(*bp);
    } else {
        const std::optional<double> rate = ParsePlainDecimal(form.rate);
        if (!rate || *rate < 0 || *rate > kMaxPlanAnnualPercent) return Wrong(PlanField::Rate, "利率须在0%至36%之间");
        plan.rate.annualPercent = *rate;
    }
    plan.events = form.events;
    if (const Text problem = PlanProblem(plan); !problem.empty()) return Wrong(PlanField::EventMonth, problem);
    if (form.combined) return WithFund(form, std::move(plan));
    return {plan, std::nullopt, PlanField::None, {}};
}

PlanForm PlanFormOfLoan(double principalYuan, const RateInput& rate, const TermInput& term) {
    constexpr int kAmountUnitYuan = 1;
    PlanForm form;
    form.amount = FormatNumber(principalYuan, 2, false);
    form.amountUnit = kAmountUnitYuan;
    form.term = ToText(TermMonthsOf(term.text, term.unitItem));
    form.termUnit = kTermInMonths;
    const std::optional<double> typed = ParsePlainDecimal(rate.text);
    if (rate.kindItem == kAnnualRateKind || !typed) {
        form.rate = rate.text;
    } else {
        form.rate = FormatNumber(*typed * kMonthsPerYear, 4, false);
        while (form.rate.back() == '0') form.rate.pop_back();
        if (form.rate.back() == '.') form.rate.pop_back();
    }
    return form;
}

PlanForm PlanFormOfCombined(const CombinedLoanInputs& in) {
    PlanForm form = PlanFormOfLoan(LoanAmountOf(in.commAmount.text, in.commAmount.unitItem), in.commRate, in.term);
    const PlanForm fund = PlanFormOfLoan(LoanAmountOf(in.fundAmount.text, in.fundAmount.unitItem), in.fundRate, in.term);
    form.combined = true;
    form.fundAmount = fund.amount;
    form.fundAmountUnit = fund.amountUnit;
    form.fundRate = fund.rate;
    return form;
}

EventReading ReadPlanEvent(const Text& month, int kindItem, const Text& value, int modeItem) {
    const std::optional<PlanMonth> m = ParsePlanMonth(month);
    if (!m) return {std::nullopt, PlanField::EventMonth, "事件月份应为 YYYY-MM"};
    const std::optional<double> number = ParsePlainDecimal(value);
    PlanEvent e;
    e.month = *m;
    if (kindItem == 1) {
        if (!number || *number <= 0) return {std::nullopt, PlanField::EventValue, "提前还款金额须大于0"};
        e.kind = PlanEvent::Kind::Prepayment;
        e.amount = std::llround(*number * kFenPerYuan);
        e.mode = modeItem == 1 ? PrepayMode::ReducePayment : PrepayMode::ShortenTerm;
    } else {
        if (!number || *number < 0 || *number > kMaxPlanAnnualPercent) {
            return {std::nullopt, PlanField::EventValue, "利率须在0%至36%之间"};
        }
        e.kind = PlanEvent::Kind::RateChange;
        e.annualPercent = *number;
    }
    return {e, PlanField::None, {}};
}

}  // namespace qh
