#include "calc/shell/current_tax_page.h"

#include "calc/shell/page_forms.h"

namespace qh {

void CurrentTaxPage::Bind(MainControls& c, const CurrentTaxRules& rules) {
    rules_ = rules;
    std::vector<RuleLine> lines;
    for (const CurrentTaxRule& line : CurrentTaxRuleLines(rules_)) lines.push_back({line.name, line.rule});
    FillRuleTable(c.nowTaxTable, lines);

    c.nowPriceEdit.OnChange([this](const Text& text) { inputs_.price.text = text; });
    c.nowPriceUnit.OnSelect([this](int item) { inputs_.price.unitItem = item; });
    c.nowAreaEdit.OnChange([this](const Text& text) { inputs_.area = text; });
    c.nowOriginalEdit.OnChange([this](const Text& text) { inputs_.originalPrice.text = text; });
    c.nowOriginalUnit.OnSelect([this](int item) { inputs_.originalPrice.unitItem = item; });
    c.nowLocation.OnSelect([this](int item) { inputs_.location = static_cast<HomeLocation>(item); });

    const std::pair<UiRadioButton*, BuyerHomes> buyers[] = {
        {&c.nowBuyerFirst, BuyerHomes::First},
        {&c.nowBuyerSecond, BuyerHomes::Second},
        {&c.nowBuyerThird, BuyerHomes::ThirdOrLater},
    };
    for (const auto& [radio, buyer] : buyers) radio->OnClick([this, b = buyer] { inputs_.buyer = b; });
    const std::pair<UiRadioButton*, SellerHolding> holdings[] = {
        {&c.nowHeldUnder2, SellerHolding::UnderTwoYears},
        {&c.nowHeld2, SellerHolding::TwoYears},
        {&c.nowHeld5, SellerHolding::FiveYears},
    };
    for (const auto& [radio, held] : holdings) radio->OnClick([this, h = held] { inputs_.holding = h; });
    c.nowOnlyHome.OnClick([this] { inputs_.onlyHome = true; });
    c.nowNotOnlyHome.OnClick([this] { inputs_.onlyHome = false; });
}

PageResults CurrentTaxPage::Results() const {
    PageResults results;
    results.kind = ResultsKind::CurrentTax;
    results.tax = CurrentTaxResults(rules_, inputs_).valueText;
    return results;
}

}  // namespace qh
