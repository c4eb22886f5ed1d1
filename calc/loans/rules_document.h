// The rules document (rules.xml in the program folder): the rates and taxes
// the maker publishes, so that a new edition reaches users through the
// updater like any other file of a release. It holds an edition date, the
// LPR and provident-fund rate histories, the option lists of the rate
// fields and the tax parameters of the current-law tax page.
//
// A document that fails to read or to validate is refused whole: the
// calculator then uses its built-in tables, exactly as without one.
#pragma once

#include <optional>
#include <vector>

#include "runtime/text.h"

namespace qh {

// The document's name in the program folder.
inline constexpr char kRulesFileName[] = "rules.xml";

struct RulesDate {
    int year = 0;
    int month = 0;
    int day = 0;

    auto operator<=>(const RulesDate&) const = default;
};

// "YYYY-MM-DD" of a real calendar day, or nothing.
std::optional<RulesDate> ParseRulesDate(const Text& text);
Text RulesDateText(const RulesDate& date);

// One LPR fixing, in percent, in force from its date.
struct LprFixing {
    RulesDate date;
    float oneYear = 0;
    float fiveYearPlus = 0;
};

// Provident-fund loan rates in percent, in force from their date; the first
// entry of a history may have none (in force before the next one).
struct ProvidentRates {
    std::optional<RulesDate> from;
    float firstHomeShort = 0;   // first home, term up to 5 years
    float firstHomeLong = 0;    // first home, term over 5 years
    float secondHomeShort = 0;  // second home, up to 5 years
    float secondHomeLong = 0;   // second home, over 5 years
};

// The option list of a rate field: its texts in item order and its table,
// built the way the built-in ones are: the annual values, then the values
// the rate box shows for the same options under 月利率 (annual ÷ 12 rounded
// to two places), all 32-bit floats. No value appears twice in a table, so
// that switching the kind finds one option for the box's value.
struct RateOptionList {
    std::vector<Text> texts;
    std::vector<float> table;
};

// Parameters of the second-hand tax page under current law, rates in
// percent.
struct CurrentTaxRules {
    RulesDate from;
    float deedAreaThreshold = 0;  // ㎡: up to it the smaller rate
    float deedFirstSmall = 0, deedFirstLarge = 0;
    float deedSecondSmall = 0, deedSecondLarge = 0;
    float deedThirdAndLater = 0;
    float vatRate = 0;
    int vatExemptAfterYears = 0;  // held this long or more: no VAT
    float cityConstructionCity = 0, cityConstructionCounty = 0, cityConstructionOther = 0;
    float educationSurcharge = 0, localEducationSurcharge = 0;
    float incomeGainRate = 0;
    float incomeDeemedRate = 0;
    int incomeExemptAfterYears = 0;  // held this long and the only home: none
};

struct RulesDocument {
    RulesDate edition;
    std::vector<LprFixing> lpr;
    std::vector<ProvidentRates> providentRates;
    RateOptionList commercialOptions;  // the housing and car rate fields
    RateOptionList providentOptions;   // the housing field under 公积金, the combined provident field
    RateOptionList commercialTerms;    // the combined commercial field
    CurrentTaxRules taxes;
};

// What reading gave: the document, or why it was refused.
struct RulesReadResult {
    std::optional<RulesDocument> rules;
    Text error;
};

RulesReadResult ReadRulesDocument(const Bytes& bytes);
// A missing file is no error: the result holds neither rules nor an error.
RulesReadResult LoadRulesDocument(const Text& path);

}  // namespace qh
