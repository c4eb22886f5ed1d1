// The taxes on the sale of a second-hand home under current law (the page
// 税费(现行)), with the rates of the rules document: 契税 on the price by the
// buyer's home count and the area; 增值税 when the seller held the home for
// less than the exemption's years; the surcharges on that VAT by location;
// 个人所得税 unless the home was held long enough and is the family's only
// one; 印花税, which individuals' housing sales no longer pay.
//
// Each figure is rounded half up to the fen, as it is paid; a tax computed
// from other taxes (the surcharges, the income tax's deduction) takes them
// as paid, and the totals add the rounded figures.
#pragma once

#include <array>

#include "calc/loans/loan_pages.h"
#include "calc/loans/rules_document.h"

namespace qh {

// 买方: the buyer family's home count with this purchase.
enum class BuyerHomes { First = 1, Second, ThirdOrLater };
inline constexpr const char* kBuyerHomesTexts[] = {"首套", "二套", "三套及以上"};
// 卖方持有: how long the seller held the home.
enum class SellerHolding { UnderTwoYears = 1, TwoYears, FiveYears };
inline constexpr const char* kSellerHoldingTexts[] = {"未满2年", "满2年", "满5年"};
// 卖方家庭唯一住房: 是 / 否.
inline constexpr const char* kOnlyHomeTexts[] = {"是", "否"};
// 房屋所在地: where the home lies, for the city construction surcharge.
enum class HomeLocation { City = 1, CountyOrTown, Other };
inline constexpr const char* kHomeLocationTexts[] = {"市区", "县城、镇", "其他"};

struct CurrentTaxInputs {
    AmountInput price;          // 房屋总价 and its unit
    Text area;                  // 面积, ㎡
    BuyerHomes buyer = BuyerHomes::First;
    SellerHolding holding = SellerHolding::FiveYears;
    bool onlyHome = true;       // 卖方家庭唯一住房
    AmountInput originalPrice;  // 原购价 and its unit; an empty text: not known
    HomeLocation location = HomeLocation::City;
};

struct CurrentTaxResult {
    double deed = 0;         // 契税 (buyer)
    double vat = 0;          // 增值税 (seller)
    double surcharges = 0;   // 附加税费 (seller)
    double incomeTax = 0;    // 个人所得税 (seller)
    double stampDuty = 0;    // 印花税
    double buyerTotal = 0;   // 买方合计
    double sellerTotal = 0;  // 卖方合计
    double total = 0;        // 税费总计
    // The eight lines beside kCurrentTaxRowLabels (result_labels.h), each
    // "x 元", separated by a blank line.
    Text valueText;
};

CurrentTaxResult CurrentTaxResults(const CurrentTaxRules& rules, const CurrentTaxInputs& in);

// One tax of the page with the rule the page states for it in one line,
// worded from the rates in force.
struct CurrentTaxRule {
    const char* name;
    Text rule;
};
inline constexpr int kCurrentTaxCount = 5;  // 契税, 增值税, 附加税费, 个人所得税, 印花税
std::array<CurrentTaxRule, kCurrentTaxCount> CurrentTaxRuleLines(const CurrentTaxRules& rules);

}  // namespace qh
