#include "calc/shell/version_check.h"

#include <algorithm>
#include <utility>

#include "calc/shell/updater_handoff.h"
#include "calc/shell/version_text.h"
#include "renew/installed_version.h"
#include "runtime/files.h"
#include "runtime/http.h"
#include "runtime/process.h"
#include "runtime/system.h"

namespace qh {
namespace {

constexpr const char* kVersionFile = "version.txt";
// The statistics page gets this long before its state is first read, then
// is asked again at every step.
constexpr int kStatsGraceMs = 3000;
constexpr int kStatsPollMs = 10;

}  // namespace

Text ServerVersion(const Bytes& answer) {
    const auto end = std::find(answer.begin(), answer.end(), std::uint8_t{0});
    if (end - answer.begin() > static_cast<std::ptrdiff_t>(kMaxServerVersionBytes)) return Text();
    return Text(answer.begin(), end);
}

Text InstalledVersionOrDefault() {
    const Text installed = ReadInstalledVersion();
    return installed.empty() ? Text(kCalculatorVersion) : installed;
}

std::optional<Text> BackgroundCheckCommand(const Text& serverVersion, const Text& installedVersion,
                                           const Text& updaterPath, const Text& calculatorFileName,
                                           std::uint32_t processId) {
    if (serverVersion == installedVersion) return std::nullopt;
    return UpdaterCommandLine(updaterPath, "-h", calculatorFileName, installedVersion, processId);
}

VersionCheck::VersionCheck(Text updateUrl, std::function<int()> statsReadyState)
    : updateUrl_(std::move(updateUrl)), statsReadyState_(std::move(statsReadyState)) {}

VersionCheck::~VersionCheck() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void VersionCheck::Start() {
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
}

bool VersionCheck::Pause(int milliseconds) {
    for (int waited = 0; waited < milliseconds && !stop_; waited += kStatsPollMs) Sleep(kStatsPollMs);
    return !stop_;
}

void VersionCheck::Run() {
    if (updateUrl_.empty()) {
        // Without an update server there is nothing to ask and nobody to start.
        SetVersionText(InstalledVersionOrDefault());
    } else {
        HttpOptions options;
        options.cancel = &stop_;
        const Text server = ServerVersion(HttpRequest(updateUrl_ + kVersionFile, options));
        const Text installed = InstalledVersionOrDefault();
        SetVersionText(installed);
        if (stop_) return;
        const auto command = BackgroundCheckCommand(server, installed, ProgramFile(ExecutableName("renew")),
                                                    ModuleFileName(), CurrentProcessId());
        // An installation the user cannot change (a system package) is kept
        // current by its package manager, never by our updater.
        // On Windows the updater asks for administrator rights: the user is
        // asked; a declined start leaves the calculator as it is.
        if (command && FolderTakesUpdates(ModuleDirectory())) RunProgramElevated(*command);
    }

    // The statistics page, when one is loading, is waited for; a page that
    // never completes keeps the thread asking until the program ends.
    if (statsReadyState_) {
        if (!Pause(kStatsGraceMs)) return;
        while (statsReadyState_() != kStatsComplete) {
            if (!Pause(kStatsPollMs)) return;
        }
    }
    TrimWorkingSet();
}

}  // namespace qh
