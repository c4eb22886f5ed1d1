#include "calc/loans/rate_field.h"

#include <gtest/gtest.h>

#include "runtime/convert.h"
#include "tests/calc/loans/shipped_rules.h"

namespace qh {
namespace {

// A field as the page starts it: option 1 applied under 年利率.
RateFieldState StartedField(RateOptionSet set, int kind = kAnnualRateKind) {
    RateFieldState field;
    field.SelectKind(kind);
    ApplyRateOption(field, set, 1);
    return field;
}

// Chooses a kind the way the kind list's callback does.
void ChooseKind(RateFieldView& field, RateOptionSet set, int kind) {
    field.SelectKind(kind);
    SwitchRateKind(field, set, kind);
}

TEST(RateFieldTest, StartValuesOfTheFourFields) {
    EXPECT_EQ(StartedField(OptionSetOf(RateFieldId::Housing, true)).RateText(), "6.55");
    EXPECT_EQ(StartedField(OptionSetOf(RateFieldId::Housing, false)).RateText(), "4.5");
    EXPECT_EQ(StartedField(OptionSetOf(RateFieldId::Car)).RateText(), "6.55");
    EXPECT_EQ(StartedField(OptionSetOf(RateFieldId::CombinedProvident)).RateText(), "4.5");
    EXPECT_EQ(StartedField(OptionSetOf(RateFieldId::CombinedCommercial)).RateText(), "6.55");
}

TEST(RateFieldTest, CommercialOption6SwitchesToMonthlyAndBack) {
    RateFieldState field;
    ApplyRateOption(field, RateOptionSet::Commercial, 6);
    EXPECT_EQ(field.RateText(), "7.86");
    ChooseKind(field, RateOptionSet::Commercial, kMonthlyRateKind);
    EXPECT_EQ(field.RateText(), "0.66");
    ChooseKind(field, RateOptionSet::Commercial, kAnnualRateKind);
    EXPECT_EQ(field.RateText(), "7.86");
}

TEST(RateFieldTest, ProvidentOptionsShowWithoutTrailingZeros) {
    RateFieldState field = StartedField(RateOptionSet::Provident);
    ChooseKind(field, RateOptionSet::Provident, kMonthlyRateKind);
    EXPECT_EQ(field.RateText(), "0.38");
    ChooseKind(field, RateOptionSet::Provident, kAnnualRateKind);
    EXPECT_EQ(field.RateText(), "4.5");

    ApplyRateOption(field, RateOptionSet::Provident, 2);
    EXPECT_EQ(field.RateText(), "4");
    field.SelectKind(kMonthlyRateKind);
    ApplyRateOption(field, RateOptionSet::Provident, 2);
    EXPECT_EQ(field.RateText(), "0.33");
}

TEST(RateFieldTest, CombinedCommercialOneYearTerm) {
    RateFieldState field;
    ApplyRateOption(field, RateOptionSet::CommercialTerm, 4);
    EXPECT_EQ(field.RateText(), "6");
    ChooseKind(field, RateOptionSet::CommercialTerm, kMonthlyRateKind);
    EXPECT_EQ(field.RateText(), "0.5");
    ChooseKind(field, RateOptionSet::CommercialTerm, kAnnualRateKind);
    EXPECT_EQ(field.RateText(), "6");
}

TEST(RateFieldTest, OptionChosenUnderMonthlyIsWrittenDirectly) {
    RateFieldState field;
    field.SelectKind(kMonthlyRateKind);
    ApplyRateOption(field, RateOptionSet::Commercial, 7);
    EXPECT_EQ(field.RateText(), "0.71");
}

// Every option, shown under 月利率, is exactly the table's second half, and
// switching back gives the option's annual value again.
void ExpectEveryOptionRoundTripsThroughTheMonthlyKind() {
    for (auto set : {RateOptionSet::Commercial, RateOptionSet::Provident, RateOptionSet::CommercialTerm}) {
        const RateOptionTable& table = TableOf(set);
        const int n = table.itemCount();
        ASSERT_EQ(table.values.size(), static_cast<size_t>(2 * n));
        for (int item = 1; item <= n; ++item) {
            SCOPED_TRACE(testing::Message() << "set " << static_cast<int>(set) << " item " << item);
            RateFieldState field;
            ApplyRateOption(field, set, item);
            const Text annual = field.RateText();
            EXPECT_EQ(annual, ToText(RoundHalfUp(table.values[item - 1], 2)));
            ChooseKind(field, set, kMonthlyRateKind);
            EXPECT_EQ(field.RateText(), ToText(static_cast<double>(table.values[n + item - 1])));
            ChooseKind(field, set, kAnnualRateKind);
            EXPECT_EQ(field.RateText(), annual);
        }
    }
}

TEST(RateFieldTest, EveryOptionRoundTripsThroughTheMonthlyKind) { ExpectEveryOptionRoundTripsThroughTheMonthlyKind(); }

// The cases above under the shipped rules document's tables: the fields
// start at the current LPR and provident rate, and the kind switch works on
// the new values as it does on the built-in ones.
TEST(RateFieldTest, UnderTheRulesDocumentTheSwitchCasesHoldForTheNewValues) {
    const ShippedRulesInForce rules;
    ExpectEveryOptionRoundTripsThroughTheMonthlyKind();
    EXPECT_EQ(StartedField(OptionSetOf(RateFieldId::Housing, true)).RateText(), "3.5");
    EXPECT_EQ(StartedField(OptionSetOf(RateFieldId::Housing, false)).RateText(), "2.6");
    EXPECT_EQ(StartedField(OptionSetOf(RateFieldId::Car)).RateText(), "3.5");
    EXPECT_EQ(StartedField(OptionSetOf(RateFieldId::CombinedProvident)).RateText(), "2.6");
    EXPECT_EQ(StartedField(OptionSetOf(RateFieldId::CombinedCommercial)).RateText(), "3.5");
    struct Case {
        RateOptionSet set;
        int item;
        const char* annual;
        const char* monthly;
    };
    const Case cases[] = {
        {RateOptionSet::Commercial, 2, "3.05", "0.25"},  // LPR-45BP
        {RateOptionSet::Commercial, 6, "3.8", "0.32"},   // LPR+30BP
        {RateOptionSet::Provident, 2, "2.1", "0.17"},    // 2.1 is 2.0999999 in 32 bits
        {RateOptionSet::CommercialTerm, 2, "3", "0.25"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.annual);
        RateFieldState field;
        ApplyRateOption(field, c.set, c.item);
        EXPECT_EQ(field.RateText(), c.annual);
        ChooseKind(field, c.set, kMonthlyRateKind);
        EXPECT_EQ(field.RateText(), c.monthly);
        ChooseKind(field, c.set, kAnnualRateKind);
        EXPECT_EQ(field.RateText(), c.annual);
    }
    // A rate of the user's own keeps its text; the old base rate is one now.
    RateFieldState own;
    own.SetRateText("6.55");
    ChooseKind(own, RateOptionSet::Commercial, kMonthlyRateKind);
    EXPECT_EQ(own.RateText(), "6.55");
}

TEST(RateFieldTest, TypedRates) {
    RateFieldState typed;
    typed.SetRateText("6.550");
    ChooseKind(typed, RateOptionSet::Commercial, kMonthlyRateKind);
    EXPECT_EQ(typed.RateText(), "0.55");

    RateFieldState own;
    own.SetRateText("5.5");
    ChooseKind(own, RateOptionSet::Commercial, kMonthlyRateKind);
    EXPECT_EQ(own.RateText(), "5.5");
    ChooseKind(own, RateOptionSet::Commercial, kAnnualRateKind);
    EXPECT_EQ(own.RateText(), "5.5");

    RateFieldState empty;
    ChooseKind(empty, RateOptionSet::Commercial, kMonthlyRateKind);
    EXPECT_EQ(empty.RateText(), "");
}

TEST(RateFieldTest, TypedMonthlyBaseRateMatchesTheSecondHalf) {
    RateFieldState field;
    field.SelectKind(kMonthlyRateKind);
    field.SetRateText("0.55");
    ChooseKind(field, RateOptionSet::Commercial, kAnnualRateKind);
    EXPECT_EQ(field.RateText(), "6.55");
}

TEST(RateFieldTest, MonthlyRateFollowsTheKind) {
    RateFieldState field = StartedField(RateOptionSet::Commercial);
    EXPECT_DOUBLE_EQ(MonthlyRateOf(field), 6.55 / 1200);
    ChooseKind(field, RateOptionSet::Commercial, kMonthlyRateKind);
    EXPECT_DOUBLE_EQ(MonthlyRateOf(field), 0.0055);
    field.SetRateText("abc");
    EXPECT_EQ(MonthlyRateOf(field), 0);
    EXPECT_DOUBLE_EQ(MonthlyRateOf("６.５５", kAnnualRateKind), 6.55 / 1200);
}

}  // namespace
}  // namespace qh
