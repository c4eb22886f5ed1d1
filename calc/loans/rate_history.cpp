#include "calc/loans/rate_history.h"

namespace qh {
namespace {

// The 5-year-plus and 1-year LPR as fixed, and the provident-fund rates,
// as published (the shipped rules document carries the same).
struct BuiltInFixing {
    RulesDate date;
    float oneYear, fiveYearPlus;
};
constexpr BuiltInFixing kBuiltInLpr[] = {
    {{2019, 8, 20}, 4.25f, 4.85f}, {{2019, 9, 20}, 4.20f, 4.85f}, {{2019, 11, 20}, 4.15f, 4.80f},
    {{2020, 2, 20}, 4.05f, 4.75f}, {{2020, 4, 20}, 3.85f, 4.65f}, {{2021, 12, 20}, 3.80f, 4.65f},
    {{2022, 1, 20}, 3.70f, 4.60f}, {{2022, 5, 20}, 3.70f, 4.45f}, {{2022, 8, 22}, 3.65f, 4.30f},
    {{2023, 6, 20}, 3.55f, 4.20f}, {{2023, 8, 21}, 3.45f, 4.20f}, {{2024, 2, 20}, 3.45f, 3.95f},
    {{2024, 7, 22}, 3.35f, 3.85f}, {{2024, 10, 21}, 3.10f, 3.60f}, {{2025, 5, 20}, 3.00f, 3.50f},
};
struct BuiltInProvident {
    std::optional<RulesDate> from;
    float firstShort, firstLong, secondShort, secondLong;
};
const BuiltInProvident kBuiltInProvident[] = {
    {std::nullopt, 2.75f, 3.25f, 3.025f, 3.575f},
    {RulesDate{2022, 10, 1}, 2.60f, 3.10f, 3.025f, 3.575f},
    {RulesDate{2024, 5, 18}, 2.35f, 2.85f, 2.775f, 3.325f},
    {RulesDate{2025, 5, 8}, 2.10f, 2.60f, 2.525f, 3.075f},
};

}  // namespace

RateHistory RateHistory::BuiltIn() {
    std::vector<LprFixing> lpr;
    for (const BuiltInFixing& f : kBuiltInLpr) lpr.push_back({f.date, f.oneYear, f.fiveYearPlus});
    std::vector<ProvidentRates> provident;
    for (const BuiltInProvident& p : kBuiltInProvident) {
        provident.push_back({p.from, p.firstShort, p.firstLong, p.secondShort, p.secondLong});
    }
    return RateHistory(std::move(lpr), std::move(provident));
}

std::optional<LprFixing> RateHistory::FirstLpr() const {
    if (lpr_.empty()) return std::nullopt;
    return lpr_.front();
}

std::optional<LprFixing> RateHistory::LprOn(const RulesDate& day) const {
    std::optional<LprFixing> inForce;
    for (const LprFixing& fixing : lpr_) {
        if (day < fixing.date) break;
        inForce = fixing;
    }
    return inForce;
}

std::optional<float> RateHistory::ProvidentRateOn(const RulesDate& day, ProvidentLoanKind kind) const {
    const ProvidentRates* inForce = nullptr;
    for (const ProvidentRates& rates : provident_) {
        if (rates.from && day < *rates.from) break;
        inForce = &rates;
    }
    if (inForce == nullptr) return std::nullopt;
    if (kind.secondHome) return kind.overFiveYears ? inForce->secondHomeLong : inForce->secondHomeShort;
    return kind.overFiveYears ? inForce->firstHomeLong : inForce->firstHomeShort;
}

}  // namespace qh
