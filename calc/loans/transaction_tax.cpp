#include "calc/loans/transaction_tax.h"

#include <cmath>

#include "runtime/convert.h"

namespace qh {
namespace {

constexpr double kTolerance = 0.0000001;
constexpr double kSmallHomeArea = 90;  // ㎡; below it the deed tax is 1 %

struct TaxRates {
    double deedSmall = 0.01;
    double deedOrdinary = 0.015;
    double deedNonOrdinary = 0.03;
    double business = 0.0555;
    double cityConstruction = 0.07;  // of the business tax
    double education = 0.03;         // of the business tax
    double incomeTax = 0.01;
};
constexpr TaxRates kRates;

}  // namespace

TransactionTaxResult TransactionTaxResults(const TransactionTaxInputs& in) {
    TransactionTaxResult r;
    const double price = LoanAmountOf(in.price.text, in.price.unitItem);
    const Text zero = "0.00 元";

    if (in.ordinary) {
        const double area = ToNumber(in.area);
        r.deed = price * (area - kSmallHomeArea < -kTolerance ? kRates.deedSmall : kRates.deedOrdinary);
    } else {
        r.deed = price * kRates.deedNonOrdinary;
    }
    r.total += r.deed;
    const Text deedText = MoneyText(r.deed);

    Text businessText = zero, cityText = zero, educationText = zero, incomeText = zero;
    if (!in.certOver5) {
        r.business = price * kRates.business;
        r.total += r.business;
        businessText = MoneyText(r.business);
    }
    if (std::fabs(r.business) > kTolerance) {
        r.cityConstruction = r.business * kRates.cityConstruction;
        r.education = r.business * kRates.education;
        r.total += r.cityConstruction;
        r.total += r.education;
        cityText = MoneyText(r.cityConstruction);
        educationText = MoneyText(r.education);
    }
    if (!in.certOver5) {
        r.incomeTax = price * kRates.incomeTax;
        r.total += r.incomeTax;
        incomeText = MoneyText(r.incomeTax);
    }
    r.valueText = JoinResultLines(
        {deedText, businessText, cityText, educationText, incomeText, zero, MoneyText(r.total)});
    return r;
}

}  // namespace qh
