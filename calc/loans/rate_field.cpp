#include "calc/loans/rate_field.h"

#include "runtime/convert.h"
#include "runtime/fatal.h"

namespace qh {

RateOptionSet OptionSetOf(RateFieldId field, bool housingCommercial) {
    switch (field) {
        case RateFieldId::Housing:
            return housingCommercial ? RateOptionSet::Commercial : RateOptionSet::Provident;
        case RateFieldId::Car: return RateOptionSet::Commercial;
        case RateFieldId::CombinedProvident: return RateOptionSet::Provident;
        case RateFieldId::CombinedCommercial: return RateOptionSet::CommercialTerm;
    }
    return RateOptionSet::Commercial;
}

void ApplyRateOption(RateFieldView& field, RateOptionSet set, int item) {
    const RateOptionTable& table = TableOf(set);
    float v = table.values[CheckedIndex(item, table.texts.size())];
    if (field.KindItem() == kMonthlyRateKind) {
        v = static_cast<float>(static_cast<double>(v) / 12);
    }
    field.SetRateText(ToText(RoundHalfUp(static_cast<double>(v), 2)));
}

void SwitchRateKind(RateFieldView& field, RateOptionSet set, int kindItem) {
    const Text text = field.RateText();
    if (text.empty()) return;
    const auto g = static_cast<float>(ToNumber(text));
    const RateOptionTable& table = TableOf(set);
    const size_t half = table.values.size() / 2;
    for (size_t i = 0; i < table.values.size(); ++i) {
        if (table.values[i] != g) continue;
        double value;
        if (kindItem == kMonthlyRateKind) {
            value = static_cast<double>(g) / 12;
        } else {
            // The annual value of the same option.
            value = static_cast<double>(i < half ? table.values[i] : table.values[i - half]);
        }
        field.SetRateText(ToText(RoundHalfUp(value, 2)));
    }
}

double MonthlyRateOf(const Text& rateText, int kindItem) {
    return ToNumber(rateText) / (kindItem == kMonthlyRateKind ? 100 : 1200);
}

double MonthlyRateOf(const RateFieldView& field) {
    return MonthlyRateOf(field.RateText(), field.KindItem());
}

}  // namespace qh
