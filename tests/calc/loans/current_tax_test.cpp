// The current-law tax page's arithmetic on worked examples, with the shipped
// rules (2026-01-01: deed tax 1 / 1.5 / 1 / 2 / 3 % around 140 ㎡; VAT 3 %
// under 2 years, on the price ÷ 1.03; surcharges 7 / 5 / 1 % + 3 % + 2 % of
// the VAT; income tax 20 % of the gain, or 1 % of the price when the
// original price is not known, none when held 5 years and the only home).
#include "calc/loans/current_tax.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/calc/loans/shipped_rules.h"

namespace qh {
namespace {

TEST(CurrentTaxTest, WorkedExamples) {
    struct Example {
        const char* what;
        CurrentTaxInputs in;
        // 契税, 增值税, 附加税费, 个人所得税, 印花税, 买方合计, 卖方合计, 税费总计
        const char* figures;
    };
    const Example examples[] = {
        // 3,000,000 × 1 % = 30,000.00; held 5 years and the only home: no
        // VAT, no surcharges, no income tax.
        {"满五唯一", {{"300", kAmountUnitWan}, "120", BuyerHomes::First, SellerHolding::FiveYears, true, AmountInput{},
                      HomeLocation::City},
         "30,000.00|0.00|0.00|0.00|0.00|30,000.00|0.00|30,000.00"},
        // Deed 3,000,000 × 2 % = 60,000.00 (second home over 140 ㎡).
        // VAT 3,000,000 ÷ 1.03 × 3 % = 87,378.6408 → 87,378.64.
        // Surcharges 87,378.64 × (7 + 3 + 2) % = 10,485.4368 → 10,485.44.
        // Income tax, no original price: 3,000,000 × 1 % = 30,000.00.
        // Seller 87,378.64 + 10,485.44 + 30,000.00 = 127,864.08.
        {"二套, 未满2年", {{"300", kAmountUnitWan}, "150", BuyerHomes::Second, SellerHolding::UnderTwoYears, false, AmountInput{},
                         HomeLocation::City},
         "60,000.00|87,378.64|10,485.44|30,000.00|0.00|60,000.00|127,864.08|187,864.08"},
        // The same bought for 2,000,000: the gain is 3,000,000 − 2,000,000 −
        // 87,378.64 − 10,485.44 = 902,135.92; 20 % of it = 180,427.184 →
        // 180,427.18. Seller 87,378.64 + 10,485.44 + 180,427.18 = 278,291.26.
        {"二套, 未满2年, 原购价 200 万", {{"300", kAmountUnitWan}, "150", BuyerHomes::Second,
                                      SellerHolding::UnderTwoYears, false, AmountInput{"200"}, HomeLocation::City},
         "60,000.00|87,378.64|10,485.44|180,427.18|0.00|60,000.00|278,291.26|338,291.26"},
        // Held 2 years in a county town: no VAT, so no surcharges; not 5
        // years, so the deemed 1 % income tax. First home of 120 ㎡: 1 %.
        {"满2年, 县城、镇", {{"300", kAmountUnitWan}, "120", BuyerHomes::First, SellerHolding::TwoYears, true, AmountInput{},
                          HomeLocation::CountyOrTown},
         "30,000.00|0.00|0.00|30,000.00|0.00|30,000.00|30,000.00|60,000.00"},
        // Under 2 years in a county town: surcharges (5 + 3 + 2) % of the
        // VAT = 87,378.64 × 10 % = 8,737.864 → 8,737.86. A third home pays
        // 3 % = 90,000.00. A loss (bought for 400 万) gives no income tax.
        {"三套, 县城、镇, 亏损", {{"300", kAmountUnitWan}, "90", BuyerHomes::ThirdOrLater,
                               SellerHolding::UnderTwoYears, true, AmountInput{"400"}, HomeLocation::CountyOrTown},
         "90,000.00|87,378.64|8,737.86|0.00|0.00|90,000.00|96,116.50|186,116.50"},
    };
    const CurrentTaxRules rules = ShippedRules().taxes;
    for (const Example& e : examples) {
        const CurrentTaxResult r = CurrentTaxResults(rules, e.in);
        std::string lines = r.valueText;
        std::string joined;
        for (std::size_t at = 0; at <= lines.size();) {
            const std::size_t end = std::min(lines.find("\r\n\r\n", at), lines.size());
            std::string line = lines.substr(at, end - at);
            if (line.size() > 3) line.resize(line.size() - 3);  // " 元" is 3 bytes in GBK
            joined += (joined.empty() ? "" : "|") + line;
            at = end + 4;
        }
        EXPECT_EQ(joined, e.figures) << e.what;
    }
}

// The page's rule lines are worded from the document: a new edition's rates
// must show there, not the ones of the edition the texts were written for.
TEST(CurrentTaxTest, RuleLinesFollowTheRules) {
    CurrentTaxRules rules = ShippedRules().taxes;
    std::string lines;
    for (const CurrentTaxRule& r : CurrentTaxRuleLines(rules)) lines += std::string(r.name) + ": " + r.rule + "\n";
    EXPECT_EQ(lines,
              "契税: 首套1%/1.5%,二套1%/2%(以140㎡为界),三套及以上3%\n"
              "增值税: 持有未满2年按总价÷(1+3%)×3%征收,满2年免征\n"
              "附加税费: 增值税的7%(县城、镇5%,其他1%),教育附加3%+2%\n"
              "个人所得税: 满5年唯一住房免征;否则差额×20%,无原价总价×1%\n"
              "印花税: 个人买卖住房暂免征收\n");
    rules.vatRate = 5;
    rules.vatExemptAfterYears = 5;
    EXPECT_EQ(CurrentTaxRuleLines(rules)[1].rule, "持有未满5年按总价÷(1+5%)×5%征收,满5年免征");
}

}  // namespace
}  // namespace qh
