#include "calc/shell/calc_program.h"

#include <functional>
#include <memory>
#include <optional>

#include "calc/loans/rate_tables.h"
#include "calc/loans/rules_document.h"
#include "calc/shell/about_window.h"
#include "calc/shell/calc_images.h"
#include "calc/shell/main_window.h"
#include "calc/shell/plan_window.h"
#include "calc/shell/updater_handoff.h"
#include "calc/shell/version_check.h"
#include "renew/site_settings.h"
#include "runtime/browser.h"
#include "runtime/convert.h"
#include "runtime/startup_trace.h"
#include "runtime/system.h"
#include "toolkit/image.h"
#include "toolkit/toolkit.h"

namespace qh {
namespace {

// How long the calculator keeps asking updater windows to quit before it
// goes on: a window of another program with the same class and title would
// otherwise keep it waiting for ever.
constexpr int kNotifyRounds = 50;
constexpr int kNotifyPauseMs = 100;

// Sends the message to every window of that class and title until none is
// left, as each one goes away when it handles the message.
void NotifyUntilGone(Host& host, const Text& className, const Text& title, int message) {
    for (int round = 0; round < kNotifyRounds; ++round) {
        if (host.NotifyWindows(className, title, message) == 0) return;
        host.Sleep(kNotifyPauseMs);
    }
}

// The rules document beside the program (the rates and taxes the maker
// publishes). A missing one is no problem; a refused one is reported once.
// Either way the built-in tables stay in force.
std::optional<RulesDocument> ReadRules() {
    RulesReadResult read = LoadRulesDocument(ProgramFile(kRulesFileName));
    if (!read.error.empty()) {
        System().ReportProblem(Text(kRulesFileName) + ": " + read.error + "; the built-in rates and taxes are used");
    }
    return std::move(read.rules);
}

// What the plan window starts with from the side menu: 100 万 over 30 年 at
// the first rate the housing page offers.
PlanForm StartingPlanForm() {
    PlanForm form;
    form.amount = "100";
    form.term = "30";
    form.rate = ToText(TableOf(RateOptionSet::Commercial).values.front());
    return form;
}

}  // namespace

int RunQingheCalc(Platform& platform, const std::vector<std::string>& arguments) {
    Host& host = platform.WindowHost();
    ToolkitStartup(host, platform.Graphics());
    for (const auto& [base, twice] : CalcDoubleImages()) RegisterDoubleImage(base, twice);
    StartupMark("toolkit: default font");
    const HandOff handOff = HandOffToUpdater(
        !arguments.empty(), [&host](const Text& className, const Text& title, int message) {
            NotifyUntilGone(host, className, title, message);
        });
    if (handOff == HandOff::kEnd) return 0;
    StartupMark("hand-off");

    const SiteSettings settings = LoadSiteSettings();
    MainWindowServices services;
    services.siteUrl = settings.siteUrl;
    if (!settings.updateUrl.empty()) services.statsUrl = settings.updateUrl + "tongji.html";
    services.runProgram = [](const Text& commandLine) { return RunProgram(commandLine, false); };
    // Links, the banner and the loan search all open the user's browser.
    Toolkit().openUrl = [](const Text& url) { OpenInBrowser(url); };
    services.openInBrowser = Toolkit().openUrl;
    std::unique_ptr<AboutWindow> about;
    services.openAbout = [&about] {
        if (about) about->Show();
    };
    std::unique_ptr<PlanWindow> plan;
    services.openPlan = [&plan](const std::optional<PlanForm>& form) {
        if (plan) plan->Show(form ? *form : StartingPlanForm());
    };
    const std::optional<RulesDocument> rules = ReadRules();
    UseRulesDocument(rules ? &*rules : nullptr);
    if (rules) services.currentTaxRules = &rules->taxes;
    MainWindow main(platform, services);
    if (!main.Build()) return 3;
    about = std::make_unique<AboutWindow>(main.Controls().hwnd, settings.siteUrl,
                                          rules ? RulesDateText(rules->edition) : Text());
    plan = std::make_unique<PlanWindow>(main.Controls().hwnd, rules ? RateHistory(*rules) : RateHistory::BuiltIn());
    // Declared after the main window, so it stops before the window goes.
    std::function<int()> statsReadyState;
    if (!services.statsUrl.empty()) statsReadyState = [&main] { return main.StatsReadyState(); };
    VersionCheck versionCheck(settings.updateUrl, statsReadyState);
    versionCheck.Start();
    StartupMark("version check started");
    return platform.RunMessageLoop();
}

}  // namespace qh
