#include "calc/shell/page_actions.h"

#include "calc/loans/loan_pages.h"
#include "calc/loans/transaction_tax.h"
#include "calc/shell/page_forms.h"
#include "runtime/convert.h"

namespace qh {
namespace {

constexpr RateFieldId kRateFields[] = {RateFieldId::Housing, RateFieldId::Car, RateFieldId::CombinedProvident,
                                       RateFieldId::CombinedCommercial};

AmountInput AmountOf(UiEdit& box, UiComboBox& unit) { return {box.Text(), unit.Selection()}; }
TermInput TermOf(UiEdit& box, UiComboBox& unit) { return {box.Text(), unit.Selection()}; }
RateInput RateOf(UiEdit& box, UiComboBox& kind) { return {box.Text(), kind.Selection()}; }

// The option list item to apply: the selected one, or item 1 when the list
// has none (a list never offers fewer than two options).
int OptionToApply(const RateFieldView& field) {
    const int item = field.OptionItem();
    return item >= 1 ? item : 1;
}

void FillOptions(UiComboBox& list, ListTexts texts) {
    list.ClearItems();
    for (const Text& t : ListTextsOf(texts)) list.AddItem(t);
}

}  // namespace

ControlRateField RateFieldOf(MainControls& c, RateFieldId field) {
    switch (field) {
        case RateFieldId::Car: return {c.carRateEdit, c.carRateKind, c.carRateOption};
        case RateFieldId::CombinedProvident: return {c.fundRateEdit, c.fundRateKind, c.fundRateTerm};
        case RateFieldId::CombinedCommercial: return {c.commRateEdit, c.commRateKind, c.commRateTerm};
        case RateFieldId::Housing: break;
    }
    return {c.rateEdit, c.rateKind, c.rateOption};
}

RateOptionSet CurrentOptionSet(MainControls& c, RateFieldId field) {
    return OptionSetOf(field, c.loanCommercial.Checked() != 0);
}

void ApplySelectedRateOption(MainControls& c, RateFieldId field) {
    ControlRateField view = RateFieldOf(c, field);
    ApplyRateOption(view, CurrentOptionSet(c, field), OptionToApply(view));
}

void BindRateFields(MainControls& c) {
    struct Lists {
        RateFieldId field;
        UiComboBox MainControls::*kind;
        UiComboBox MainControls::*option;
    };
    static constexpr Lists kLists[] = {
        {RateFieldId::Housing, &MainControls::rateKind, &MainControls::rateOption},
        {RateFieldId::Car, &MainControls::carRateKind, &MainControls::carRateOption},
        {RateFieldId::CombinedProvident, &MainControls::fundRateKind, &MainControls::fundRateTerm},
        {RateFieldId::CombinedCommercial, &MainControls::commRateKind, &MainControls::commRateTerm},
    };
    for (const Lists& lists : kLists) {
        const RateFieldId field = lists.field;
        (c.*lists.kind).OnSelect([&c, field](int kindItem) {
            ControlRateField view = RateFieldOf(c, field);
            SwitchRateKind(view, CurrentOptionSet(c, field), kindItem);
        });
        (c.*lists.option).OnSelect([&c, field](int) { ApplySelectedRateOption(c, field); });
    }
}

void ShowHousingPage(MainControls& c) {
    c.helpIcon.Visible(0, true);
    LayoutPage(c, kPageHousing);
    ShowPageForm(c, kPageHousing);
    c.rateOption.Selection(1, true);
    ApplySelectedRateOption(c, RateFieldId::Housing);
    ShowByAreaRows(c, c.modeByAmount.Checked() == 0);
}

void OnHousingLoanTypeChanged(MainControls& c) {
    FillOptions(c.rateOption, c.loanCommercial.Checked() ? ListTexts::RateOptions : ListTexts::ProvidentTerms);
    c.rateOption.Selection(1, true);
    ApplySelectedRateOption(c, RateFieldId::Housing);
}

void OnHomeTypeChanged(MainControls& c) {
    // 3成 for a first home, 6成 for a second one.
    c.downPayment.Selection(c.secondHome.Checked() ? 5 : 2, true);
}

void ClearAction(MainControls& c) {
    UiEdit* boxes[] = {&c.areaEdit,     &c.amountEdit,     &c.termEdit,     &c.rateEdit,       &c.taxAreaEdit,
                       &c.taxPriceEdit, &c.carPriceEdit,   &c.carTermEdit,  &c.carRateEdit,    &c.mixTermEdit,
                       &c.commAmountEdit, &c.fundRateEdit, &c.commRateEdit, &c.wantAmountEdit, &c.wantTermEdit,
                       &c.nowPriceEdit, &c.nowAreaEdit, &c.nowOriginalEdit};
    for (UiEdit* box : boxes) box->Text("", true);
    for (RateFieldId field : kRateFields) ApplySelectedRateOption(c, field);
}

Text LoanSearchAddress(const Text& siteUrl, int purposeItem, const Text& amountText, int amountUnit,
                       const Text& termText, int termUnit) {
    constexpr int kCarLoanPurpose = 2;  // 购车贷款
    Text address = siteUrl + "/s" + ToText(std::int32_t{purposeItem}) + "-" +
                   ToText(LoanAmountOf(amountText, amountUnit) / 10000) + "x" +
                   ToText(TermMonthsOf(termText, termUnit));
    if (purposeItem == kCarLoanPurpose) address += "x3";
    return address + "-0x0x9999/?ref=rodode";
}

void SearchLoans(MainControls& c, const Text& siteUrl, const std::function<void(const Text&)>& open) {
    // Only emptiness is checked: a text that is no number searches for 0.
    auto ask = [&c](const char* message, float top) {
        c.helpPopup.SetZOrder(1, true);
        c.helpPopup.Style(kTipPointDown, true);
        c.helpPopup.Text(message, true);
        c.helpPopup.Move(160, top, 107, 45);
        c.helpPopup.Visible(1, true);
    };
    if (c.wantAmountEdit.Text().empty()) return ask(" 请输入贷款金额", 105);
    if (c.wantTermEdit.Text().empty()) return ask(" 请输入贷款年限", 130);
    if (open) {
        open(LoanSearchAddress(siteUrl, c.loanPurpose.Selection(), c.wantAmountEdit.Text(), c.wantAmountUnit.Selection(),
                               c.wantTermEdit.Text(), c.wantTermUnit.Selection()));
    }
}

ResultsKind ResultsKindOf(int page) {
    switch (page) {
        case kPageTax: return ResultsKind::Tax;
        case kPageCurrentTax: return ResultsKind::CurrentTax;
        default: return ResultsKind::Loan;
    }
}

PageResults ComputePage(MainControls& c, int page) {
    PageResults results;
    LoanResultTexts loan;
    switch (page) {
        case kPageHousing: {
            HousingLoanInputs in;
            in.byArea = c.modeByAmount.Checked() == 0;
            in.amount = AmountOf(c.amountEdit, c.amountUnit);
            in.term = TermOf(c.termEdit, c.termUnit);
            in.rate = RateOf(c.rateEdit, c.rateKind);
            in.area = c.areaEdit.Text();
            in.downPaymentItem = c.downPayment.Selection();
            loan = HousingLoanResults(in);
            results.plan = PlanFormOfLoan(loan.loanTotal, in.rate, in.term);
            break;
        }
        case kPageTax: {
            TransactionTaxInputs in;
            in.ordinary = c.houseOrdinary.Checked() != 0;
            in.certOver5 = c.certOver5.Checked() != 0;
            in.area = c.taxAreaEdit.Text();
            in.price = AmountOf(c.taxPriceEdit, c.taxPriceUnit);
            results.kind = ResultsKind::Tax;
            results.tax = TransactionTaxResults(in).valueText;
            return results;
        }
        case kPageCar: {
            CarLoanInputs in;
            in.price = AmountOf(c.carPriceEdit, c.carPriceUnit);
            in.term = TermOf(c.carTermEdit, c.carTermUnit);
            in.rate = RateOf(c.carRateEdit, c.carRateKind);
            in.downPaymentItem = c.carDownPayment.Selection();
            loan = CarLoanResults(in);
            results.plan = PlanFormOfLoan(loan.loanTotal, in.rate, in.term);
            break;
        }
        case kPageCombined: {
            CombinedLoanInputs in;
            in.term = TermOf(c.mixTermEdit, c.mixTermUnit);
            in.fundAmount = AmountOf(c.amountEdit, c.amountUnit);
            in.fundRate = RateOf(c.fundRateEdit, c.fundRateKind);
            in.commAmount = AmountOf(c.commAmountEdit, c.commAmountUnit);
            in.commRate = RateOf(c.commRateEdit, c.commRateKind);
            loan = CombinedLoanResults(in);
            results.plan = PlanFormOfCombined(in);
            break;
        }
        default:
            return results;  // the loan search computes nothing
    }
    results.installment = loan.installment;
    results.principal = loan.principal;
    return results;
}

}  // namespace qh
