// The benchmark rates, in percent, and the texts of the rate lists: built in,
// or from the rules document (rules_document.h).
//
// Each built-in option set is one table of 32-bit floats: the annual values in item
// order, then the values the rate box shows for the same options under
// 月利率. The commercial values are the base rate 6.55 times 1, 0.7, 0.8,
// 0.9, 1.1, 1.2 and 1.3, already rounded to two decimals.
#pragma once

#include <vector>

#include "calc/loans/rules_document.h"
#include "runtime/text.h"

namespace qh {

// Items of the kind list.
inline constexpr int kMonthlyRateKind = 1;  // 月利率
inline constexpr int kAnnualRateKind = 2;   // 年利率
inline constexpr const char* kRateKindTexts[] = {"月利率", "年利率"};

inline constexpr const char* kRateOptionTexts[] = {
    "最新基准利率",      "最新基准利率7折",   "最新基准利率8折",   "最新基准利率9折",
    "最新基准利率1.1倍", "最新基准利率1.2倍", "最新基准利率1.3倍",
};
inline constexpr const char* kProvidentTermTexts[] = {"5-30年", "5(含)年以下"};
inline constexpr const char* kCommercialTermTexts[] = {"5-30年", "3-5(含)年", "1-3(含)年", "1年",
                                                       "6个月"};

inline constexpr float kCommercialOptionTable[] = {
    6.55f, 4.59f, 5.24f, 5.9f, 7.21f, 7.86f, 8.52f,  // annual
    0.55f, 0.38f, 0.44f, 0.49f, 0.6f, 0.66f, 0.71f,  // monthly as shown
};
inline constexpr float kProvidentTable[] = {
    4.5f, 4.0f,    // annual
    0.38f, 0.33f,  // monthly as shown
};
inline constexpr float kCommercialTermTable[] = {
    6.55f, 6.4f, 6.15f, 6.0f, 5.6f,   // annual
    0.55f, 0.53f, 0.51f, 0.5f, 0.47f, // monthly as shown
};

// The three option sets that the rate fields offer.
enum class RateOptionSet {
    Commercial,      // the seven commercial options
    Provident,       // the two provident-fund term brackets
    CommercialTerm,  // the five commercial term brackets
};

// The texts and table of an option set.
struct RateOptionTable {
    std::vector<Text> texts;   // option list texts, item order
    std::vector<float> values;  // annual values, then monthly as shown

    int itemCount() const { return static_cast<int>(texts.size()); }
};

// The table in force for a set: the rules document's when the program took
// one (UseRulesDocument), else the built-in one above.
const RateOptionTable& TableOf(RateOptionSet set);

// Puts a rules document's option lists in force, or with null the built-in
// tables again. The program does this once at start, before any page is
// filled.
void UseRulesDocument(const RulesDocument* rules);

}  // namespace qh
