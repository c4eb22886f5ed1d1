#include "calc/shell/page_forms.h"

#include <iterator>

#include "calc/loans/current_tax.h"
#include "calc/loans/rate_tables.h"
#include "calc/loans/repayment.h"
#include "toolkit/draw.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

using M = MainControls;
using K = FormKind;
using L = ListTexts;

constexpr unsigned kHousing = OnPage(kPageHousing);
constexpr unsigned kTax = OnPage(kPageTax);
constexpr unsigned kCar = OnPage(kPageCar);
constexpr unsigned kCombined = OnPage(kPageCombined);
constexpr unsigned kSearch = OnPage(kPageSearch);
constexpr unsigned kCurrentTax = OnPage(kPageCurrentTax);

void FillTaxTable(UiListView& table);

// The current-law tax page: two columns of inputs in its first two rows,
// a radio row each for 买方, 卖方持有 and 唯一住房, then the rules.
constexpr float kNowRow[] = {111, 138, 165, 193, 220};
constexpr float kNowRadioColumns[] = {225, 305, 385};
constexpr float kNowRightCaption = 355;
constexpr float kNowRightField = 400;
constexpr int kNowBuyerGroup = 70, kNowHeldGroup = 71, kNowOnlyHomeGroup = 72;

// clang-format off
constexpr FormControl kForms[] = {
    // Page 1, housing.
    {.name = "ModeByAmount", .kind = K::Radio, .x = 225, .y = 111, .width = 60, .height = 24, .pages = kHousing,
     .text = "按额度", .group = 1, .checked = true, .emphasised = true, .radio = &M::modeByAmount},
    {.name = "ModeByArea", .kind = K::Radio, .x = 290, .y = 111, .width = 60, .height = 24, .pages = kHousing,
     .text = "按面积", .group = 1, .emphasised = true, .radio = &M::modeByArea},
    {.name = "AmountEdit", .kind = K::Edit, .x = 228, .y = 140, .width = 60, .height = 22,
     .pages = kHousing | kCombined, .inputMode = kEditNumber, .edit = &M::amountEdit},
    {.name = "AmountUnit", .kind = K::Combo, .x = 290, .y = 139, .width = 50, .height = 24,
     .pages = kHousing | kCombined, .list = L::AmountUnits, .selection = kAmountUnitWan, .combo = &M::amountUnit},
    {.name = "TermEdit", .kind = K::Edit, .x = 228, .y = 167, .width = 60, .height = 22, .pages = kHousing,
     .inputMode = kEditDigits, .edit = &M::termEdit},
    {.name = "TermUnit", .kind = K::Combo, .x = 290, .y = 166, .width = 50, .height = 24, .pages = kHousing,
     .list = L::TermUnits, .selection = kTermInYears, .combo = &M::termUnit},
    {.name = "RateEdit", .kind = K::Edit, .x = 228, .y = 194, .width = 60, .height = 22, .pages = kHousing,
     .inputMode = kEditNumber, .suffix = "%", .edit = &M::rateEdit},
    {.name = "RateKind", .kind = K::Combo, .x = 290, .y = 193, .width = 65, .height = 24, .pages = kHousing,
     .list = L::RateKinds, .selection = kAnnualRateKind, .combo = &M::rateKind},
    {.name = "RateOption", .kind = K::Combo, .x = 356, .y = 193, .width = 130, .height = 24, .pages = kHousing,
     .list = L::RateOptions, .selection = 1, .combo = &M::rateOption},
    {.name = "LoanCommercial", .kind = K::Radio, .x = 225, .y = 222, .width = 60, .height = 22, .pages = kHousing,
     .text = "商贷", .group = 100, .checked = true, .tooltip = "商业贷款", .radio = &M::loanCommercial},
    {.name = "LoanFund", .kind = K::Radio, .x = 290, .y = 222, .width = 60, .height = 22, .pages = kHousing,
     .text = "公积金", .group = 100, .radio = &M::loanFund},
    {.name = "AreaEdit", .kind = K::Edit, .x = 228, .y = 249, .width = 60, .height = 22, .pages = kHousing,
     .inputMode = kEditNumber, .suffix = "㎡", .byAreaOnly = true, .edit = &M::areaEdit},
    {.name = "DownPayment", .kind = K::Combo, .x = 227, .y = 276, .width = 62, .height = 24, .pages = kHousing,
     .list = L::DownPayments, .selection = kDownPayment30, .byAreaOnly = true, .combo = &M::downPayment},
    {.name = "FirstHome", .kind = K::Radio, .x = 225, .y = 303, .width = 60, .height = 24, .pages = kHousing,
     .text = "一套房", .group = 2, .checked = true, .byAreaOnly = true, .radio = &M::firstHome},
    {.name = "SecondHome", .kind = K::Radio, .x = 290, .y = 303, .width = 60, .height = 24, .pages = kHousing,
     .text = "二套房", .group = 2, .byAreaOnly = true, .radio = &M::secondHome},

    // Page 2, second-hand transaction tax.
    {.name = "HouseOrdinary", .kind = K::Radio, .x = 225, .y = 111, .width = 75, .height = 24, .pages = kTax,
     .text = "普通住宅", .group = 10, .checked = true, .emphasised = true, .radio = &M::houseOrdinary},
    {.name = "HouseNonOrdinary", .kind = K::Radio, .x = 300, .y = 111, .width = 85, .height = 24, .pages = kTax,
     .text = "非普通住宅", .group = 10, .emphasised = true, .radio = &M::houseNonOrdinary},
    {.name = "CertOver5", .kind = K::Radio, .x = 225, .y = 138, .width = 75, .height = 24, .pages = kTax,
     .text = "已满5年", .group = 11, .checked = true, .emphasised = true, .radio = &M::certOver5},
    {.name = "CertUnder5", .kind = K::Radio, .x = 300, .y = 138, .width = 75, .height = 24, .pages = kTax,
     .text = "未满5年", .group = 11, .emphasised = true, .radio = &M::certUnder5},
    {.name = "TaxAreaEdit", .kind = K::Edit, .x = 228, .y = 167, .width = 60, .height = 22, .pages = kTax,
     .inputMode = kEditNumber, .suffix = "㎡", .edit = &M::taxAreaEdit},
    {.name = "TaxPriceEdit", .kind = K::Edit, .x = 228, .y = 194, .width = 60, .height = 22, .pages = kTax,
     .inputMode = kEditNumber, .edit = &M::taxPriceEdit},
    {.name = "TaxPriceUnit", .kind = K::Combo, .x = 290, .y = 193, .width = 50, .height = 24, .pages = kTax,
     .list = L::AmountUnits, .selection = kAmountUnitWan, .combo = &M::taxPriceUnit},
    {.name = "TaxTable", .kind = K::ListView, .x = 160, .y = 223, .width = 420, .height = 110, .pages = kTax,
     .shownByLayout = true, .fill = FillTaxTable, .listView = &M::taxTable},

    // Page 3, car loan.
    {.name = "SeatsUnder6", .kind = K::Radio, .x = 225, .y = 111, .width = 75, .height = 24, .pages = kCar,
     .text = "六座以下", .group = 30, .checked = true, .emphasised = true, .radio = &M::seatsUnder6},
    {.name = "SeatsOver6", .kind = K::Radio, .x = 300, .y = 111, .width = 85, .height = 24, .pages = kCar,
     .text = "六座以上", .group = 30, .emphasised = true, .radio = &M::seatsOver6},
    {.name = "CarPriceEdit", .kind = K::Edit, .x = 228, .y = 140, .width = 60, .height = 22, .pages = kCar,
     .inputMode = kEditNumber, .edit = &M::carPriceEdit},
    {.name = "CarPriceUnit", .kind = K::Combo, .x = 290, .y = 139, .width = 50, .height = 24, .pages = kCar,
     .list = L::AmountUnits, .selection = kAmountUnitWan, .combo = &M::carPriceUnit},
    {.name = "CarTermEdit", .kind = K::Edit, .x = 228, .y = 167, .width = 60, .height = 22, .pages = kCar,
     .inputMode = kEditDigits, .edit = &M::carTermEdit},
    {.name = "CarTermUnit", .kind = K::Combo, .x = 290, .y = 166, .width = 50, .height = 24, .pages = kCar,
     .list = L::TermUnits, .selection = kTermInYears, .combo = &M::carTermUnit},
    {.name = "CarRateEdit", .kind = K::Edit, .x = 228, .y = 194, .width = 60, .height = 22, .pages = kCar,
     .inputMode = kEditNumber, .suffix = "%", .edit = &M::carRateEdit},
    {.name = "CarRateKind", .kind = K::Combo, .x = 290, .y = 193, .width = 65, .height = 24, .pages = kCar,
     .list = L::RateKinds, .selection = kAnnualRateKind, .combo = &M::carRateKind},
    {.name = "CarRateOption", .kind = K::Combo, .x = 356, .y = 193, .width = 130, .height = 24, .pages = kCar,
     .list = L::RateOptions, .selection = 1, .combo = &M::carRateOption},
    {.name = "CarDownPayment", .kind = K::Combo, .x = 227, .y = 222, .width = 62, .height = 24, .pages = kCar,
     .list = L::DownPayments, .selection = kDownPayment30, .combo = &M::carDownPayment},

    // Page 4, combined loan (its provident-fund amount row is page 1's).
    {.name = "MixTermEdit", .kind = K::Edit, .x = 228, .y = 112, .width = 60, .height = 22, .pages = kCombined,
     .inputMode = kEditDigits, .edit = &M::mixTermEdit},
    {.name = "MixTermUnit", .kind = K::Combo, .x = 290, .y = 111, .width = 50, .height = 24, .pages = kCombined,
     .list = L::TermUnits, .selection = kTermInYears, .combo = &M::mixTermUnit},
    {.name = "FundRateEdit", .kind = K::Edit, .x = 228, .y = 167, .width = 60, .height = 22, .pages = kCombined,
     .inputMode = kEditNumber, .suffix = "%", .edit = &M::fundRateEdit},
    {.name = "FundRateKind", .kind = K::Combo, .x = 290, .y = 166, .width = 65, .height = 24, .pages = kCombined,
     .list = L::RateKinds, .selection = kAnnualRateKind, .combo = &M::fundRateKind},
    {.name = "FundRateTerm", .kind = K::Combo, .x = 356, .y = 166, .width = 95, .height = 24, .pages = kCombined,
     .list = L::ProvidentTerms, .selection = 1, .combo = &M::fundRateTerm},
    {.name = "CommAmountEdit", .kind = K::Edit, .x = 228, .y = 194, .width = 60, .height = 22, .pages = kCombined,
     .inputMode = kEditNumber, .edit = &M::commAmountEdit},
    {.name = "CommAmountUnit", .kind = K::Combo, .x = 290, .y = 193, .width = 50, .height = 24, .pages = kCombined,
     .list = L::AmountUnits, .selection = kAmountUnitWan, .combo = &M::commAmountUnit},
    {.name = "CommRateEdit", .kind = K::Edit, .x = 228, .y = 222, .width = 60, .height = 22, .pages = kCombined,
     .inputMode = kEditNumber, .suffix = "%", .edit = &M::commRateEdit},
    {.name = "CommRateKind", .kind = K::Combo, .x = 290, .y = 221, .width = 65, .height = 24, .pages = kCombined,
     .list = L::RateKinds, .selection = kAnnualRateKind, .combo = &M::commRateKind},
    {.name = "CommRateTerm", .kind = K::Combo, .x = 356, .y = 221, .width = 95, .height = 24, .pages = kCombined,
     .list = L::CommercialTerms, .selection = 1, .combo = &M::commRateTerm},

    // Page 5, loan search.
    {.name = "LoanPurpose", .kind = K::Combo, .x = 226, .y = 111, .width = 114, .height = 24, .pages = kSearch,
     .list = L::LoanPurposes, .selection = 1, .combo = &M::loanPurpose},
    {.name = "WantAmountEdit", .kind = K::Edit, .x = 228, .y = 140, .width = 60, .height = 22, .pages = kSearch,
     .inputMode = kEditNumber, .edit = &M::wantAmountEdit},
    {.name = "WantAmountUnit", .kind = K::Combo, .x = 290, .y = 139, .width = 50, .height = 24, .pages = kSearch,
     .list = L::AmountUnits, .selection = kAmountUnitWan, .combo = &M::wantAmountUnit},
    {.name = "WantTermEdit", .kind = K::Edit, .x = 228, .y = 167, .width = 60, .height = 22, .pages = kSearch,
     .inputMode = kEditDigits, .edit = &M::wantTermEdit},
    {.name = "WantTermUnit", .kind = K::Combo, .x = 290, .y = 166, .width = 50, .height = 24, .pages = kSearch,
     .list = L::TermUnits, .selection = kTermInYears, .combo = &M::wantTermUnit},
    {.name = "SearchLink", .kind = K::Link, .x = 228, .y = 195, .width = 112, .height = 24, .pages = kSearch,
     .text = "搜素一下", .label = &M::searchLink},

    // Page 7, second-hand taxes under current law.
    {.name = "NowPriceEdit", .kind = K::Edit, .x = 228, .y = kNowRow[0] + 1, .width = 60, .height = 22,
     .pages = kCurrentTax, .inputMode = kEditNumber, .edit = &M::nowPriceEdit},
    {.name = "NowPriceUnit", .kind = K::Combo, .x = 290, .y = kNowRow[0], .width = 50, .height = 24,
     .pages = kCurrentTax, .list = L::AmountUnits, .selection = kAmountUnitWan, .combo = &M::nowPriceUnit},
    {.name = "NowAreaCaption", .kind = K::Caption, .x = kNowRightCaption, .y = kNowRow[0] + 4, .width = 45,
     .height = 18, .pages = kCurrentTax, .text = "面积:", .label = &M::nowAreaCaption},
    {.name = "NowAreaEdit", .kind = K::Edit, .x = kNowRightField + 3, .y = kNowRow[0] + 1, .width = 60, .height = 22,
     .pages = kCurrentTax, .inputMode = kEditNumber, .suffix = "㎡", .edit = &M::nowAreaEdit},
    {.name = "NowOriginalEdit", .kind = K::Edit, .x = 228, .y = kNowRow[1] + 1, .width = 60, .height = 22,
     .pages = kCurrentTax, .inputMode = kEditNumber, .tooltip = "可不填: 不填时个人所得税按总价核定",
     .edit = &M::nowOriginalEdit},
    {.name = "NowOriginalUnit", .kind = K::Combo, .x = 290, .y = kNowRow[1], .width = 50, .height = 24,
     .pages = kCurrentTax, .list = L::AmountUnits, .selection = kAmountUnitWan, .combo = &M::nowOriginalUnit},
    {.name = "NowLocationCaption", .kind = K::Caption, .x = kNowRightCaption, .y = kNowRow[1] + 4, .width = 45,
     .height = 18, .pages = kCurrentTax, .text = "所在地:", .label = &M::nowLocationCaption},
    {.name = "NowLocation", .kind = K::Combo, .x = kNowRightField, .y = kNowRow[1], .width = 80, .height = 24,
     .pages = kCurrentTax, .list = L::HomeLocations, .selection = int(HomeLocation::City), .combo = &M::nowLocation},
    {.name = "NowBuyerFirst", .kind = K::Radio, .x = kNowRadioColumns[0], .y = kNowRow[2], .width = 75, .height = 24,
     .pages = kCurrentTax, .text = kBuyerHomesTexts[0], .group = kNowBuyerGroup, .checked = true,
     .radio = &M::nowBuyerFirst},
    {.name = "NowBuyerSecond", .kind = K::Radio, .x = kNowRadioColumns[1], .y = kNowRow[2], .width = 75, .height = 24,
     .pages = kCurrentTax, .text = kBuyerHomesTexts[1], .group = kNowBuyerGroup, .radio = &M::nowBuyerSecond},
    {.name = "NowBuyerThird", .kind = K::Radio, .x = kNowRadioColumns[2], .y = kNowRow[2], .width = 100, .height = 24,
     .pages = kCurrentTax, .text = kBuyerHomesTexts[2], .group = kNowBuyerGroup, .radio = &M::nowBuyerThird},
    {.name = "NowHeldUnder2", .kind = K::Radio, .x = kNowRadioColumns[0], .y = kNowRow[3], .width = 75, .height = 24,
     .pages = kCurrentTax, .text = kSellerHoldingTexts[0], .group = kNowHeldGroup, .radio = &M::nowHeldUnder2},
    {.name = "NowHeld2", .kind = K::Radio, .x = kNowRadioColumns[1], .y = kNowRow[3], .width = 75, .height = 24,
     .pages = kCurrentTax, .text = kSellerHoldingTexts[1], .group = kNowHeldGroup, .radio = &M::nowHeld2},
    {.name = "NowHeld5", .kind = K::Radio, .x = kNowRadioColumns[2], .y = kNowRow[3], .width = 75, .height = 24,
     .pages = kCurrentTax, .text = kSellerHoldingTexts[2], .group = kNowHeldGroup, .checked = true,
     .radio = &M::nowHeld5},
    {.name = "NowOnlyHome", .kind = K::Radio, .x = kNowRadioColumns[0], .y = kNowRow[4], .width = 75, .height = 24,
     .pages = kCurrentTax, .text = kOnlyHomeTexts[0], .group = kNowOnlyHomeGroup, .checked = true,
     .radio = &M::nowOnlyHome},
    {.name = "NowNotOnlyHome", .kind = K::Radio, .x = kNowRadioColumns[1], .y = kNowRow[4], .width = 75, .height = 24,
     .pages = kCurrentTax, .text = kOnlyHomeTexts[1], .group = kNowOnlyHomeGroup, .radio = &M::nowNotOnlyHome},
    {.name = "NowTaxTable", .kind = K::ListView, .x = 160, .y = 249, .width = 420, .height = 92,
     .pages = kCurrentTax, .listView = &M::nowTaxTable},
};

constexpr PageLayout kByAmountLayout = {
    "计算方式:\r\n\r\n贷款金额:\r\n\r\n贷款期限:\r\n\r\n贷款利率:\r\n\r\n贷款方式:", 130, 260, 250, 0, 0};
constexpr PageLayout kByAreaLayout = {
    "计算方式:\r\n\r\n平米价格:\r\n\r\n贷款期限:\r\n\r\n贷款利率:\r\n\r\n贷款方式:\r\n\r\n  总面积:\r\n\r\n"
    "    首付:\r\n\r\n购房性质:\r\n\r\n",
    210, 338, 330, 355, 304};
// Pages 2 to 5.
constexpr PageLayout kLayouts[] = {
    {"房屋性质:\r\n\r\n房产证:\r\n\r\n总面积:\r\n\r\n房屋总价:", 100, 345, 340, 385, 113},
    {"座位数:\r\n\r\n车价:\r\n\r\n贷款期限:\r\n\r\n贷款利率:\r\n\r\n首付:", 130, 265, 255, 0, 0},
    {"贷款期限:\r\n\r\n公积金贷款:\r\n\r\n公积金利率:\r\n\r\n商业贷款:\r\n\r\n商业利率:", 180, 275, 265, 0, 0},
    {"贷款用途:\r\n\r\n贷款金额:\r\n\r\n贷款期限:", 0, 245, 235, 0, 0},
};
constexpr PageLayout kCurrentTaxLayout = {
    "房屋总价:\r\n\r\n原购价:\r\n\r\n买方:\r\n\r\n卖方持有:\r\n\r\n唯一住房:", 130, 350, 345, 0, 0};

constexpr const char* kDescriptions[] = {
    "房贷计算器用于计算用户在申请商业贷款的情况下,选择等额本金和等额本息两种不同的还款方式后,每一期需偿还商业贷款的"
    "月供,以及利息总额和还款总额.",
    "列表内容为二手房交易税费,可帮您计算双方在买卖二手房时所涉及到的主要税费数额,适用于北京、上海、广州、深圳等城市的"
    "二手房买卖交易税费计算.",
    "车贷计算器用于计算办理汽车贷款时,在选择等额本金和等额本息两种不同的还款方式后,各自需要支出的月供,车贷利息总额和"
    "还款总额.",
    "组合贷款计算器用于计算用户在选择公积金贷款+商业贷款的组合贷款条件下,在采用等额本金和等额本息等不同的还款方式时,"
    "商业贷款部分和公积金部分的每一期月供,利息总额和还款总额.",
    "青禾网一站式贷款搜索平台,免费为您提供各大银行、小贷公司、典当行的正规贷款,各类个人贷款、个人信用贷款、个人抵押贷款、"
    "企业信用贷款、企业抵押贷款任你选.",
};
constexpr const char* kCurrentTaxDescription =
    "现行税费计算器按最新税收政策,计算买卖二手房时买方的契税和卖方的增值税、附加税费、个人所得税;税率随软件"
    "更新,详见上表.";

constexpr const char* kLoanPurposeTexts[] = {"企业贷款", "购车贷款", "购房贷款", "消费贷款"};

// The rows of TaxTable: each tax with the rule the user is told.
struct TaxRule {
    const char* name;
    const char* rule;
};
constexpr TaxRule kTaxRules[] = {
    {"契税", "首购普宅90㎡以下收1%,90-140㎡收1.5%,140㎡以上收3%"},
    {"营业税", "未满5年的普通住房、非普通住房,收5.55%"},
    {"城建税", "需交营业税的7%（非市区为5%）"},
    {"教育附加费", "需交营业税的3%"},
    {"个人所得税", "收1%.房子为房主唯一自住房且满5年则免征"},
    {"印花税", "目前免征印花税"},
};
// clang-format on

constexpr Argb kEditFill = 0xE6FFFFFFu;    // white α230
constexpr Argb kEditBorder = 0x46000000u;  // black α70
constexpr Argb kEmphasisedText = 0xAA000000u;  // black α170
constexpr Argb kSuffixText = 0x78000000u;  // black α120
constexpr Argb kCaptionText = 0x6E000000u;  // black α110, as the caption column
// SearchLink's text at rest, under the mouse, held down and once clicked
// (focused); the blues are RGB(0, 152, 241) written as COLORREFs.
constexpr LabelColors kSearchLinkColors{MakeArgb(0xFFFFFF, 230), MakeArgb(0xF19800, 170), MakeArgb(0xF19800, 254),
                                        MakeArgb(0x000000, 80)};

template <std::size_t N>
std::vector<Text> Copy(const char* const (&texts)[N]) {
    return std::vector<Text>(std::begin(texts), std::end(texts));
}

// Draws an edit's unit inside its right edge, under the text: the bounds
// narrowed a little so that "%" and "㎡" keep clear of the frame.
void DrawSuffix(MainControls& c, int controlIndex, const char* suffix) {
    const ControlRecord* record = c.window.Record(controlIndex);
    Graphics* g = c.window.BackGraphics();
    if (record == nullptr || g == nullptr) return;
    RectF r = record->bounds;
    r.width -= Text(suffix) == "%" ? 4 : 2;
    DrawText(*g, suffix, Toolkit().defaultFont, kSuffixText, r, 5, 0, 0, kFormatNoWrap);
}

void FillTaxTable(UiListView& table) {
    std::vector<RuleLine> lines;
    for (const TaxRule& rule : kTaxRules) lines.push_back({rule.name, rule.rule});
    FillRuleTable(table, lines);
}

void Create(MainControls& c, const FormControl& f) {
    const HostHandle h = c.hwnd;
    const bool visible = (f.pages & kHousing) && !f.byAreaOnly;
    switch (f.kind) {
        case K::Radio: {
            UiRadioButton& r = c.*f.radio;
            r.Create(h, f.text, f.x, f.y, f.width, f.height, f.checked, f.group,
                     f.emphasised ? kEmphasisedText : MakeArgb(0x000000, 230), {}, visible);
            break;
        }
        case K::Edit: {
            UiEdit& e = c.*f.edit;
            if (f.suffix != nullptr) {
                // The hook is bound before the box exists, so its first paint has the suffix.
                const char* suffix = f.suffix;
                e.OnDraw([&c, suffix](int, int controlIndex) { DrawSuffix(c, controlIndex, suffix); });
            }
            e.Create(h, "", f.x, f.y, f.width, f.height, f.inputMode, kEditFill, kEditBorder,
                     MakeArgb(0x000000, 230), {}, visible);
            break;
        }
        case K::Combo:
            (c.*f.combo).Create(h, f.x, f.y, f.width, f.height, f.selection, ListTextsOf(f.list), {},
                                MakeArgb(0x000000, 230), {}, visible);
            break;
        case K::ListView: {
            ListViewLook look;
            look.headerHeight = 0;
            look.rowHeight = 18;
            look.style = kListRowLines;
            look.textColor = 0x78000000u;  // black α120
            UiListView& table = c.*f.listView;
            table.Create(h, f.x, f.y, f.width, f.height, look, visible);
            if (f.fill != nullptr) f.fill(table);
            break;
        }
        case K::Caption:
            (c.*f.label).Create(h, f.text, f.x, f.y, f.width, f.height, kCaptionText, {}, kFormatNoWrap, 0, visible);
            break;
        case K::Link: {
            UiLabel& link = c.*f.label;
            link.Create(h, f.text, f.x, f.y, f.width, f.height, kSearchLinkColors, FontChoice{Text(), 12.0f, kRegular},
                        kFormatNoWrap, 3, visible);
            link.Cursor(kCursorHand, true);
            break;
        }
    }
    if (f.tooltip != nullptr) ControlOf(c, f).ToolTip(f.tooltip, true);
    ControlOf(c, f).Name(f.name, true);
}

}  // namespace

std::span<const FormControl> FormControls() { return kForms; }

// The name column is a little wider than the classic 70 px, so that
// "教育附加费" fits whole in fonts wider than SimSun; the two still fill 402 px.
void FillRuleTable(UiListView& table, const std::vector<RuleLine>& lines) {
    constexpr int kNameWidth = 80, kRuleWidth = 322, kLeftMiddle = 3, kRuleColumn = 2;
    table.InsertColumn(0, "Null", kNameWidth, kLeftMiddle);
    table.InsertColumn(0, "Null", kRuleWidth, kLeftMiddle);
    for (const RuleLine& line : lines) {
        const int row = table.InsertRow(0, line.name);
        table.CellText(row, kRuleColumn, line.rule, true);
    }
}

UiControl& ControlOf(MainControls& c, const FormControl& f) {
    switch (f.kind) {
        case K::Radio: return c.*f.radio;
        case K::Edit: return c.*f.edit;
        case K::Combo: return c.*f.combo;
        case K::ListView: return c.*f.listView;
        case K::Link:
        case K::Caption: break;
    }
    return c.*f.label;
}

const PageLayout& LayoutOf(int page, bool byArea) {
    if (page == kPageCurrentTax) return kCurrentTaxLayout;
    if (page <= kPageHousing || page > kPageCount) return byArea ? kByAreaLayout : kByAmountLayout;
    return kLayouts[page - 2];
}

const char* DescriptionOf(int page) {
    if (page == kPageCurrentTax) return kCurrentTaxDescription;
    if (page < 1 || page > kPageCount) page = kPageHousing;
    return kDescriptions[page - 1];
}

std::vector<Text> ListTextsOf(ListTexts list) {
    switch (list) {
        case L::AmountUnits: return Copy(kAmountUnitTexts);
        case L::TermUnits: return Copy(kTermUnitTexts);
        case L::RateKinds: return Copy(kRateKindTexts);
        case L::RateOptions: return TableOf(RateOptionSet::Commercial).texts;
        case L::ProvidentTerms: return TableOf(RateOptionSet::Provident).texts;
        case L::CommercialTerms: return TableOf(RateOptionSet::CommercialTerm).texts;
        case L::LoanPurposes: return Copy(kLoanPurposeTexts);
        case L::HomeLocations: return Copy(kHomeLocationTexts);
        case L::DownPayments: {
            std::vector<Text> texts;
            for (int item = 1; item <= kDownPaymentItemCount; ++item) texts.push_back(DownPaymentText(item));
            return texts;
        }
        case L::None: break;
    }
    return {};
}

void CreatePageForms(MainControls& c) {
    for (const FormControl& f : kForms) Create(c, f);
}

void HidePageForm(MainControls& c, int page) {
    for (const FormControl& f : kForms) {
        if (f.pages & OnPage(page)) ControlOf(c, f).Visible(0, true);
    }
}

void ShowPageForm(MainControls& c, int page) {
    for (const FormControl& f : kForms) {
        if ((f.pages & OnPage(page)) && !f.shownByLayout && !(page == kPageHousing && f.byAreaOnly)) {
            ControlOf(c, f).Visible(1, true);
        }
    }
}

void ShowByAreaRows(MainControls& c, bool show) {
    for (const FormControl& f : kForms) {
        if (f.byAreaOnly) ControlOf(c, f).Visible(show ? 1 : 0, true);
    }
}

void LayoutPage(MainControls& c, int page) {
    const PageLayout& layout = LayoutOf(page, c.modeByAmount.Checked() == 0);
    c.captionLabel.Text(layout.captions, true);
    if (layout.captionHeight != 0) c.captionLabel.Height(layout.captionHeight, true);
    c.descriptionLabel.Top(layout.descriptionTop, true);
    c.separator.Top(layout.separatorTop, true);
    if (layout.helpX != 0) {
        c.helpIcon.Move(float(layout.helpX), float(layout.helpY), std::nullopt, std::nullopt);
        c.helpIcon.Visible(1, true);
    }
    if (page == kPageTax) {
        c.taxTable.Visible(1, true);
        c.taxTable.Redraw();
    }
}

}  // namespace qh
