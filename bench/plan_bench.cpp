// The repayment plan engine: a 30-year plan with 20 events (prepayments in
// both modes and rate changes), fixed and LPR-linked, as the plan window
// recomputes it on every change of an input.
#include <benchmark/benchmark.h>

#include "calc/loans/repayment_plan.h"

namespace qh {
namespace {

constexpr int kMonths = 360;
constexpr int kEvents = 20;
constexpr int kEventSpacing = 15;  // months between events

LoanPlan BusyPlan(bool lprLinked) {
    LoanPlan plan;
    plan.principal = 150'000'000;  // 1,500,000.00
    plan.months = kMonths;
    plan.first = {2025, 3};
    plan.rate.lprLinked = lprLinked;
    plan.rate.annualPercent = 4.1;
    plan.rate.spreadBp = -45;
    for (int i = 0; i < kEvents; ++i) {
        PlanEvent e;
        e.month = AddMonths(plan.first, (i + 1) * kEventSpacing);
        if (i % 2 == 0) {
            e.kind = PlanEvent::Kind::Prepayment;
            e.amount = 2'000'000;
            e.mode = i % 4 == 0 ? PrepayMode::ShortenTerm : PrepayMode::ReducePayment;
        } else {
            e.kind = PlanEvent::Kind::RateChange;
            e.annualPercent = 3.0 + 0.05 * i;
        }
        plan.events.push_back(e);
    }
    return plan;
}

void BM_Plan360With20Events(benchmark::State& state) {
    const LoanPlan plan = BusyPlan(state.range(0) != 0);
    const RateHistory history = RateHistory::BuiltIn();
    for (auto _ : state) benchmark::DoNotOptimize(ComputePlan(plan, history));
}
BENCHMARK(BM_Plan360With20Events)->Arg(0)->Arg(1)->ArgName("lpr")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qh
