#include "calc/loans/loan_pages.h"

#include <gtest/gtest.h>

namespace qh {
namespace {

// The first line of a value text: the loan total.
Text FirstLine(const Text& values) { return values.substr(0, values.find("\r\n")); }

TEST(HousingLoanTest, ByAreaFinancesWholeYuanAfterASinglePrecisionDownPayment) {
    // 20,000 a square metre × 100 ㎡ less 3成 in single precision is
    // 1,399,999.976…, financed as 1,400,000.
    HousingLoanInputs in;
    in.byArea = true;
    in.amount = {"2", kAmountUnitWan};
    in.area = "100";
    in.term = {"20", kTermInYears};
    in.rate = {"6.55", kAnnualRateKind};
    const LoanResultTexts t = HousingLoanResults(in);
    EXPECT_EQ(t.loanTotal, 1400000);
    EXPECT_EQ(FirstLine(t.installment), "1,400,000.00 元");
}

TEST(HousingLoanTest, ByAmountKeepsTheAmountAsTyped) {
    HousingLoanInputs in;
    in.amount = {"12.345", kAmountUnitWan};
    in.term = {"20", kTermInYears};
    in.rate = {"6.55", kAnnualRateKind};
    EXPECT_EQ(FirstLine(HousingLoanResults(in).installment), "123,450.00 元");
    // The area box is not read under 按额度.
    in.area = "100";
    EXPECT_EQ(HousingLoanResults(in).loanTotal, 123450);
}

TEST(HousingLoanTest, EmptyAreaUnderByAreaGivesZeroEverywhere) {
    HousingLoanInputs in;
    in.byArea = true;
    in.amount = {"2", kAmountUnitWan};
    in.term = {"20", kTermInYears};
    in.rate = {"6.55", kAnnualRateKind};
    EXPECT_EQ(HousingLoanResults(in).installment,
              "0.00 元\r\n\r\n0.00 元\r\n\r\n0.00 元\r\n\r\n0.00 元");
}

TEST(CombinedLoanTest, TwoPartsOverTwentyYears) {
    CombinedLoanInputs in;
    in.term = {"20", kTermInYears};
    in.fundAmount = {"50", kAmountUnitWan};
    in.fundRate = {"4.5", kAnnualRateKind};
    in.commAmount = {"50", kAmountUnitWan};
    in.commRate = {"6.55", kAnnualRateKind};
    const LoanResultTexts t = CombinedLoanResults(in);
    EXPECT_EQ(t.installment,
              "1,000,000.00 元\r\n\r\n6,905.85 元\r\n\r\n657,402.89 元\r\n\r\n1,657,402.89 元");
    EXPECT_EQ(t.principal,
              "1,000,000.00 元\r\n\r\n8,770.83 元\r\n\r\n19.18 元\r\n\r\n554,802.08 元\r\n\r\n"
              "1,554,802.08 元");
}

TEST(CombinedLoanTest, OnePartAloneAndBothEmpty) {
    CombinedLoanInputs in;
    in.term = {"10", kTermInYears};
    in.fundAmount = {"30", kAmountUnitWan};
    in.fundRate = {"4.5", kAnnualRateKind};
    in.commRate = {"6.55", kAnnualRateKind};
    EXPECT_EQ(CombinedLoanResults(in).installment,
              "300,000.00 元\r\n\r\n3,109.15 元\r\n\r\n73,098.27 元\r\n\r\n373,098.27 元");

    CombinedLoanInputs empty;
    EXPECT_EQ(CombinedLoanResults(empty).principal,
              "0.00 元\r\n\r\n0.00 元\r\n\r\n0.00 元\r\n\r\n0.00 元\r\n\r\n0.00 元");
}

TEST(CarLoanTest, FifteenWanOverThreeYears) {
    CarLoanInputs in;
    in.price = {"15", kAmountUnitWan};
    in.term = {"3", kTermInYears};
    in.rate = {"6.55", kAnnualRateKind};
    const LoanResultTexts t = CarLoanResults(in);
    EXPECT_EQ(t.installment,
              "105,000.00 元\r\n\r\n3,220.54 元\r\n\r\n10,939.28 元\r\n\r\n115,939.28 元");
    EXPECT_EQ(t.principal,
              "105,000.00 元\r\n\r\n3,489.79 元\r\n\r\n15.92 元\r\n\r\n10,602.81 元\r\n\r\n"
              "115,602.81 元");
}

TEST(CarLoanTest, NineTenthsDownFinancesATenthAndAnEmptyPriceIsZero) {
    CarLoanInputs in;
    in.price = {"15", kAmountUnitWan};
    in.term = {"3", kTermInYears};
    in.rate = {"6.55", kAnnualRateKind};
    in.downPaymentItem = 8;  // 9成
    EXPECT_EQ(CarLoanResults(in).loanTotal, 15000);

    CarLoanInputs empty;
    empty.term = {"3", kTermInYears};
    empty.rate = {"6.55", kAnnualRateKind};
    EXPECT_EQ(FirstLine(CarLoanResults(empty).installment), "0.00 元");
}

}  // namespace
}  // namespace qh
