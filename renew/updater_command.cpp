#include "renew/updater_command.h"

#include "runtime/command_line.h"
#include "runtime/convert.h"
#include "runtime/hex.h"

namespace qh {

UpdaterCommand ParseUpdaterCommand(const Text& commandLine) {
    UpdaterCommand command;
    const CommandLineParts parts = SplitCommandLine(commandLine);
    if (parts.arguments.size() != 4) return command;
    command.calculatorFile = HexDecode(parts.arguments[1]);
    command.localVersion = HexDecode(parts.arguments[2]);
    command.calculatorProcessId = ToInteger(HexDecode(parts.arguments[3]));
    const Text& mode = parts.arguments[0];
    if (mode == "-s") command.mode = UpdaterMode::kInteractive;
    if (mode == "-h") command.mode = UpdaterMode::kAutomatic;
    if (mode == "-m") command.mode = UpdaterMode::kInstall;
    return command;
}

}  // namespace qh
