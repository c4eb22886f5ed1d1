#include "calc/loans/rate_tables.h"

#include <iterator>

namespace qh {
namespace {

template <std::size_t TextCount, std::size_t ValueCount>
RateOptionTable BuiltIn(const char* const (&texts)[TextCount], const float (&values)[ValueCount]) {
    static_assert(ValueCount == 2 * TextCount, "annual and monthly values for each option");
    return {std::vector<Text>(std::begin(texts), std::end(texts)), std::vector<float>(std::begin(values), std::end(values))};
}

struct TablesInForce {
    RateOptionTable commercial = BuiltIn(kRateOptionTexts, kCommercialOptionTable);
    RateOptionTable provident = BuiltIn(kProvidentTermTexts, kProvidentTable);
    RateOptionTable commercialTerm = BuiltIn(kCommercialTermTexts, kCommercialTermTable);
};

TablesInForce& InForce() {
    static TablesInForce tables;
    return tables;
}

RateOptionTable FromDocument(const RateOptionList& list) { return {list.texts, list.table}; }

}  // namespace

const RateOptionTable& TableOf(RateOptionSet set) {
    const TablesInForce& tables = InForce();
    switch (set) {
        case RateOptionSet::Provident: return tables.provident;
        case RateOptionSet::CommercialTerm: return tables.commercialTerm;
        case RateOptionSet::Commercial: break;
    }
    return tables.commercial;
}

void UseRulesDocument(const RulesDocument* rules) {
    TablesInForce& tables = InForce();
    if (rules == nullptr) {
        tables = TablesInForce{};
        return;
    }
    tables.commercial = FromDocument(rules->commercialOptions);
    tables.provident = FromDocument(rules->providentOptions);
    tables.commercialTerm = FromDocument(rules->commercialTerms);
}

}  // namespace qh
