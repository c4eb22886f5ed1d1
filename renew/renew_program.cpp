#include "renew/renew_program.h"

#include <memory>

#include "renew/installer.h"
#include "renew/site_settings.h"
#include "renew/updater_command.h"
#include "renew/updater_window.h"
#include "runtime/browser.h"
#include "runtime/single_instance.h"
#include "runtime/startup_trace.h"
#include "toolkit/message_box.h"
#include "toolkit/toolkit.h"

namespace qh {
int RunRenew(Platform& platform, const std::vector<Text>& arguments, const std::string& updatePublicKey) {
    Host& host = platform.WindowHost();
    ToolkitStartup(host, platform.Graphics());
    StartupMark("toolkit");
    // A second updater ends at once, whatever it was asked to do.
    const std::unique_ptr<SingleInstance> instance = SingleInstance::Acquire(kUpdaterInstanceName);
    if (!instance) return 0;

    const UpdaterCommand command = ParseUpdaterArguments(arguments);
    if (command.mode == UpdaterMode::kNone) return 0;
    if (command.mode == UpdaterMode::kInstall) {
        InstallRequest request;
        request.quitCalculator = [&host] { return QuitCalculators(host); };
        request.publicKey = updatePublicKey;
        const InstallResult result = InstallUpdate(request);
        if (result.outcome == InstallOutcome::kNothingWaiting) return 0;
        // The user learns why the new version is not there; the calculator,
        // old and whole, starts either way.
        if (result.outcome == InstallOutcome::kFailed) {
            ShowMessageBox(platform, 0, InstallFailedNotice(result), Text(), kBoxOk | kBoxIconWarning);
        }
        RelaunchCalculator(command.calculatorFile);
        return 0;
    }

    const SiteSettings settings = LoadSiteSettings();
    UpdaterState state;
    state.interactive = command.mode == UpdaterMode::kInteractive;
    state.calculatorFile = command.calculatorFile;
    state.localVersion = command.localVersion;
    state.calculatorProcessId = command.calculatorProcessId;
    state.siteUrl = settings.siteUrl;
    state.updateUrl = settings.updateUrl;
    state.publicKey = updatePublicKey;
    // The updater runs elevated; the browsers it opens (the banner, the
    // site after an update) run as the signed-in user, or not at all.
    Toolkit().openUrl = [](const Text& url) { OpenInBrowserAsUser(url); };
    UpdaterWindow window(platform, state);
    if (!window.Build()) return 0;
    StartupMark("window built");
    platform.RunMessageLoop();
    return 0;
}

}  // namespace qh
