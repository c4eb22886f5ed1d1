// The repayment plan against figures of an independent model
// (tests/calc/loans/plan_model.py, written from the bank rules in Python with
// exact fractions for the interest), and the hand-checked anchors: 1,000,000
// at 4.9 % over 30 years pays 5,307.27 a month (等额本息) or 2,777.78 +
// 4,083.33 = 6,861.11 in the first month (等额本金).
#include "calc/loans/repayment_plan.h"

#include <gtest/gtest.h>

#include <numeric>

namespace qh {
namespace {

constexpr Fen kMillion = 100'000'000;  // 1,000,000.00 yuan
constexpr PlanMonth kJan2026{2026, 1};

PlanEvent Prepay(int n, PlanMonth first, Fen amount, PrepayMode mode) {
    PlanEvent e;
    e.kind = PlanEvent::Kind::Prepayment;
    e.month = AddMonths(first, n - 1);
    e.amount = amount;
    e.mode = mode;
    return e;
}

PlanEvent RateChange(int n, PlanMonth first, double percent) {
    PlanEvent e;
    e.kind = PlanEvent::Kind::RateChange;
    e.month = AddMonths(first, n - 1);
    e.annualPercent = percent;
    return e;
}

LoanPlan Fixed(Fen principal, int months, PlanMethod method, double percent, std::vector<PlanEvent> events = {}) {
    LoanPlan p;
    p.principal = principal;
    p.months = months;
    p.method = method;
    p.first = kJan2026;
    p.rate.annualPercent = percent;
    p.events = std::move(events);
    return p;
}

LoanPlan LprLinked(PlanMonth first, Repricing repricing, std::vector<PlanEvent> events = {}) {
    LoanPlan p;
    p.principal = kMillion;
    p.months = 360;
    p.first = first;
    p.rate.lprLinked = true;
    p.rate.spreadBp = -45;
    p.rate.repricing = repricing;
    p.events = std::move(events);
    return p;
}

TEST(RepaymentPlanTest, MatchesTheIndependentModel) {
    const PlanMethod annuity = PlanMethod::EqualInstallment, principal = PlanMethod::EqualPrincipal;
    const PrepayMode reduce = PrepayMode::ReducePayment, shorten = PrepayMode::ShortenTerm;
    const PlanMonth mar2023{2023, 3}, mar2025{2025, 3};
    struct Case {
        const char* name;
        LoanPlan plan;
        int rows;
        Fen last, interest;
        std::vector<std::pair<int, Fen>> payments;  // installment → 月供
    };
    const Case cases[] = {
        {"等额本息 4.9%", Fixed(kMillion, 360, annuity, 4.9), 360, 530519, 91061512, {{1, 530727}, {37, 530727}}},
        {"等额本息, 减少月供 after 36", Fixed(kMillion, 360, annuity, 4.9, {Prepay(36, kJan2026, 20'000'000, reduce)}),
         360, 419470, 74960834, {{36, 530727}, {37, 419304}}},
        {"等额本息, 缩短年限 after 36", Fixed(kMillion, 360, annuity, 4.9, {Prepay(36, kJan2026, 20'000'000, shorten)}),
         249, 529564, 51930440, {{36, 530727}, {37, 529692}}},
        {"等额本息, 4.2% from 13", Fixed(kMillion, 360, annuity, 4.9, {RateChange(13, kJan2026, 4.2)}), 360, 489902,
         76890361, {{12, 530727}, {13, 490005}}},
        {"等额本金 4.9%", Fixed(kMillion, 360, principal, 4.9), 360, 278832, 73704108, {{1, 686111}, {2, 684977}}},
        {"等额本金, 减少月供 after 36", Fixed(kMillion, 360, principal, 4.9, {Prepay(36, kJan2026, 20'000'000, reduce)}),
         360, 217048, 60433377, {{36, 646412}, {37, 501882}}},
        {"等额本金, 缩短年限 after 36",
         Fixed(kMillion, 360, principal, 4.9, {Prepay(36, kJan2026, 20'000'000, shorten)}), 288, 278848, 50143296,
         {{36, 646412}, {37, 563611}}},
        {"等额本金, 4.2% from 13", Fixed(kMillion, 360, principal, 4.9, {RateChange(13, kJan2026, 4.2)}), 360, 278670,
         63864257, {{12, 673634}, {13, 616111}}},
        // Made in 2023-02 at LPR 4.30 − 0.45 = 3.85; each January takes the
        // LPR in force: 4.20 (2024), 3.60 (2025), 3.50 (2026).
        {"LPR-45BP, each January", LprLinked(mar2023, Repricing::EachJanuary), 360, 426421, 54439219,
         {{10, 468808}, {11, 463239}, {22, 463239}, {23, 431450}, {34, 431450}, {35, 426426}}},
        // Installments 13, 25, 37 take the LPR of the month before theirs.
        {"LPR-45BP, each anniversary", LprLinked(mar2023, Repricing::Anniversary), 360, 426540, 54589439,
         {{12, 468808}, {13, 463264}, {24, 463264}, {25, 431621}, {36, 431621}, {37, 426621}}},
        // A forecast LPR of 3.3 from installment 20 (2026-10) on; the
        // January repricing after it takes the forecast, not the table.
        {"LPR forecast", LprLinked(mar2025, Repricing::EachJanuary, {RateChange(20, mar2025, 3.3)}), 360, 414132,
         49342023, {{10, 429737}, {11, 424429}, {19, 424429}, {20, 414149}, {23, 414149}}},
        {"paid off by a prepayment", Fixed(kMillion, 360, annuity, 4.9, {Prepay(24, kJan2026, 2 * kMillion, shorten)}),
         24, 530727, 9657843, {}},
        {"zero rate", Fixed(100'000, 7, annuity, 0), 7, 14284, 0, {{6, 14286}}},
        {"zero rate, 等额本金", Fixed(100'000, 7, principal, 0), 7, 14284, 0, {{6, 14286}}},
        // 0.15 yuan over 6 months: parts of 0.03 repay it in 5.
        {"balance ends before the last month", Fixed(15, 6, principal, 0), 5, 3, 0, {{5, 3}}},
    };
    const RateHistory history = RateHistory::BuiltIn();
    for (const Case& c : cases) {
        const PlanSchedule s = ComputePlan(c.plan, history);
        ASSERT_EQ(int(s.rows.size()), c.rows) << c.name;
        EXPECT_EQ(s.rows.back().payment, c.last) << c.name;
        EXPECT_EQ(s.totalInterest, c.interest) << c.name;
        for (const auto& [n, payment] : c.payments) EXPECT_EQ(s.rows[n - 1].payment, payment) << c.name << " #" << n;
        // Sums: the principal column and the prepayments repay the loan,
        // every payment is its principal and interest, and the balance ends
        // at 0.
        Fen repaid = 0, interest = 0;
        for (const PlanRow& row : s.rows) {
            EXPECT_EQ(row.payment, row.principal + row.interest) << c.name << " #" << row.number;
            EXPECT_GE(row.principal, 0) << c.name << " #" << row.number;
            repaid += row.principal + row.prepaid;
            interest += row.interest;
        }
        EXPECT_EQ(repaid, c.plan.principal) << c.name;
        EXPECT_EQ(interest, s.totalInterest) << c.name;
        EXPECT_EQ(s.rows.back().balance, 0) << c.name;
    }
}

TEST(RepaymentPlanTest, RefusesWhatCannotBeComputed) {
    const PlanMethod m = PlanMethod::EqualInstallment;
    const std::pair<LoanPlan, const char*> refused[] = {
        {Fixed(0, 360, m, 4.9), "贷款金额须大于0"},
        {Fixed(kMillion, 0, m, 4.9), "贷款期限须为1至600个月"},
        {Fixed(kMillion, 601, m, 4.9), "贷款期限须为1至600个月"},
        {Fixed(kMillion, 360, m, -0.1), "利率须在0%至36%之间"},
        {Fixed(kMillion, 360, m, 36.5), "利率须在0%至36%之间"},
        {Fixed(kMillion, 12, m, 4.9, {Prepay(13, kJan2026, 100, PrepayMode::ShortenTerm)}),
         "事件月份 2027-01 不在贷款期内"},
        {Fixed(kMillion, 12, m, 4.9, {Prepay(3, kJan2026, 0, PrepayMode::ShortenTerm)}), "提前还款金额须大于0"},
    };
    for (const auto& [plan, why] : refused) {
        EXPECT_EQ(PlanProblem(plan), why);
        EXPECT_TRUE(ComputePlan(plan, RateHistory::BuiltIn()).rows.empty()) << why;
    }
}

TEST(RepaymentPlanTest, CombinedLoansAddRowByRowAndRowsSayWhatHappened) {
    LoanPlan fund = Fixed(40'000'000, 240, PlanMethod::EqualInstallment, 2.6);
    LoanPlan commercial = Fixed(60'000'000, 120, PlanMethod::EqualInstallment, 3.05,
                                {Prepay(12, kJan2026, 5'000'000, PrepayMode::ReducePayment), RateChange(13, kJan2026, 3.3)});
    const RateHistory history = RateHistory::BuiltIn();
    const PlanSchedule a = ComputePlan(fund, history), b = ComputePlan(commercial, history);
    const PlanSchedule sum = CombineSchedules(a, b);
    ASSERT_EQ(sum.rows.size(), 240u);
    EXPECT_EQ(sum.rows[0].payment, a.rows[0].payment + b.rows[0].payment);
    EXPECT_EQ(sum.rows[200].payment, a.rows[200].payment);
    EXPECT_EQ(sum.totalInterest, a.totalInterest + b.totalInterest);
    EXPECT_EQ(sum.rows[11].note, "商贷: 提前还款 50,000.00 元(减少月供)");
    EXPECT_EQ(sum.rows[12].note, "商贷: 利率调整为 3.3%");

    // What the events save is counted on the commercial part they belong
    // to: the whole still ends with the longer provident-fund part.
    commercial.events = {Prepay(12, kJan2026, 20'000'000, PrepayMode::ShortenTerm)};
    const PlanOutcome outcome = ComputeOutcome(commercial, &fund, history);
    LoanPlan without = commercial;
    without.events.clear();
    const PlanSchedule shortened = ComputePlan(commercial, history), plain = ComputePlan(without, history);
    ASSERT_TRUE(outcome.savings.has_value());
    EXPECT_EQ(outcome.summary.installments, 240);
    EXPECT_TRUE(outcome.savings->ofCommercialPart);
    EXPECT_EQ(outcome.savings->months, int(plain.rows.size() - shortened.rows.size()));
    EXPECT_GT(outcome.savings->months, 0);
    EXPECT_EQ(outcome.savings->interest, plain.totalInterest - shortened.totalInterest);
    EXPECT_EQ(outcome.schedule.totalInterest, a.totalInterest + shortened.totalInterest);
    // 24 payments of 5,307.27 carry 96,578.43 of interest, so 127,374.48 −
    // 96,578.43 = 30,796.05 of principal is repaid and 969,203.95 is left.
    EXPECT_EQ(PlanRowNote(ComputePlan(Fixed(kMillion, 360, PlanMethod::EqualInstallment, 4.9,
                                            {Prepay(24, kJan2026, 2 * kMillion, PrepayMode::ShortenTerm)}),
                                      history)
                              .rows.back()),
              "提前还清 969,203.95 元");
    EXPECT_EQ(PlanRowNote(ComputePlan(LprLinked({2023, 3}, Repricing::EachJanuary), history).rows[10]),
              "LPR重定价 3.75%");
}

}  // namespace
}  // namespace qh
