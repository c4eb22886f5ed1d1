#include "calc/loans/loan_pages.h"

#include "calc/loans/rate_field.h"
#include "runtime/convert.h"

namespace qh {
namespace {

// The price less a down payment of the given list item, in whole yuan. The
// fraction is a 32-bit float widened for the product, so 3成 takes off
// 0.30000001192… of the price.
double FinancedAmount(double price, int downPaymentItem) {
    const float fraction = DownPaymentFractionOf(downPaymentItem);
    return RoundHalfUp(price - price * static_cast<double>(fraction), 0);
}

}  // namespace

LoanResultTexts HousingLoanResults(const HousingLoanInputs& in) {
    double principal = LoanAmountOf(in.amount.text, in.amount.unitItem);
    if (in.byArea) {
        principal = principal * ToNumber(in.area);
        principal = FinancedAmount(principal, in.downPaymentItem);
    }
    const double rate = MonthlyRateOf(in.rate.text, in.rate.kindItem);
    const std::int32_t months = TermMonthsOf(in.term.text, in.term.unitItem);
    return SingleLoanResults(principal, rate, months);
}

LoanResultTexts CombinedLoanResults(const CombinedLoanInputs& in) {
    const double fund = LoanAmountOf(in.fundAmount.text, in.fundAmount.unitItem);
    const double comm = LoanAmountOf(in.commAmount.text, in.commAmount.unitItem);
    const double fundRate = MonthlyRateOf(in.fundRate.text, in.fundRate.kindItem);
    const double commRate = MonthlyRateOf(in.commRate.text, in.commRate.kindItem);
    const std::int32_t months = TermMonthsOf(in.term.text, in.term.unitItem);

    const InstallmentResult fa = EqualInstallment(fund, fundRate, months);
    const InstallmentResult ca = EqualInstallment(comm, commRate, months);
    const PrincipalResult fb = EqualPrincipal(fund, fundRate, months);
    const PrincipalResult cb = EqualPrincipal(comm, commRate, months);

    // The sums are formatted as they are, without rounding to the cent first.
    LoanResultTexts texts;
    texts.loanTotal = fund + comm;
    const Text total = MoneyText(fund + comm);
    texts.installment = JoinResultLines({total, MoneyText(fa.monthly + ca.monthly),
                                         MoneyText(fa.interest + ca.interest),
                                         MoneyText(fa.total + ca.total)});
    texts.principal = JoinResultLines(
        {total, MoneyText(fb.firstMonth + cb.firstMonth), MoneyText(fb.decrease + cb.decrease),
         MoneyText(fb.interest + cb.interest), MoneyText(fb.total + cb.total)});
    return texts;
}

LoanResultTexts CarLoanResults(const CarLoanInputs& in) {
    const double price = LoanAmountOf(in.price.text, in.price.unitItem);
    const double principal = FinancedAmount(price, in.downPaymentItem);
    const double rate = MonthlyRateOf(in.rate.text, in.rate.kindItem);
    const std::int32_t months = TermMonthsOf(in.term.text, in.term.unitItem);
    return SingleLoanResults(principal, rate, months);
}

}  // namespace qh
