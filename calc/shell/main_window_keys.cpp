// The main window's keys: what a keyboard user needs beyond Tab and the
// controls' own keys. Ctrl+Tab and Ctrl+Shift+Tab walk the side menu's
// pages, Ctrl+1 to Ctrl+5 choose the top tabs, Enter in an input runs the
// computation, F6 moves into the results window and Escape puts the help
// away.
#include "calc/shell/main_window.h"
#include "toolkit/messages.h"

namespace qh {
namespace {

constexpr int kFirstTabKey = '1';

}  // namespace

bool MainWindow::OnShortcut(const ShortcutKey& key) {
    if (key.ctrl && key.vk == vk::kTab) {
        StepPage(key.shift ? -1 : 1);
        return true;
    }
    if (key.ctrl && key.vk >= kFirstTabKey && key.vk < kFirstTabKey + kTabCount) {
        const int tab = key.vk - kFirstTabKey + 1;
        if (tab != currentTab_ || tab == kAboutTab) SelectTab(tab);
        return true;
    }
    if (key.vk == vk::kF6 && results_.Exists()) {
        results_.TakeKeyboard();
        return true;
    }
    if (key.vk == vk::kEscape && c_.helpPopup.Visible()) {
        c_.helpPopup.Visible(0, true);
        return true;
    }
    if (key.vk == vk::kEnter && EnterComputes()) {
        Calculate();
        return true;
    }
    return false;
}

void MainWindow::StepPage(int step) {
    // The pages in menu order; the plan slot opens a window and is no page.
    int page = currentPage_;
    for (int tries = 0; tries < kMenuSlotCount; ++tries) {
        page = (page - 1 + step + kMenuSlotCount) % kMenuSlotCount + 1;
        if (page != kMenuPlan && Offers(page)) break;
    }
    if (page == currentPage_) return;
    if (page == kPageHousing || page == kPageCar || page == kPageCombined || page == kPageSearch) {
        // A page with a top tab of its own is chosen as its tab is, which
        // also lights the tab.
        SelectTab(page == kPageHousing ? 1 : page - 1);
    } else {
        SelectSideEntry(page);
    }
}

bool MainWindow::EnterComputes() {
    // Enter in a box of the form computes, as the 计算 button does; on a
    // button or an open list Enter is that control's own.
    if (c_.calcButton.Disabled() != 0) return false;
    const ControlRecord* rec = c_.window.Record(c_.window.FocusedControl());
    if (rec == nullptr || rec->object == nullptr) return false;
    if (rec->traits.role == AccRole::kEditableText) return true;
    return rec->traits.role == AccRole::kComboBox && rec->object->Snapshot().checked == 0;
}

}  // namespace qh
