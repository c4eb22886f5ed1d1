// The updater's command line, as the calculator writes it: a mode and three
// hexadecimal fields, the calculator's file name, its version and its
// process id.
//   renew -s|-h|-m NAME-HEX VERSION-HEX PID-HEX
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/text.h"

namespace qh {

enum class UpdaterMode {
    kNone,         // not exactly four arguments, or an unknown mode: do nothing
    kInteractive,  // "-s": the window is shown and every stage waits for the user
    kAutomatic,    // "-h": the window stays hidden and the stages run by themselves
    kInstall,      // "-m": install the staged update, then start the calculator
};

struct UpdaterCommand {
    UpdaterMode mode = UpdaterMode::kNone;
    Text calculatorFile;  // the calculator's file name, without a folder
    Text localVersion;    // the version the calculator reports
    std::int32_t calculatorProcessId = 0;
};

// Reads the arguments (without the program's name). The mode is compared
// exactly: "-S" is no mode.
UpdaterCommand ParseUpdaterArguments(const std::vector<Text>& arguments);
// The same for a whole command line, the program's name first, split as the
// runtime splits every command line.
UpdaterCommand ParseUpdaterCommand(const Text& commandLine);

}  // namespace qh
