#include "calc/loans/repayment.h"

#include <climits>
#include <cmath>

#include <gtest/gtest.h>

#include "calc/loans/rate_tables.h"

namespace qh {
namespace {

struct Example {
    double principal;
    double rate;
    std::int32_t months;
    const char* installment[3];  // monthly, interest, total
    const char* principalMethod[4];  // first month, decrease, interest, total
};

constexpr Example kExamples[] = {
    {1000000, 6.55 / 1200, 240,
     {"7,485.20 元", "796,447.27 元", "1,796,447.27 元"},
     {"9,625.00 元", "22.74 元", "657,729.17 元", "1,657,729.17 元"}},
    {1000000, 0.0055, 240,
     {"7,514.72 元", "803,532.99 元", "1,803,532.99 元"},
     {"9,666.67 元", "22.92 元", "662,750.00 元", "1,662,750.00 元"}},
    {500000, 4.5 / 1200, 360,
     {"2,533.43 元", "412,033.56 元", "912,033.56 元"},
     {"3,263.89 元", "5.21 元", "338,437.50 元", "838,437.50 元"}},
    {100000, 6.0 / 1200, 12,
     {"8,606.64 元", "3,279.72 元", "103,279.72 元"},
     {"8,833.33 元", "41.67 元", "3,250.00 元", "103,250.00 元"}},
};

TEST(RepaymentTest, WorkedExamplesToTheCent) {
    for (const auto& e : kExamples) {
        SCOPED_TRACE(testing::Message() << e.principal << " at " << e.rate << " over " << e.months);
        const InstallmentResult a = EqualInstallment(e.principal, e.rate, e.months);
        EXPECT_EQ(a.monthlyText, e.installment[0]);
        EXPECT_EQ(a.interestText, e.installment[1]);
        EXPECT_EQ(a.totalText, e.installment[2]);
        const PrincipalResult b = EqualPrincipal(e.principal, e.rate, e.months);
        EXPECT_EQ(b.firstMonthText, e.principalMethod[0]);
        EXPECT_EQ(b.decreaseText, e.principalMethod[1]);
        EXPECT_EQ(b.interestText, e.principalMethod[2]);
        EXPECT_EQ(b.totalText, e.principalMethod[3]);
    }
}

TEST(RepaymentTest, SingleLoanTextsLineUpWithTheRowLabels) {
    const LoanResultTexts t = SingleLoanResults(1000000, 6.55 / 1200, 240);
    EXPECT_EQ(t.installment,
              "1,000,000.00 元\r\n\r\n7,485.20 元\r\n\r\n796,447.27 元\r\n\r\n1,796,447.27 元");
    EXPECT_EQ(t.principal,
              "1,000,000.00 元\r\n\r\n9,625.00 元\r\n\r\n22.74 元\r\n\r\n657,729.17 元\r\n\r\n"
              "1,657,729.17 元");
    // The loan total is formatted as it is: 100.125 rounded half up would
    // show 100.13, printed with two places it shows 100.12.
    EXPECT_EQ(SingleLoanResults(100.125, 0, 0).installment.substr(0, 6), "100.12");
    EXPECT_EQ(RoundedMoneyText(100.125), "100.13 元");
}

TEST(RepaymentTest, ZeroCaseLeavesFiguresAtZero) {
    for (auto [p, r, n] : {std::tuple{0.0, 0.005, 240}, std::tuple{1e6, 0.0, 240},
                           std::tuple{1e6, 0.005, 0}, std::tuple{1e6, 0.00000005, 240}}) {
        const InstallmentResult a = EqualInstallment(p, r, n);
        EXPECT_EQ(a.monthly, 0);
        EXPECT_EQ(a.monthlyText, "0.00 元");
        EXPECT_EQ(a.totalText, "0.00 元");
        const PrincipalResult b = EqualPrincipal(p, r, n);
        EXPECT_EQ(b.firstMonth, 0);
        EXPECT_EQ(b.decreaseText, "0.00 元");
    }
    // An empty rate box still shows the loan total.
    EXPECT_EQ(SingleLoanResults(1000000, 0, 240).installment,
              "1,000,000.00 元\r\n\r\n0.00 元\r\n\r\n0.00 元\r\n\r\n0.00 元");
}

TEST(RepaymentTest, NegativeInputsAreComputedLikeAnyOthers) {
    const InstallmentResult a = EqualInstallment(-100000, 6.0 / 1200, 12);
    EXPECT_EQ(a.monthlyText, "-8,606.64 元");
}

TEST(ReadersTest, AmountUnitsTermsAndDownPayments) {
    EXPECT_EQ(LoanAmountOf("100", 4), 1000000);
    EXPECT_EQ(LoanAmountOf("100", 5), 10000000000.0);
    EXPECT_EQ(LoanAmountOf("3", 2), 300);
    EXPECT_EQ(LoanAmountOf("100", 0), 0);
    EXPECT_EQ(LoanAmountOf("100", 6), 0);
    EXPECT_EQ(LoanAmountOf("", 4), 0);

    EXPECT_EQ(TermMonthsOf("30", kTermInYears), 360);
    EXPECT_EQ(TermMonthsOf("30", kTermInMonths), 30);
    EXPECT_EQ(TermMonthsOf("20.5", kTermInYears), 240);
    EXPECT_EQ(TermMonthsOf("", kTermInYears), 0);

    EXPECT_EQ(DownPaymentFractionOf(kDownPayment30), 0.3f);
    EXPECT_EQ(DownPaymentFractionOf(8), 0.9f);
    EXPECT_EQ(DownPaymentText(1), "2成");
    EXPECT_EQ(DownPaymentText(kDownPaymentItemCount), "9成");
}

// A term in years so long that it would overflow 32 bits in months.
TEST(ReadersTest, TermInYearsSaturatesInsteadOfWrapping) {
    EXPECT_EQ(TermMonthsOf("999999999", kTermInYears), INT_MAX);
    EXPECT_EQ(TermMonthsOf("-999999999", kTermInYears), INT_MIN);
    EXPECT_EQ(TermMonthsOf("99999999999999", kTermInMonths), INT_MAX);
}

bool ShowsNoInfinityOrNaN(const Text& t) {
    return t.find("inf") == Text::npos && t.find("nan") == Text::npos &&
           t.find("INF") == Text::npos && t.find("NAN") == Text::npos;
}

TEST(RepaymentTest, EnormousTermGivesTheLimitNotNaN) {
    // (1 + r)^n overflows to infinity; the payment tends to P × r.
    const InstallmentResult a = EqualInstallment(1000000, 0.005, INT_MAX);
    EXPECT_EQ(a.monthlyText, "5,000.00 元");
    EXPECT_TRUE(ShowsNoInfinityOrNaN(a.interestText)) << a.interestText;
    EXPECT_TRUE(std::isfinite(a.total));
}

TEST(RepaymentTest, FiguresBeyondDoublesShowTheOutOfRangeText) {
    const double huge = LoanAmountOf("1e308", 5);  // × 1e8 overflows
    const LoanResultTexts t = SingleLoanResults(huge, 0.005, 240);
    EXPECT_TRUE(ShowsNoInfinityOrNaN(t.installment)) << t.installment;
    EXPECT_TRUE(ShowsNoInfinityOrNaN(t.principal)) << t.principal;
    EXPECT_NE(t.installment.find(kOutOfRangeText), Text::npos);

    // r = -2 with an even term makes q - 1 zero.
    const InstallmentResult a = EqualInstallment(1000, -2, 2);
    EXPECT_EQ(a.monthlyText, kOutOfRangeText);
    EXPECT_TRUE(ShowsNoInfinityOrNaN(a.interestText));

    // A large but finite figure is shown in full.
    EXPECT_EQ(MoneyText(1e15), "1,000,000,000,000,000.00 元");
}

}  // namespace
}  // namespace qh
