// The page forms of the main window: which controls each page has,
// where they stand, what their lists offer and how they start, as one table
// in creation order (which is also the order Tab walks). The layout of the
// captions, the description and the separator per page is a second table.
#pragma once

#include <span>

#include "calc/shell/main_controls.h"

namespace qh {

// The texts a list is filled with.
enum class ListTexts { None, AmountUnits, TermUnits, RateKinds, RateOptions, ProvidentTerms, CommercialTerms,
                       DownPayments, LoanPurposes, HomeLocations };

// Caption: a caption within a row, beside the caption column.
enum class FormKind { Radio, Edit, Combo, ListView, Link, Caption };

constexpr unsigned OnPage(int page) { return 1u << page; }

// One control of a page form. Exactly one member pointer is set, the one of
// its kind.
struct FormControl {
    const char* name;
    FormKind kind;
    float x, y, width, height;
    unsigned pages;          // OnPage bits of the pages that show it
    const char* text = "";   // a radio button's caption, the link's text
    int group = 0;           // radio group
    bool checked = false;    // radio start state
    int inputMode = 0;       // edit input mode
    const char* suffix = nullptr;  // unit drawn inside an edit
    ListTexts list = ListTexts::None;
    int selection = 0;       // list start item, 0 for none
    bool emphasised = false; // radio text black α170 instead of the default
    bool byAreaOnly = false; // page 1 shows it only under 按面积
    bool shownByLayout = false;  // LayoutPage shows it, not the page's show list
    const char* tooltip = nullptr;
    void (*fill)(UiListView&) = nullptr;  // fills a list view once it exists
    UiRadioButton MainControls::*radio = nullptr;
    UiEdit MainControls::*edit = nullptr;
    UiComboBox MainControls::*combo = nullptr;
    UiListView MainControls::*listView = nullptr;
    UiLabel MainControls::*label = nullptr;  // the link, a caption
};

// Every page control, in page order and row order within a page.
std::span<const FormControl> FormControls();
UiControl& ControlOf(MainControls& c, const FormControl& f);

// What LayoutPage sets for a page (page 1 has two: by amount and by area).
// Pages without a form (the empty menu slot) take page 1's.
struct PageLayout {
    const char* captions;
    int captionHeight;       // 0 leaves the height as it is
    int descriptionTop;
    int separatorTop;
    int helpX, helpY;        // where HelpIcon is shown; 0, 0 keeps it hidden
};

const PageLayout& LayoutOf(int page, bool byArea);
const char* DescriptionOf(int page);

// Creates every page form on the main window, page by page (page 1's
// by-amount rows visible, the rest hidden), with the unit suffixes drawn by
// edit hooks and TaxTable filled.
void CreatePageForms(MainControls& c);
// Hides every control of the page's form.
void HidePageForm(MainControls& c, int page);
// Shows the page's show list (page 1: without its by-area rows).
void ShowPageForm(MainControls& c, int page);
// Shows or hides page 1's by-area rows.
void ShowByAreaRows(MainControls& c, bool show);
// Sets the captions, their height, the description's and separator's tops
// and the help icon for the page, as LayoutOf gives them; page 2 also shows
// TaxTable.
void LayoutPage(MainControls& c, int page);

// Fills a tax page's rules table: one row a tax, its name then its rule, in
// columns that fill the table's 402 px.
struct RuleLine {
    Text name;
    Text rule;
};
void FillRuleTable(UiListView& table, const std::vector<RuleLine>& lines);

// The texts of a list, copied.
std::vector<Text> ListTextsOf(ListTexts list);

}  // namespace qh
