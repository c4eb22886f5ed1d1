#include "calc/loans/rate_history.h"

namespace qh {

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
