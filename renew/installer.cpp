#include "renew/installer.h"

#include <string>

#include "renew/file_names.h"
#include "renew/installed_version.h"
#include "renew/state_file.h"
#include "runtime/command_line.h"
#include "runtime/files.h"
#include "runtime/process.h"
#include "runtime/system.h"

namespace qh {
namespace {

// Pauses that give a quitting calculator time to let go of its files.
constexpr int kAfterQuitMs = 100;
constexpr int kBetweenFilesMs = 100;

bool IsPlainName(const Text& name) {
    return IsAllowedFileName(name) && name.find('\\') == Text::npos && name.find('/') == Text::npos;
}

}  // namespace

Text RelaunchCommandLine(const Text& calculatorFile, std::uint32_t updaterProcessId) {
    if (!IsPlainName(calculatorFile)) return Text();
    return QuotedPath(ProgramFile(calculatorFile)) + " " + std::to_string(updaterProcessId);
}

bool InstallUpdate(const InstallRequest& request) {
    const Text stateFile = ProgramFile(kStateFileName);
    PendingUpdate update;
    if (!ReadPendingUpdate(stateFile, update)) return false;
    if (request.quitCalculator) request.quitCalculator();
    Sleep(kAfterQuitMs);

    for (const Text& name : update.files) {
        if (!IsAllowedFileName(name)) continue;
        const Text staged = ProgramFile(StagingName(name));
        Sleep(kBetweenFilesMs);
        if (!FileExists(staged)) continue;
        const Text target = ProgramFile(name);
        CreateFolders(target);
        MoveFileOver(staged, target);
    }

    // The version is recorded before the state file goes, so that an update
    // whose state file is gone is always recorded.
    WriteInstalledVersion(update.version);
    RemoveFile(stateFile);
    if (request.relaunch) {
        const Text command = RelaunchCommandLine(request.calculatorFile, CurrentProcessId());
        if (!command.empty()) RunProgram(command, false);
    }
    return true;
}

}  // namespace qh
