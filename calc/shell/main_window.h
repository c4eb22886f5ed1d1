// The calculator's main window "青禾计算器": five picture tabs across the top,
// the page menu down the left, the page forms in the middle and the shared
// buttons at the bottom. This class builds it, switches pages, routes every
// control event to its action, paints the translucent panels and keeps the
// results window docked at its right edge.
#pragma once

#include <atomic>
#include <functional>

#include "calc/shell/current_tax_page.h"
#include "calc/shell/main_controls.h"
#include "calc/shell/results_window.h"
#include "toolkit/platform.h"
#include "toolkit/web_browser.h"

namespace qh {

// What the main window hands to the rest of the program: the about window
// and the browser belong to other parts of it.
struct MainWindowServices {
    std::function<void()> openAbout;
    // Opens the plan window: from the side menu without a plan, from the
    // results window with the plan of the loan computed.
    std::function<void(const std::optional<PlanForm>& plan)> openPlan;
    std::function<void(const Text& url)> openInBrowser;
    // Starts a program by command line without waiting (the system calculator);
    // false when it did not start.
    std::function<bool(const Text& commandLine)> runProgram;
    Text siteUrl;
    // The statistics page that the hidden browser loads once per start;
    // none when empty (as in tests).
    Text statsUrl;
    // The taxes of the rules document in force; the page 税费(现行) is
    // offered only with them.
    const CurrentTaxRules* currentTaxRules = nullptr;
};

class MainWindow {
public:
    MainWindow(Platform& platform, MainWindowServices services);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window with every control, runs Clear once and shows it.
    // False when the window cannot be created.
    bool Build();

    MainControls& Controls() { return c_; }
    ResultsWindow& Results() { return results_; }
    int CurrentPage() const { return currentPage_; }
    const CurrentTaxPage& CurrentTax() const { return currentTax_; }
    int CurrentTab() const { return currentTab_; }
    // The statistics page's ready state as the window last read it (4 once
    // it is complete). Any thread may ask.
    int StatsReadyState() const { return statsState_.load(); }

    // Navigation, as the tabs and the side menu do it.
    void SelectTab(int tab);
    void SelectSideEntry(int page);
    // Calculate: opens the results window beside this one, keeps the focus
    // here and computes the shown page.
    void Calculate();

private:
    void CreateTabsAndMenu();
    // Whether the side menu offers the page.
    bool Offers(int page) const;
    void CreateSharedControls();
    void BindHandlers();
    void ShowPage(int page, bool show);
    int OnControlEvent(int id, int kind);
    std::intptr_t OnMessage(int message, std::intptr_t wParam);
    int Paint(Graphics& g, int width, int height);
    void HelpEnter(int id);
    // Keys of the whole window (main_window_keys.cpp).
    bool OnShortcut(const ShortcutKey& key);
    void StepPage(int step);
    bool EnterComputes();
    void LoadStatsPage();
    void ReadStatsState();

    Platform& platform_;
    MainWindowServices services_;
    MainControls c_;
    ResultsWindow results_{c_};
    CurrentTaxPage currentTax_;
    int currentTab_ = 1;
    int currentPage_ = 1;
    // The hidden browser, which belongs to this window's thread: the window
    // reads its state on a timer and keeps it for other threads.
    UiWebBrowser statsBrowser_;
    std::atomic<int> statsState_{0};
};

}  // namespace qh
