// The rates in force on a day, from the rules document's histories: the LPR
// fixings and the provident-fund rates. The repayment plan prices an
// LPR-linked loan and reprices it from these.
#pragma once

#include <optional>
#include <vector>

#include "calc/loans/rules_document.h"

namespace qh {

// Which provident-fund rate: the home's rank and the loan's term.
struct ProvidentLoanKind {
    bool secondHome = false;
    bool overFiveYears = true;
};

class RateHistory {
public:
    RateHistory(std::vector<LprFixing> lpr, std::vector<ProvidentRates> provident)
        : lpr_(std::move(lpr)), provident_(std::move(provident)) {}
    explicit RateHistory(const RulesDocument& rules) : RateHistory(rules.lpr, rules.providentRates) {}
    // The histories the program carries for when no rules document is in
    // force: the LPR fixings from 2019-08-20 to 2025-05-20 and the
    // provident-fund rates to 2025-05-08.
    static RateHistory BuiltIn();

    // The fixing in force on the day (the latest one fixed on or before it);
    // nothing before the first fixing.
    std::optional<LprFixing> LprOn(const RulesDate& day) const;
    std::optional<LprFixing> FirstLpr() const;
    // The provident-fund rate in percent in force on the day; the first
    // entry of the history also covers the days before the next one when it
    // has no date of its own.
    std::optional<float> ProvidentRateOn(const RulesDate& day, ProvidentLoanKind kind) const;

private:
    std::vector<LprFixing> lpr_;
    std::vector<ProvidentRates> provident_;
};

}  // namespace qh
