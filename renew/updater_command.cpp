#include "renew/updater_command.h"

#include "runtime/command_line.h"
#include "runtime/convert.h"
#include "runtime/hex.h"

namespace qh {

UpdaterCommand ParseUpdaterCommand(const Text& commandLine) {
    return ParseUpdaterArguments(SplitCommandLine(commandLine).arguments);
}

UpdaterCommand ParseUpdaterArguments(const std::vector<Text>& arguments) {
    UpdaterCommand command;
    if (arguments.size() != 4) return command;
    command.calculatorFile = HexDecode(arguments[1]);
    command.localVersion = HexDecode(arguments[2]);
    command.calculatorProcessId = ToInteger(HexDecode(arguments[3]));
    const Text& mode = arguments[0];
    if (mode == "-s") command.mode = UpdaterMode::kInteractive;
    if (mode == "-h") command.mode = UpdaterMode::kAutomatic;
    if (mode == "-m") command.mode = UpdaterMode::kInstall;
    return command;
}

}  // namespace qh
