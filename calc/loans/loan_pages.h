// The computations of the housing, combined and car pages, as functions of
// what the pages' controls hold. A page reads its boxes and list selections
// into one of these records and sets the returned texts into the results
// window.
#pragma once

#include "calc/loans/rate_tables.h"
#include "calc/loans/repayment.h"

namespace qh {

// A box with its unit list (AmountUnitTexts or TermUnitTexts).
struct AmountInput {
    Text text;
    int unitItem = kAmountUnitWan;
};
struct TermInput {
    Text text;
    int unitItem = kTermInYears;
};
// A rate box with its kind list.
struct RateInput {
    Text text;
    int kindItem = kAnnualRateKind;
};

struct HousingLoanInputs {
    bool byArea = false;   // 按面积: amount is the price per square metre
    AmountInput amount;    // AmountEdit, AmountUnit
    TermInput term;        // TermEdit, TermUnit
    RateInput rate;        // RateEdit, RateKind
    Text area;             // AreaEdit (按面积 only)
    int downPaymentItem = kDownPayment30;  // DownPayment (按面积 only)
};

struct CombinedLoanInputs {
    TermInput term;            // MixTermEdit, MixTermUnit
    AmountInput fundAmount;    // AmountEdit, AmountUnit (shared with the housing page)
    RateInput fundRate;        // FundRateEdit, FundRateKind
    AmountInput commAmount;    // CommAmountEdit, CommAmountUnit
    RateInput commRate;        // CommRateEdit, CommRateKind
};

struct CarLoanInputs {
    AmountInput price;         // CarPriceEdit, CarPriceUnit
    TermInput term;            // CarTermEdit, CarTermUnit
    RateInput rate;            // CarRateEdit, CarRateKind
    int downPaymentItem = kDownPayment30;  // CarDownPayment
};

// Under 按面积 the financed amount is price × area less the down payment,
// rounded to whole yuan; under 按额度 it is the amount as typed.
LoanResultTexts HousingLoanResults(const HousingLoanInputs& in);
// The two parts summed over their unrounded figures.
LoanResultTexts CombinedLoanResults(const CombinedLoanInputs& in);
// The price less the down payment, rounded to whole yuan.
LoanResultTexts CarLoanResults(const CarLoanInputs& in);

}  // namespace qh
