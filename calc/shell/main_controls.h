// Every control object of the calculator's main window, in one record. The
// objects exist, unbound, before the toolkit starts; BuildMainWindow binds
// them to the window, and navigation only changes their visibility, texts and
// positions. The members carry the names the program's documents use.
#pragma once

#include "toolkit/controls/button.h"
#include "toolkit/controls/combo_box.h"
#include "toolkit/controls/drawer_bar.h"
#include "toolkit/controls/edit.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/list_view.h"
#include "toolkit/controls/picture.h"
#include "toolkit/controls/radio_button.h"
#include "toolkit/controls/side_button.h"
#include "toolkit/controls/tab_button.h"
#include "toolkit/controls/tip_panel.h"
#include "toolkit/window.h"

namespace qh {

// The pages, numbered as the side menu counts them. The menu has seven
// slots: the five classic pages, the repayment plan (a window of its own,
// not a page), and the current-law tax page, which is offered only when a
// rules document is in force.
enum CalcPage : int {
    kPageHousing = 1,
    kPageTax = 2,
    kPageCar = 3,
    kPageCombined = 4,
    kPageSearch = 5,
    kMenuPlan = 6,  // opens the plan window
    kPageCurrentTax = 7,
};
inline constexpr int kPageCount = 5;  // the classic pages, 1 to 5
inline constexpr int kMenuSlotCount = 7;
inline constexpr int kTabCount = 5;
inline constexpr int kAboutTab = 5;

// The side menu's colours, entry by entry: a faint white face under the
// mouse and a stronger one marking the selected entry; black text, and red
// (written as a COLORREF) for the loan search, a little stronger under the
// mouse.
inline constexpr Argb kSideHoverFace = MakeArgb(0xFFFFFF, 80);
inline constexpr Argb kSideSelectedFace = MakeArgb(0xFFFFFF, 170);
inline constexpr SideButtonColors kBlackSideEntry{kSideHoverFace, kSideSelectedFace, MakeArgb(0x000000, 150),
                                                  MakeArgb(0x000000, 180), MakeArgb(0x000000, 180)};
inline constexpr SideButtonColors kRedSideEntry{kSideHoverFace, kSideSelectedFace, MakeArgb(0x0000FF, 190),
                                                MakeArgb(0x0000FF, 230), MakeArgb(0x0000FF, 190)};
inline constexpr SideButtonColors kSideMenuColors[kMenuSlotCount] = {
    kBlackSideEntry, kBlackSideEntry, kBlackSideEntry, kBlackSideEntry, kRedSideEntry, kBlackSideEntry, kBlackSideEntry};

struct MainControls {
    UiWindow window;
    HostHandle hwnd = 0;

    UiTabButton topTabs[kTabCount];  // TopTabs[1..5]
    UiSideButton sideMenu[kMenuSlotCount];  // SideMenu[1..7]

    // On every page.
    UiButton clearButton, calcButton, sysCalcButton;
    UiLabel captionLabel, descriptionLabel;
    UiPicture helpIcon, separator, banner;
    UiDrawerBar resultsStrip;
    UiTipPanel helpPopup;

    // Page 1, housing (AmountEdit and AmountUnit also serve page 4).
    UiRadioButton modeByAmount, modeByArea;
    UiEdit amountEdit;
    UiComboBox amountUnit;
    UiEdit termEdit;
    UiComboBox termUnit;
    UiEdit rateEdit;
    UiComboBox rateKind, rateOption;
    UiRadioButton loanCommercial, loanFund;
    UiEdit areaEdit;
    UiComboBox downPayment;
    UiRadioButton firstHome, secondHome;

    // Page 2, second-hand transaction tax.
    UiRadioButton houseOrdinary, houseNonOrdinary, certOver5, certUnder5;
    UiEdit taxAreaEdit, taxPriceEdit;
    UiComboBox taxPriceUnit;
    UiListView taxTable;

    // Page 3, car loan.
    UiRadioButton seatsUnder6, seatsOver6;
    UiEdit carPriceEdit;
    UiComboBox carPriceUnit;
    UiEdit carTermEdit;
    UiComboBox carTermUnit;
    UiEdit carRateEdit;
    UiComboBox carRateKind, carRateOption, carDownPayment;

    // Page 4, combined loan.
    UiEdit mixTermEdit;
    UiComboBox mixTermUnit;
    UiEdit fundRateEdit;
    UiComboBox fundRateKind, fundRateTerm;
    UiEdit commAmountEdit;
    UiComboBox commAmountUnit;
    UiEdit commRateEdit;
    UiComboBox commRateKind, commRateTerm;

    // Page 5, loan search.
    UiComboBox loanPurpose;
    UiEdit wantAmountEdit;
    UiComboBox wantAmountUnit;
    UiEdit wantTermEdit;
    UiComboBox wantTermUnit;
    UiLabel searchLink;

    // Page 7, second-hand taxes under current law.
    UiEdit nowPriceEdit;
    UiComboBox nowPriceUnit;
    UiLabel nowAreaCaption;
    UiEdit nowAreaEdit;
    UiEdit nowOriginalEdit;
    UiComboBox nowOriginalUnit;
    UiLabel nowLocationCaption;
    UiComboBox nowLocation;
    UiRadioButton nowBuyerFirst, nowBuyerSecond, nowBuyerThird;
    UiRadioButton nowHeldUnder2, nowHeld2, nowHeld5;
    UiRadioButton nowOnlyHome, nowNotOnlyHome;
    UiListView nowTaxTable;
};

}  // namespace qh
