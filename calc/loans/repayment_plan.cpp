#include "calc/loans/repayment_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "runtime/convert.h"

namespace qh {
namespace {

// Rates are held as integers in units of 0.0001 %, so that a month's
// interest (balance × rate ÷ 1200) is exact integer arithmetic and rounds
// half up without binary fractions deciding the last fen.
using RateE4 = std::int64_t;
constexpr double kRateScale = 10000;
constexpr std::int64_t kInterestDivisor = 1200 * 10000;  // percent a year → fraction a month

constexpr int kAnniversaryMonths = 12;
constexpr int kJanuary = 1;

RateE4 ToRate(double annualPercent) { return std::llround(annualPercent * kRateScale); }
double FromRate(RateE4 rate) { return double(rate) / kRateScale; }

// a ÷ b rounded half up, for a ≥ 0 and b > 0.
Fen DivideHalfUp(Fen a, std::int64_t b) { return (a + b / 2) / b; }

Fen MonthInterest(Fen balance, RateE4 rate) { return DivideHalfUp(balance * rate, kInterestDivisor); }

// The annuity payment for the balance over n months, rounded half up to the
// fen; the balance spread evenly when the rate is 0.
Fen Annuity(Fen balance, RateE4 rate, int n) {
    if (rate == 0) return DivideHalfUp(balance, n);
    // Doubles carry the payment to within a millionth of a fen, and are what
    // the plan window recomputes with on every keystroke (long double's pow is
    // some fifty times slower).
    const double r = static_cast<double>(rate) / kInterestDivisor;
    const double growth = std::pow(1 + r, n);
    return static_cast<Fen>(std::floor(double(balance) * r * growth / (growth - 1) + 0.5));
}

// The smallest number of months, at most limit, whose annuity for the
// balance is not above the payment (the annuity falls as the months grow).
int MonthsForPayment(Fen balance, RateE4 rate, Fen payment, int limit) {
    int low = 1, high = limit;
    while (low < high) {
        const int mid = (low + high) / 2;
        if (Annuity(balance, rate, mid) <= payment) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    return low;
}

// The 5-year-plus LPR the plan is priced from in a month: the user's latest
// forecast at or before it, else the latest fixing published before the
// month's first day (the first fixing before the history, the last after).
class LprSource {
public:
    explicit LprSource(const RateHistory& history) : history_(history) {}
    void Forecast(PlanMonth month, RateE4 lpr) { forecasts_[MonthIndex(month)] = lpr; }
    RateE4 InForce(PlanMonth month) const {
        auto after = forecasts_.upper_bound(MonthIndex(month));
        if (after != forecasts_.begin()) return std::prev(after)->second;
        // Day 0 of the month sorts after every day of the month before and
        // before the month's first day.
        const std::optional<LprFixing> fixing = history_.LprOn(RulesDate{month.year, month.month, 0});
        if (fixing) return ToRate(fixing->fiveYearPlus);
        const std::optional<LprFixing> first = history_.FirstLpr();
        return first ? ToRate(first->fiveYearPlus) : 0;
    }

private:
    const RateHistory& history_;
    std::map<int, RateE4> forecasts_;
};

// The loan as it runs: what is owed, the months left, the rate and the
// payment (等额本息) or principal part (等额本金) in force.
struct LoanState {
    PlanMethod method;
    Fen balance = 0;
    int monthsLeft = 0;
    RateE4 rate = 0;
    Fen payment = 0;
    Fen part = 0;

    // Sets the payment or the part for the balance over the months left.
    void Recompute() {
        if (method == PlanMethod::EqualInstallment) {
            payment = Annuity(balance, rate, monthsLeft);
        } else {
            part = DivideHalfUp(balance, monthsLeft);
        }
    }
    // A new rate: 等额本息 spreads the balance again at it; 等额本金 keeps its part.
    void SetRate(RateE4 newRate) {
        rate = newRate;
        if (method == PlanMethod::EqualInstallment) payment = Annuity(balance, rate, monthsLeft);
    }
    void Prepay(Fen amount, PrepayMode mode) {
        balance -= amount;
        if (balance == 0) return;
        if (mode == PrepayMode::ReducePayment) {
            Recompute();
        } else if (method == PlanMethod::EqualInstallment) {
            monthsLeft = MonthsForPayment(balance, rate, payment, monthsLeft);
            payment = Annuity(balance, rate, monthsLeft);
        } else {
            monthsLeft = static_cast<int>((balance + part - 1) / part);
        }
    }
};

// Whether installment n (its month given) reprices an LPR-linked loan, and
// the month whose LPR it takes.
std::optional<PlanMonth> RepricingLookup(const PlanRate& rate, int n, PlanMonth month) {
    if (n <= 1) return std::nullopt;
    if (rate.repricing == Repricing::EachJanuary) {
        if (month.month == kJanuary) return month;
        return std::nullopt;
    }
    if ((n - 1) % kAnniversaryMonths == 0) return AddMonths(month, -1);
    return std::nullopt;
}

Text PercentText(double percent) { return ToText(percent) + "%"; }

}  // namespace

Text PlanProblem(const LoanPlan& plan) {
    if (plan.principal <= 0) return "贷款金额须大于0";
    if (plan.months < 1 || plan.months > kMaxPlanMonths) return "贷款期限须为1至600个月";
    if (plan.first.month < 1 || plan.first.month > kMonthsPerYear) return "首次还款月份无效";
    auto badRate = [](double percent) { return !(percent >= 0 && percent <= kMaxPlanAnnualPercent); };
    if (!plan.rate.lprLinked && badRate(plan.rate.annualPercent)) return "利率须在0%至36%之间";
    const PlanMonth last = AddMonths(plan.first, plan.months - 1);
    for (const PlanEvent& e : plan.events) {
        if (e.month < plan.first || e.month > last) return "事件月份 " + PlanMonthText(e.month) + " 不在贷款期内";
        if (e.kind == PlanEvent::Kind::Prepayment && e.amount <= 0) return "提前还款金额须大于0";
        if (e.kind == PlanEvent::Kind::RateChange && badRate(e.annualPercent)) return "利率须在0%至36%之间";
    }
    return {};
}

PlanSchedule ComputePlan(const LoanPlan& plan, const RateHistory& history) {
    PlanSchedule schedule;
    if (!PlanProblem(plan).empty()) return schedule;
    const RateE4 spread = RateE4{plan.rate.spreadBp} * 100;
    LprSource lpr(history);
    auto priced = [&](RateE4 base) { return std::max<RateE4>(0, base + spread); };

    LoanState s{plan.method, plan.principal, plan.months};
    schedule.rows.reserve(static_cast<std::size_t>(plan.months));
    s.rate = plan.rate.lprLinked ? priced(lpr.InForce(AddMonths(plan.first, -1))) : ToRate(plan.rate.annualPercent);
    s.Recompute();

    for (int n = 1; s.balance > 0 && s.monthsLeft > 0; ++n) {
        PlanRow row;
        row.number = n;
        row.month = AddMonths(plan.first, n - 1);
        if (plan.rate.lprLinked) {
            if (const std::optional<PlanMonth> lookup = RepricingLookup(plan.rate, n, row.month)) {
                const RateE4 repriced = priced(lpr.InForce(*lookup));
                row.repriced = repriced != s.rate;
                if (row.repriced) s.SetRate(repriced);
            }
        }
        for (const PlanEvent& e : plan.events) {
            if (e.kind != PlanEvent::Kind::RateChange || e.month != row.month) continue;
            RateE4 rate = ToRate(e.annualPercent);
            if (plan.rate.lprLinked) {
                lpr.Forecast(e.month, rate);
                rate = priced(rate);
            }
            s.SetRate(rate);
            row.rateEvent = true;
        }

        row.annualPercent = FromRate(s.rate);
        row.interest = MonthInterest(s.balance, s.rate);
        row.principal = s.method == PlanMethod::EqualInstallment ? s.payment - row.interest : s.part;
        if (s.monthsLeft == 1 || row.principal >= s.balance) row.principal = s.balance;
        row.payment = row.principal + row.interest;
        s.balance -= row.principal;
        --s.monthsLeft;

        for (const PlanEvent& e : plan.events) {
            if (e.kind != PlanEvent::Kind::Prepayment || e.month != row.month || s.balance == 0) continue;
            const Fen amount = std::min(e.amount, s.balance);
            s.Prepay(amount, e.mode);
            row.prepaid += amount;
            row.prepayMode = e.mode;
        }
        row.balance = s.balance;
        row.note = PlanRowNote(row);
        schedule.totalInterest += row.interest;
        schedule.totalPaid += row.payment + row.prepaid;
        schedule.rows.push_back(row);
    }
    return schedule;
}

PlanSchedule CombineSchedules(const PlanSchedule& a, const PlanSchedule& b) {
    constexpr const char* kPartNames[] = {"公积金", "商贷"};
    auto named = [&](const PlanRow* row, int part) {
        return row == nullptr || row->note.empty() ? Text() : Text(kPartNames[part]) + ": " + row->note;
    };
    PlanSchedule sum;
    const std::size_t count = std::max(a.rows.size(), b.rows.size());
    for (std::size_t i = 0; i < count; ++i) {
        const PlanRow* x = i < a.rows.size() ? &a.rows[i] : nullptr;
        const PlanRow* y = i < b.rows.size() ? &b.rows[i] : nullptr;
        PlanRow row = x != nullptr ? *x : *y;
        if (x != nullptr && y != nullptr) {
            row.payment += y->payment;
            row.principal += y->principal;
            row.interest += y->interest;
            row.balance += y->balance;
            row.prepaid += y->prepaid;
            row.otherAnnualPercent = y->annualPercent;
            row.rateEvent = row.rateEvent || y->rateEvent;
            row.repriced = row.repriced || y->repriced;
            if (!row.prepayMode) row.prepayMode = y->prepayMode;
        }
        const Text fundNote = named(x, 0), commercialNote = named(y, 1);
        row.note = fundNote.empty() || commercialNote.empty() ? fundNote + commercialNote : fundNote + "; " + commercialNote;
        sum.rows.push_back(row);
    }
    sum.totalInterest = a.totalInterest + b.totalInterest;
    sum.totalPaid = a.totalPaid + b.totalPaid;
    return sum;
}

Text YuanText(Fen fen, bool grouping) {
    constexpr int kPlaces = 2;
    return FormatNumber(double(fen) / kFenPerYuan, kPlaces, grouping);
}

PlanSummary SummaryOf(const PlanSchedule& schedule) {
    PlanSummary summary;
    if (schedule.rows.empty()) return summary;
    summary.firstPayment = schedule.rows.front().payment;
    summary.lastPayment = schedule.rows.back().payment;
    summary.totalInterest = schedule.totalInterest;
    summary.endMonth = schedule.rows.back().month;
    summary.installments = static_cast<int>(schedule.rows.size());
    return summary;
}

PlanOutcome ComputeOutcome(const LoanPlan& plan, const LoanPlan* fund, const RateHistory& history) {
    const PlanSchedule own = ComputePlan(plan, history);
    PlanOutcome outcome;
    outcome.schedule = fund == nullptr ? own : CombineSchedules(ComputePlan(*fund, history), own);
    outcome.summary = SummaryOf(outcome.schedule);
    if (plan.events.empty()) return outcome;
    // The provident-fund part has no events, so what they save is all the
    // commercial part's.
    LoanPlan without = plan;
    without.events.clear();
    const PlanSchedule ownWithout = ComputePlan(without, history);
    outcome.savings = PlanSavings{ownWithout.totalInterest - own.totalInterest,
                                  static_cast<int>(ownWithout.rows.size() - own.rows.size()), fund != nullptr};
    return outcome;
}

Text PlanRowNote(const PlanRow& row) {
    Text note;
    auto add = [&note](const Text& part) { note += (note.empty() ? "" : "; ") + part; };
    if (row.rateEvent) add("利率调整为 " + PercentText(row.annualPercent));
    if (row.repriced && !row.rateEvent) add("LPR重定价 " + PercentText(row.annualPercent));
    if (row.prepaid != 0) {
        if (row.balance == 0) {
            add("提前还清 " + YuanText(row.prepaid, true) + " 元");
        } else {
            const int mode = row.prepayMode == PrepayMode::ReducePayment ? 0 : 1;
            add("提前还款 " + YuanText(row.prepaid, true) + " 元(" + kPrepayModeTexts[mode] + ")");
        }
    }
    return note;
}

std::optional<PlanMonth> ParsePlanMonth(const Text& text) {
    constexpr int kMinYear = 1900, kMaxYear = 2200;
    if (text.size() != 7 || text[4] != '-') return std::nullopt;
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u}) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    }
    const int year = std::stoi(text.substr(0, 4));
    const int month = std::stoi(text.substr(5, 2));
    if (year < kMinYear || year > kMaxYear || month < 1 || month > kMonthsPerYear) return std::nullopt;
    return PlanMonth{year, month};
}

Text PlanMonthText(PlanMonth m) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d", m.year, m.month);
    return text;
}

}  // namespace qh
