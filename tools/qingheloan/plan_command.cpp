#include "tools/qingheloan/plan_command.h"

#include <cmath>

#include "calc/loans/plan_export.h"
#include "calc/loans/plan_form.h"
#include "calc/loans/repayment.h"
#include "calc/loans/repayment_plan.h"
#include "runtime/convert.h"
#include "tools/qingheloan/options.h"

namespace qh {
namespace {

constexpr const char* kPlanValued[] = {"--amount", "--amount-unit", "--term",       "--term-unit",        "--method",
                                       "--first",  "--rate",        "--lpr-bp",     "--reprice",          "--fund-amount",
                                       "--fund-amount-unit",        "--fund-rate"};
constexpr const char* kPlanFlags[] = {"--csv"};
constexpr const char* kPlanRepeated[] = {"--prepay", "--rate-change"};

double NumberOption(const Options& o, const char* name) {
    const std::optional<double> value = ParsePlainDecimal(o.text(name));
    if (!value) throw UsageError{"选项 " + Text(name) + " 的值 \"" + o.text(name) + "\" 不是数"};
    return *value;
}

PlanMonth MonthValue(const Text& text, const char* option) {
    const std::optional<PlanMonth> month = ParsePlanMonth(text);
    if (!month) throw UsageError{"选项 " + Text(option) + " 的月份 \"" + text + "\" 应为 YYYY-MM"};
    return *month;
}

// "2028-06:200000:缩短年限" or "2027-01:3.3": the parts between colons.
std::vector<Text> Parts(const Text& value) { return SplitText(value, ":"); }

PlanEvent Prepayment(const Text& value) {
    const std::vector<Text> parts = Parts(value);
    const std::optional<double> yuan = parts.size() == 3 ? ParsePlainDecimal(parts[1]) : std::nullopt;
    if (!yuan) throw UsageError{"选项 --prepay 的值 \"" + value + "\" 应为 YYYY-MM:金额:减少月供|缩短年限"};
    PlanEvent e;
    e.kind = PlanEvent::Kind::Prepayment;
    e.month = MonthValue(parts[0], "--prepay");
    e.amount = std::llround(*yuan * kFenPerYuan);
    if (parts[2] == kPrepayModeTexts[0]) {
        e.mode = PrepayMode::ReducePayment;
    } else if (parts[2] == kPrepayModeTexts[1]) {
        e.mode = PrepayMode::ShortenTerm;
    } else {
        throw UsageError{"选项 --prepay 的方式 \"" + parts[2] + "\" 应为 减少月供 或 缩短年限"};
    }
    return e;
}

PlanEvent RateChange(const Text& value) {
    const std::vector<Text> parts = Parts(value);
    const std::optional<double> percent = parts.size() == 2 ? ParsePlainDecimal(parts[1]) : std::nullopt;
    if (!percent) throw UsageError{"选项 --rate-change 的值 \"" + value + "\" 应为 YYYY-MM:年利率"};
    PlanEvent e;
    e.kind = PlanEvent::Kind::RateChange;
    e.month = MonthValue(parts[0], "--rate-change");
    e.annualPercent = *percent;
    return e;
}

PlanRate RateOf(const Options& o) {
    if (o.has("--rate") == o.has("--lpr-bp")) throw UsageError{"须给出 --rate 或 --lpr-bp 之一"};
    PlanRate rate;
    if (o.has("--rate")) {
        if (o.has("--reprice")) throw UsageError{"选项 --reprice 只用于 --lpr-bp"};
        rate.annualPercent = NumberOption(o, "--rate");
        return rate;
    }
    rate.lprLinked = true;
    const double bp = NumberOption(o, "--lpr-bp");
    if (bp != std::floor(bp)) throw UsageError{"选项 --lpr-bp 的值应为整数个基点"};
    rate.spreadBp = static_cast<int>(bp);
    rate.repricing = o.item("--reprice", kRepricingTexts, 1) == 1 ? Repricing::EachJanuary : Repricing::Anniversary;
    return rate;
}

LoanPlan PlanOf(const Options& o) {
    for (const char* required : {"--amount", "--term", "--first"}) {
        if (!o.has(required)) throw UsageError{"缺少选项 " + Text(required)};
    }
    LoanPlan plan;
    const double amount = NumberOption(o, "--amount");
    plan.principal = std::llround(LoanAmountOf(o.text("--amount"), o.item("--amount-unit", kAmountUnitTexts,
                                                                          kAmountUnitWan)) * kFenPerYuan);
    if (amount <= 0) throw UsageError{"选项 --amount 须大于0"};
    const double term = NumberOption(o, "--term");
    const bool years = o.item("--term-unit", kTermUnitTexts, kTermInYears) == kTermInYears;
    if (term != std::floor(term)) throw UsageError{"选项 --term 须为整数"};
    plan.months = static_cast<int>(term) * (years ? kMonthsPerYear : 1);
    plan.method = o.item("--method", kPlanMethodTexts, 1) == 1 ? PlanMethod::EqualInstallment : PlanMethod::EqualPrincipal;
    plan.first = MonthValue(o.text("--first"), "--first");
    plan.rate = RateOf(o);
    for (const Text& value : o.all("--rate-change")) plan.events.push_back(RateChange(value));
    for (const Text& value : o.all("--prepay")) plan.events.push_back(Prepayment(value));
    return plan;
}

// A combined loan's provident-fund part: the plan's term, method and first
// month at its own amount and fixed rate, without events.
std::optional<LoanPlan> FundOf(const Options& o, const LoanPlan& plan) {
    if (!o.has("--fund-amount") && !o.has("--fund-rate")) return std::nullopt;
    if (!o.has("--fund-amount") || !o.has("--fund-rate")) throw UsageError{"--fund-amount 与 --fund-rate 须一起给出"};
    if (NumberOption(o, "--fund-amount") <= 0) throw UsageError{"选项 --fund-amount 须大于0"};
    LoanPlan fund = plan;
    fund.principal = std::llround(LoanAmountOf(o.text("--fund-amount"),
                                               o.item("--fund-amount-unit", kAmountUnitTexts, kAmountUnitWan)) *
                                  kFenPerYuan);
    fund.rate = PlanRate{};
    fund.rate.annualPercent = NumberOption(o, "--fund-rate");
    fund.events.clear();
    return fund;
}

}  // namespace

ToolOutput RunPlanCommand(const std::vector<Text>& args, const RateHistory& history) {
    const Options o(args, {kPlanValued, kPlanFlags, kPlanRepeated});
    const LoanPlan plan = PlanOf(o);
    const std::optional<LoanPlan> fund = FundOf(o, plan);
    for (const LoanPlan* part : {&plan, fund ? &*fund : nullptr}) {
        if (part == nullptr) continue;
        if (const Text problem = PlanProblem(*part); !problem.empty()) throw UsageError{problem};
    }
    const PlanOutcome outcome = ComputeOutcome(plan, fund ? &*fund : nullptr, history);
    ToolOutput output;
    if (o.flag("--csv")) {
        std::vector<NamedPlan> parts{{Text(), &plan}};
        if (fund) parts = {{"公积金", &*fund}, {"商贷", &plan}};
        output.bytes = PlanCsv(parts, outcome.schedule);
        return output;
    }
    output.out = PlanSummaryText(outcome) + "\n" + PlanTableText(outcome.schedule);
    return output;
}

}  // namespace qh
