#include "calc/loans/repayment.h"

#include <cmath>
#include <limits>

#include "runtime/convert.h"

namespace qh {
namespace {

constexpr double kZeroTolerance = 0.0000001;

bool IsZeroCase(double principal, double monthlyRate, std::int32_t months) {
    return std::fabs(principal) <= kZeroTolerance || std::fabs(monthlyRate) <= kZeroTolerance ||
           months == 0;
}

const Text kZeroMoney = "0.00 元";

}  // namespace

Text DownPaymentText(int item) { return ToText(static_cast<std::int32_t>(item + 1)) + "成"; }

double LoanAmountOf(const Text& amountText, int unitItem) {
    const double multiplier =
        (unitItem >= 1 && unitItem <= 5) ? kAmountUnitMultipliers[unitItem - 1] : 0.0;
    return ToNumber(amountText) * multiplier;
}

std::int32_t TermMonthsOf(const Text& termText, int unitItem) {
    const std::int32_t count = ToInteger(termText);
    if (unitItem == kTermInMonths) return count;
    return ToInteger(static_cast<double>(count) * 12);  // saturates
}

float DownPaymentFractionOf(int item) {
    return static_cast<float>(static_cast<double>(item + 1) / 10);
}

Text MoneyText(double x) {
    if (!std::isfinite(x)) return kOutOfRangeText;
    return FormatNumber(x, 2, true) + " 元";
}

Text RoundedMoneyText(double x) { return MoneyText(RoundHalfUp(x, 2)); }

InstallmentResult EqualInstallment(double principal, double monthlyRate, std::int32_t months) {
    InstallmentResult result;
    if (IsZeroCase(principal, monthlyRate, months)) {
        result.monthlyText = result.interestText = result.totalText = kZeroMoney;
        return result;
    }
    const double q = std::pow(1 + monthlyRate, static_cast<double>(months));
    double monthly = principal * monthlyRate * q / (q - 1);
    if (!std::isfinite(monthly) && std::isfinite(principal) && q != 1) {
        // An enormous term makes q overflow; the payment then tends to the
        // interest on the principal, P × r, which is its exact limit.
        monthly = std::isinf(q) ? principal * monthlyRate : principal * monthlyRate * (q / (q - 1));
    }
    result.monthly = monthly;
    result.interest = months * monthly - principal;
    result.total = result.interest + principal;
    result.monthlyText = RoundedMoneyText(result.monthly);
    result.interestText = RoundedMoneyText(result.interest);
    result.totalText = RoundedMoneyText(result.total);
    return result;
}

PrincipalResult EqualPrincipal(double principal, double monthlyRate, std::int32_t months) {
    PrincipalResult result;
    if (IsZeroCase(principal, monthlyRate, months)) {
        result.firstMonthText = result.decreaseText = result.interestText = result.totalText =
            kZeroMoney;
        return result;
    }
    const double perMonth = principal / months;
    const double first = perMonth + principal * monthlyRate;
    const double last = perMonth * (monthlyRate + 1);
    result.firstMonth = first;
    result.interest = ((first + last) / 2) * months - principal;
    result.decrease = perMonth * monthlyRate;
    result.total = result.interest + principal;
    result.firstMonthText = RoundedMoneyText(result.firstMonth);
    result.decreaseText = RoundedMoneyText(result.decrease);
    result.interestText = RoundedMoneyText(result.interest);
    result.totalText = RoundedMoneyText(result.total);
    return result;
}

Text JoinResultLines(std::initializer_list<Text> lines) {
    Text out;
    bool first = true;
    for (const auto& line : lines) {
        if (!first) out += "\r\n\r\n";
        out += line;
        first = false;
    }
    return out;
}

LoanResultTexts SingleLoanResults(double principal, double monthlyRate, std::int32_t months) {
    const InstallmentResult a = EqualInstallment(principal, monthlyRate, months);
    const PrincipalResult b = EqualPrincipal(principal, monthlyRate, months);
    const Text total = MoneyText(principal);
    LoanResultTexts texts;
    texts.loanTotal = principal;
    texts.installment = JoinResultLines({total, a.monthlyText, a.interestText, a.totalText});
    texts.principal = JoinResultLines(
        {total, b.firstMonthText, b.decreaseText, b.interestText, b.totalText});
    return texts;
}

}  // namespace qh
