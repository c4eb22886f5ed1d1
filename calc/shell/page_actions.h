// What the calculator's pages do with their controls: the rate fields over
// their boxes and lists, the housing page's start-of-page state and radio
// actions, Clear, and the computations, which read the controls into the
// loan functions of calc/loans and hand back the texts of the results window.
#pragma once

#include <functional>

#include <optional>

#include "calc/loans/plan_form.h"
#include "calc/loans/rate_field.h"
#include "calc/shell/main_controls.h"

namespace qh {

// A rate field as its three controls: the rate box, the kind list and the
// option list.
class ControlRateField final : public RateFieldView {
public:
    ControlRateField(UiEdit& rate, UiComboBox& kind, UiComboBox& option) : rate_(rate), kind_(kind), option_(option) {}
    Text RateText() const override { return rate_.Text(); }
    void SetRateText(const Text& text) override { rate_.Text(text, true); }
    int KindItem() const override { return kind_.Selection(); }
    void SelectKind(int item) override { kind_.Selection(item, true); }
    int OptionItem() const override { return option_.Selection(); }
    void SelectOption(int item) override { option_.Selection(item, true); }

private:
    UiEdit& rate_;
    UiComboBox& kind_;
    UiComboBox& option_;
};

ControlRateField RateFieldOf(MainControls& c, RateFieldId field);
// The option set the field offers now (the housing field's follows 商贷/公积金).
RateOptionSet CurrentOptionSet(MainControls& c, RateFieldId field);
// Fills the rate box from the option list's selected item (item 1 when none
// is selected, as the lists start).
void ApplySelectedRateOption(MainControls& c, RateFieldId field);
// Binds every rate field's kind and option lists to SwitchRateKind and
// ApplyRateOption.
void BindRateFields(MainControls& c);

// Page 1: shows the page's rows for the current mode, selects option 1 and
// applies it (so a typed rate gives way to the base rate).
void ShowHousingPage(MainControls& c);
// 商贷 or 公积金 was clicked: the option list offers that loan type's options,
// and the first is applied.
void OnHousingLoanTypeChanged(MainControls& c);
// 一套房 or 二套房 was clicked: the down payment moves to 3成 or 6成.
void OnHomeTypeChanged(MainControls& c);

// Empties every input box of every page and re-applies each rate field's
// selected option. Radio buttons and list selections stay as they are.
void ClearAction(MainControls& c);

// The loan search's address for what the page holds: the site's "/s", the
// purpose item, "-", the amount in 万, "x", the term in months, "x3" for
// 购车贷款, and "-0x0x9999/?ref=rodode".
Text LoanSearchAddress(const Text& siteUrl, int purposeItem, const Text& amountText, int amountUnit,
                       const Text& termText, int termUnit);
// 搜素一下: asks for an amount, then a term, in HelpPopup while a box is
// empty; otherwise opens the search address with open.
void SearchLoans(MainControls& c, const Text& siteUrl, const std::function<void(const Text&)>& open);

// What the results window shows: the two repayment methods, the classic
// tax page's seven lines, or the current-law tax page's eight.
enum class ResultsKind { Loan, Tax, CurrentTax };
ResultsKind ResultsKindOf(int page);

// The value texts of the results window for the page. On the tax pages only
// tax is set; on the loan pages installment and principal.
struct PageResults {
    ResultsKind kind = ResultsKind::Loan;
    // The repayment plan of the loan computed (housing and car pages).
    std::optional<PlanForm> plan;
    Text installment;
    Text principal;
    Text tax;
};
// The classic pages only: the current-law tax page computes from its own
// inputs (CurrentTaxPage).
PageResults ComputePage(MainControls& c, int page);

}  // namespace qh
