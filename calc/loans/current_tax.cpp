#include "calc/loans/current_tax.h"

#include <algorithm>

#include "calc/loans/repayment.h"
#include "runtime/convert.h"

namespace qh {
namespace {

constexpr double kPercent = 100;

double Fen(double yuan) { return RoundHalfUp(yuan, 2); }

// The years a holding period counts as: under two years counts as none.
int YearsHeld(SellerHolding holding) {
    switch (holding) {
        case SellerHolding::TwoYears: return 2;
        case SellerHolding::FiveYears: return 5;
        case SellerHolding::UnderTwoYears: break;
    }
    return 0;
}

double DeedRate(const CurrentTaxRules& rules, BuyerHomes buyer, double area) {
    const bool small = area <= static_cast<double>(rules.deedAreaThreshold);
    switch (buyer) {
        case BuyerHomes::First: return small ? rules.deedFirstSmall : rules.deedFirstLarge;
        case BuyerHomes::Second: return small ? rules.deedSecondSmall : rules.deedSecondLarge;
        case BuyerHomes::ThirdOrLater: break;
    }
    return rules.deedThirdAndLater;
}

double CityConstructionRate(const CurrentTaxRules& rules, HomeLocation location) {
    switch (location) {
        case HomeLocation::CountyOrTown: return rules.cityConstructionCounty;
        case HomeLocation::Other: return rules.cityConstructionOther;
        case HomeLocation::City: break;
    }
    return rules.cityConstructionCity;
}

}  // namespace

CurrentTaxResult CurrentTaxResults(const CurrentTaxRules& rules, const CurrentTaxInputs& in) {
    CurrentTaxResult r;
    const double price = LoanAmountOf(in.price.text, in.price.unitItem);
    const int held = YearsHeld(in.holding);

    r.deed = Fen(price * DeedRate(rules, in.buyer, ToNumber(in.area)) / kPercent);
    if (held < rules.vatExemptAfterYears) {
        const double rate = rules.vatRate / kPercent;
        r.vat = Fen(price / (1 + rate) * rate);
    }
    const double surchargeRate =
        CityConstructionRate(rules, in.location) + rules.educationSurcharge + rules.localEducationSurcharge;
    r.surcharges = Fen(r.vat * surchargeRate / kPercent);
    const bool exempt = held >= rules.incomeExemptAfterYears && in.onlyHome;
    if (!exempt) {
        if (!in.originalPrice.text.empty()) {
            const double original = LoanAmountOf(in.originalPrice.text, in.originalPrice.unitItem);
            const double gain = price - original - r.vat - r.surcharges;
            r.incomeTax = Fen(std::max(0.0, gain) * rules.incomeGainRate / kPercent);
        } else {
            r.incomeTax = Fen(price * rules.incomeDeemedRate / kPercent);
        }
    }
    r.buyerTotal = r.deed + r.stampDuty;
    r.sellerTotal = r.vat + r.surcharges + r.incomeTax;
    r.total = r.buyerTotal + r.sellerTotal;
    r.valueText = JoinResultLines({MoneyText(r.deed), MoneyText(r.vat), MoneyText(r.surcharges), MoneyText(r.incomeTax),
                                   MoneyText(r.stampDuty), MoneyText(r.buyerTotal), MoneyText(r.sellerTotal),
                                   MoneyText(r.total)});
    return r;
}

std::array<CurrentTaxRule, kCurrentTaxCount> CurrentTaxRuleLines(const CurrentTaxRules& rules) {
    auto pct = [](float rate) { return ToText(rate) + "%"; };
    const Text vatYears = ToText(std::int32_t{rules.vatExemptAfterYears});
    const Text incomeYears = ToText(std::int32_t{rules.incomeExemptAfterYears});
    return {{
        {"契税", "首套" + pct(rules.deedFirstSmall) + "/" + pct(rules.deedFirstLarge) + ",二套" +
                     pct(rules.deedSecondSmall) + "/" + pct(rules.deedSecondLarge) + "(以" +
                     ToText(rules.deedAreaThreshold) + "㎡为界),三套及以上" + pct(rules.deedThirdAndLater)},
        {"增值税", "持有未满" + vatYears + "年按总价÷(1+" + pct(rules.vatRate) + ")×" + pct(rules.vatRate) +
                       "征收,满" + vatYears + "年免征"},
        {"附加税费", "增值税的" + pct(rules.cityConstructionCity) + "(县城、镇" + pct(rules.cityConstructionCounty) +
                         ",其他" + pct(rules.cityConstructionOther) + "),教育附加" + pct(rules.educationSurcharge) + "+" +
                         pct(rules.localEducationSurcharge)},
        {"个人所得税", "满" + incomeYears + "年唯一住房免征;否则差额×" + pct(rules.incomeGainRate) + ",无原价总价×" +
                           pct(rules.incomeDeemedRate)},
        {"印花税", "个人买卖住房暂免征收"},
    }};
}

}  // namespace qh
