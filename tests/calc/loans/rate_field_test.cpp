#include "calc/loans/rate_field.h"

#include <gtest/gtest.h>

#include "runtime/convert.h"

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
TEST(RateFieldTest, EveryOptionRoundTripsThroughTheMonthlyKind) {
    for (auto set : {RateOptionSet::Commercial, RateOptionSet::Provident, RateOptionSet::CommercialTerm}) {
        const RateOptionTable table = TableOf(set);
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
