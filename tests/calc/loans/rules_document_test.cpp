// The rules document: the edition the programs ship, and the documents that
// are refused whole (the calculator then keeps its built-in tables).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/loans/rate_history.h"
#include "calc/loans/rules_document.h"
#include "tests/calc/loans/shipped_rules.h"

namespace qh {
namespace {

// The figures of the rates and taxes of December 2026 (LPR of 2025-05-20,
// provident-fund rates of 2025-05-08, taxes of 2026-01-01).
TEST(RulesDocumentTest, TheShippedEditionHoldsTheFiguresOf2026) {
    const RulesDocument rules = ShippedRules();
    EXPECT_EQ(RulesDateText(rules.edition), "2026-01-01");

    ASSERT_EQ(rules.lpr.size(), 15u);
    EXPECT_EQ(RulesDateText(rules.lpr.front().date), "2019-08-20");
    EXPECT_FLOAT_EQ(rules.lpr.front().oneYear, 4.25f);
    EXPECT_FLOAT_EQ(rules.lpr.front().fiveYearPlus, 4.85f);
    EXPECT_EQ(RulesDateText(rules.lpr.back().date), "2025-05-20");
    EXPECT_FLOAT_EQ(rules.lpr.back().oneYear, 3.00f);
    EXPECT_FLOAT_EQ(rules.lpr.back().fiveYearPlus, 3.50f);

    ASSERT_EQ(rules.providentRates.size(), 4u);
    EXPECT_FALSE(rules.providentRates.front().from.has_value());
    EXPECT_FLOAT_EQ(rules.providentRates.front().secondHomeShort, 3.025f);
    const ProvidentRates& now = rules.providentRates.back();
    EXPECT_EQ(RulesDateText(*now.from), "2025-05-08");
    EXPECT_FLOAT_EQ(now.firstHomeShort, 2.10f);
    EXPECT_FLOAT_EQ(now.firstHomeLong, 2.60f);
    EXPECT_FLOAT_EQ(now.secondHomeShort, 2.525f);
    EXPECT_FLOAT_EQ(now.secondHomeLong, 3.075f);

    // The first commercial option is the current 5-year-plus LPR; the table
    // holds the annual values, then the monthly ones as the box shows them.
    const RateOptionList& commercial = rules.commercialOptions;
    ASSERT_EQ(commercial.texts.size(), 6u);
    EXPECT_EQ(commercial.texts.front(), "LPR 3.5%");
    EXPECT_EQ(commercial.table, (std::vector<float>{3.5f, 3.05f, 3.2f, 3.35f, 3.65f, 3.8f, 0.29f, 0.25f, 0.27f, 0.28f,
                                                    0.3f, 0.32f}));
    // 2.1 / 12 is 0.175 on paper, but 2.1 in 32 bits is 2.0999999: the box
    // shows 0.17 under 月利率, and the table holds what the box shows.
    EXPECT_EQ(rules.providentOptions.table, (std::vector<float>{2.6f, 2.1f, 0.22f, 0.17f}));
    EXPECT_EQ(rules.providentOptions.texts.front(), "5-30年");
    EXPECT_EQ(rules.commercialTerms.table, (std::vector<float>{3.5f, 3.0f, 0.29f, 0.25f}));

    const CurrentTaxRules& t = rules.taxes;
    EXPECT_EQ(RulesDateText(t.from), "2026-01-01");
    EXPECT_FLOAT_EQ(t.deedAreaThreshold, 140);
    EXPECT_EQ((std::vector<float>{t.deedFirstSmall, t.deedFirstLarge, t.deedSecondSmall, t.deedSecondLarge,
                                  t.deedThirdAndLater}),
              (std::vector<float>{1, 1.5f, 1, 2, 3}));
    EXPECT_FLOAT_EQ(t.vatRate, 3);
    EXPECT_EQ(t.vatExemptAfterYears, 2);
    EXPECT_EQ((std::vector<float>{t.cityConstructionCity, t.cityConstructionCounty, t.cityConstructionOther,
                                  t.educationSurcharge, t.localEducationSurcharge}),
              (std::vector<float>{7, 5, 1, 3, 2}));
    EXPECT_FLOAT_EQ(t.incomeGainRate, 20);
    EXPECT_FLOAT_EQ(t.incomeDeemedRate, 1);
    EXPECT_EQ(t.incomeExemptAfterYears, 5);
}

// Each document is the shipped one with one fault; the reason names it.
TEST(RulesDocumentTest, AFaultyDocumentIsRefusedWholeWithItsReason) {
    struct Fault {
        const char* what;
        std::string from;
        std::string to;
        std::string reason;
    };
    const std::vector<Fault> faults = {
        {"not XML", "<QingheRules", "QingheRules", "XML"},
        {"another root", "QingheRules", "Rules", "root"},
        {"no edition", " Edition=\"2026-01-01\"", "", "Edition"},
        {"a day that does not exist", "Edition=\"2026-01-01\"", "Edition=\"2026-02-30\"", "date"},
        {"a missing rate", " OneYear=\"4.25\"", "", "OneYear"},
        {"a rate that is no number", "FiveYearPlus=\"3.50\"", "FiveYearPlus=\"3,50\"", "FiveYearPlus"},
        {"a rate out of range", "Rate=\"3\"", "Rate=\"300\"", "Rate"},
        {"fixings out of order", "Date=\"2019-09-20\"", "Date=\"2019-08-01\"", "order"},
        {"a later provident entry without a date", " From=\"2022-10-01\"", "", "From"},
        {"another element among the fixings", "<Fixing Date=\"2020-02-20\"", "<Fix Date=\"2020-02-20\"", "Fix"},
        {"an annual value twice", "Annual=\"3.05\"", "Annual=\"3.5\"", "twice"},
        {"a monthly value twice (3.25 / 12 and 3.2 / 12 both show 0.27)", "Annual=\"3.35\"", "Annual=\"3.25\"",
         "twice"},
        {"a list of one option", "<Option Text=\"5年以上\" Annual=\"3.5\"/>", "", "options"},
        {"fractional years", "ExemptAfterYears=\"2\"", "ExemptAfterYears=\"2.5\"", "whole"},
        {"no VAT rule", "<Vat Rate=\"3\" ExemptAfterYears=\"2\"/>", "", "Vat"},
    };
    const Bytes shipped = ShippedRulesBytes();
    const std::string text(shipped.begin(), shipped.end());
    for (const Fault& fault : faults) {
        // Every occurrence is replaced (the root's name is in both its tags).
        // The literals are GBK, as the document is.
        std::string faulty = text;
        ASSERT_NE(faulty.find(fault.from), std::string::npos) << fault.what;
        for (std::size_t at = faulty.find(fault.from); at != std::string::npos;
             at = faulty.find(fault.from, at + fault.to.size())) {
            faulty.replace(at, fault.from.size(), fault.to);
        }
        const RulesReadResult read = ReadRulesDocument(Bytes(faulty.begin(), faulty.end()));
        EXPECT_FALSE(read.rules.has_value()) << fault.what;
        EXPECT_NE(read.error.find(fault.reason), Text::npos) << fault.what << ": " << read.error;
    }
}

// The rates in force on a day, from the shipped histories: a fixing applies
// from its own date on, the undated first provident entry before 2022-10-01.
TEST(RulesDocumentTest, TheHistoriesAnswerTheRateInForceOnADay) {
    const RateHistory history(ShippedRules());
    struct LprCase {
        const char* day;
        std::optional<float> fiveYearPlus;
    };
    const LprCase lpr[] = {
        {"2019-08-19", std::nullopt}, {"2019-08-20", 4.85f}, {"2022-05-19", 4.60f}, {"2022-05-20", 4.45f},
        {"2024-10-21", 3.60f},        {"2026-12-09", 3.50f},
    };
    for (const LprCase& c : lpr) {
        const std::optional<LprFixing> fixing = history.LprOn(*ParseRulesDate(c.day));
        ASSERT_EQ(fixing.has_value(), c.fiveYearPlus.has_value()) << c.day;
        if (fixing) {
            EXPECT_FLOAT_EQ(fixing->fiveYearPlus, *c.fiveYearPlus) << c.day;
        }
    }
    struct ProvidentCase {
        const char* day;
        ProvidentLoanKind kind;
        float rate;
    };
    const ProvidentCase provident[] = {
        {"2015-01-01", {false, true}, 3.25f}, {"2022-09-30", {true, false}, 3.025f},
        {"2022-10-01", {false, false}, 2.60f}, {"2025-05-07", {true, true}, 3.325f},
        {"2025-05-08", {false, true}, 2.60f}, {"2026-12-09", {true, true}, 3.075f},
    };
    for (const ProvidentCase& c : provident) {
        EXPECT_EQ(history.ProvidentRateOn(*ParseRulesDate(c.day), c.kind), c.rate) << c.day;
    }
}

TEST(RulesDocumentTest, NoDocumentIsNoError) {
    const RulesReadResult read = LoadRulesDocument(ProgramFile("no-such-rules.xml"));
    EXPECT_FALSE(read.rules.has_value());
    EXPECT_TRUE(read.error.empty());
}

}  // namespace
}  // namespace qh
