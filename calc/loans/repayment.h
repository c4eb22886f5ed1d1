// The two repayment methods, the readers of a page's amount, term and
// down-payment controls, and the result texts of a single loan.
//
// Equal installment (每月等额还款): the same payment every month. Equal
// principal (逐月递减还款): the same principal every month plus the interest
// on what is still owed. Only summary figures are produced.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/text.h"

namespace qh {

inline constexpr const char* kAmountUnitTexts[] = {"元", "百", "千", "万", "亿"};
inline constexpr double kAmountUnitMultipliers[] = {1, 100, 1000, 10000, 100000000};
inline constexpr int kAmountUnitWan = 4;  // the unit lists start on 万

inline constexpr const char* kTermUnitTexts[] = {"月", "年"};
inline constexpr int kTermInMonths = 1;
inline constexpr int kTermInYears = 2;

// 2成 .. 9成: item k is a down payment of (k + 1) tenths of the price.
inline constexpr int kDownPaymentItemCount = 8;
inline constexpr int kDownPayment30 = 2;  // 3成, the start state
Text DownPaymentText(int item);

// The text shown in place of a figure too large to compute.
inline constexpr const char* kOutOfRangeText = "超出计算范围";

// The box's number times the multiplier of the selected unit; an item
// outside 1..5 (none selected) gives 0.
double LoanAmountOf(const Text& amountText, int unitItem);
// The box's whole number, in months: × 12 under 年, saturating at the limits
// of a 32-bit integer. 20.5 reads as 20.
std::int32_t TermMonthsOf(const Text& termText, int unitItem);
// (item + 1) ÷ 10 as a 32-bit float: item 2 (3成) gives 0.3f.
float DownPaymentFractionOf(int item);

struct InstallmentResult {
    double monthly = 0;
    double interest = 0;
    double total = 0;
    Text monthlyText, interestText, totalText;
};

struct PrincipalResult {
    double firstMonth = 0;
    double decrease = 0;
    double interest = 0;
    double total = 0;
    Text firstMonthText, decreaseText, interestText, totalText;
};

// Both methods leave the doubles at 0 and every text "0.00 元" when
// |P| ≤ 1e-7, |r| ≤ 1e-7 or n = 0.
InstallmentResult EqualInstallment(double principal, double monthlyRate, std::int32_t months);
PrincipalResult EqualPrincipal(double principal, double monthlyRate, std::int32_t months);

// A figure as the results window shows it: two places with digit grouping,
// then " 元". RoundedMoneyText rounds half up to the cent first.
Text MoneyText(double x);
Text RoundedMoneyText(double x);

// The value texts of the results window: one line per row label, the lines
// separated by a blank line ("\r\n\r\n").
struct LoanResultTexts {
    double loanTotal = 0;
    Text installment;  // 贷款总额, 每月还款, 总支付利息, 本息合计
    Text principal;    // 贷款总额, 首月还款, 每月递减, 总支付利息, 本息合计
};

// Both methods for one loan, with the loan total formatted as it is.
LoanResultTexts SingleLoanResults(double principal, double monthlyRate, std::int32_t months);

// Joins value lines with the blank line that separates the rows.
Text JoinResultLines(std::initializer_list<Text> lines);

}  // namespace qh
