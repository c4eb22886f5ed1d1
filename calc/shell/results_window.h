// The results window "计算结果": a narrow tool window docked at the main
// window's right edge that shows the figures of the last Calculate under
// both repayment methods, the six taxes of the tax page, or the taxes and
// totals of the current-law tax page. It is created on
// demand, closed through ResultsStrip, its close button or the loan-search
// page, and created again (empty) by the next Calculate or strip click.
#pragma once

#include <functional>
#include <optional>

#include "calc/shell/main_controls.h"
#include "calc/shell/page_actions.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/picture.h"
#include "toolkit/controls/tip_panel.h"
#include "toolkit/image.h"
#include "toolkit/window.h"

namespace qh {

// The lines of a painted column of row labels each joined with the value
// line level with it ("贷款总额: 1,000,000.00 元"), after a heading;
// blank rows are left out.
Text PairedLines(const Text& heading, const Text& labels, const Text& values);

class ResultsWindow {
public:
    // main: the main window's controls (ResultsStrip, and the window the
    // results stand beside). The page tells which values the window shows.
    explicit ResultsWindow(MainControls& main) : main_(main) {}
    ResultsWindow(const ResultsWindow&) = delete;
    ResultsWindow& operator=(const ResultsWindow&) = delete;

    bool Exists() const { return hwnd_ != 0; }
    HostHandle Handle() const { return hwnd_; }
    UiWindow& Window() { return window_; }

    // Creates the window beside the main window, or, when it exists, shows
    // the values of the page's kind and repaints it.
    void Open(int page);
    // Closes the window when it exists (posted, as a click on its close
    // button would), else opens it empty.
    void Toggle(int page);
    // Posts WM_CLOSE when the window exists.
    void Close();
    // Moves the window to the main window's right edge: 9 px over it, as
    // high as it.
    void Dock();
    // Brings the window to the front when it exists.
    void BringToFront();
    // Writes a computation's texts into the value labels; the 还款计划 link
    // shows when the results carry a plan.
    void ShowResults(const PageResults& results);
    // F6 from the main window: the keyboard moves into this window, onto
    // its first control that takes the focus. F6 or Escape goes back.
    void TakeKeyboard();
    // Called when the 还款计划 link is clicked, with the plan of the results
    // shown last.
    void OnPlanLink(std::function<void(const PlanForm&)> handler) { onPlanLink_ = std::move(handler); }

    // The value texts, for tests and the UI driver's reading of figures.
    Text InstallmentText() { return installmentValues_.Text(); }
    Text PrincipalText() { return principalValues_.Text(); }
    Text TaxText() { return taxValues_.Text(); }
    Text CurrentTaxText() { return currentTaxValues_.Text(); }

private:
    RectI DockedRect() const;
    void ShowKind(ResultsKind kind);
    void Create(int page);
    int Paint(Graphics& g, int width);
    std::intptr_t OnMessage(int message);
    void HelpEnter(int id);
    void HelpLeave(int id);
    bool OnShortcut(const ShortcutKey& key);

    MainControls& main_;
    HostHandle hwnd_ = 0;
    ResultsKind kindShown_ = ResultsKind::Loan;
    UiWindow window_;
    UiLabel installmentValues_, principalValues_, taxValues_, currentTaxValues_;
    UiPicture upperHelp_, lowerHelp_;
    UiLabel planLink_;
    std::optional<PlanForm> plan_;
    std::function<void(const PlanForm&)> onPlanLink_;
    UiTipPanel resultsTip_;
    UiImage separator_;
};

}  // namespace qh
