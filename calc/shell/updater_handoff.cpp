#include "calc/shell/updater_handoff.h"

#include <string>

#include "runtime/command_line.h"
#include "runtime/files.h"
#include "runtime/hex.h"
#include "runtime/process.h"
#include "runtime/system.h"
#include "runtime/xml/xml_tree.h"

namespace qh {
namespace {

constexpr const char* kStateFile = "update\\config.xml";
constexpr const char* kWaitingUpdater = "renew.ex_";
constexpr int kQuitRequest = 1024;

}  // namespace

Text UpdaterCommandLine(const Text& updaterPath, const Text& mode, const Text& calculatorFileName,
                        const Text& version, std::uint32_t processId) {
    return QuotedPath(updaterPath) + " " + mode + " " + HexEncode(calculatorFileName) + " " + HexEncode(version) +
           " " + HexEncode(std::to_string(processId));
}

Text InstallCommandLine(const Text& updaterPath, const Text& calculatorFileName, std::uint32_t processId) {
    return UpdaterCommandLine(updaterPath, "-m", calculatorFileName, kCalculatorVersion, processId);
}

HandOff HandOffToUpdater(bool startedWithArguments, const std::function<void(const Text&, const Text&, int)>& notify) {
    XmlTree state;
    if (state.LoadFile(ProgramFile(kStateFile))) {
        Text status;
        state.GetAttribute("@1/@2", "St", status);
        state.Close();
        // The updater relaunches the calculator with an argument, also after
        // an install that failed and left its state: no second start then.
        if (status != "1" || startedWithArguments) return HandOff::kContinue;
        const bool started = RunProgramElevated(
            InstallCommandLine(ProgramFile(ExecutableName("renew")), ModuleFileName(), CurrentProcessId()));
        return started ? HandOff::kEnd : HandOff::kContinue;
    }
    const Text waiting = ProgramFile(kWaitingUpdater);
    if (FileExists(waiting)) {
        if (notify) notify("Ex_DirectUI", kUpdaterTitle, kQuitRequest);
        MoveFileOver(waiting, ProgramFile(ExecutableName("renew")));
    }
    return HandOff::kContinue;
}

}  // namespace qh
