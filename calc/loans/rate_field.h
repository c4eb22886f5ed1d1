// Rate fields: a rate box, a kind list (月利率 / 年利率) and an option list.
// The operations here fill the box from an option, re-express it when the
// kind changes and read the monthly rate from it. They work through
// RateFieldView, which the page controls implement, so they run without a
// window.
#pragma once

#include "calc/loans/rate_tables.h"
#include "runtime/text.h"

namespace qh {

// The four rate fields of the calculator.
enum class RateFieldId {
    Housing,             // RateEdit, RateKind, RateOption
    Car,                 // CarRateEdit, CarRateKind, CarRateOption
    CombinedProvident,   // FundRateEdit, FundRateKind, FundRateTerm
    CombinedCommercial,  // CommRateEdit, CommRateKind, CommRateTerm
};

// The option set a field offers; the housing field's depends on its loan
// type (商贷 or 公积金).
RateOptionSet OptionSetOf(RateFieldId field, bool housingCommercial = true);

// What the rate operations read and write of a field's three controls.
// Item numbers count from 1.
class RateFieldView {
public:
    virtual ~RateFieldView() = default;
    virtual Text RateText() const = 0;
    virtual void SetRateText(const Text& text) = 0;
    virtual int KindItem() const = 0;
    virtual void SelectKind(int item) = 0;
    virtual int OptionItem() const = 0;
    virtual void SelectOption(int item) = 0;
};

// A rate field held in memory: the command-line companion's, and the tests'.
class RateFieldState final : public RateFieldView {
public:
    Text RateText() const override { return text_; }
    void SetRateText(const Text& text) override { text_ = text; }
    int KindItem() const override { return kind_; }
    void SelectKind(int item) override { kind_ = item; }
    int OptionItem() const override { return option_; }
    void SelectOption(int item) override { option_ = item; }

private:
    Text text_;
    int kind_ = kAnnualRateKind;
    int option_ = 1;
};

// Sets the rate box from option item of the set: the annual value, or under
// 月利率 that value divided by 12, rounded to two places.
void ApplyRateOption(RateFieldView& field, RateOptionSet set, int item);
// Re-expresses the box's value in the kind just chosen when it is one of the
// set's table values; a rate of the user's own keeps its text.
void SwitchRateKind(RateFieldView& field, RateOptionSet set, int kindItem);
// The monthly rate as a fraction: the box's percentage ÷ 100 under 月利率,
// ÷ 1200 under 年利率.
double MonthlyRateOf(const RateFieldView& field);
double MonthlyRateOf(const Text& rateText, int kindItem);

}  // namespace qh
