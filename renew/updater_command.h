// The updater's command line, as the calculator writes it: a mode and three
// hexadecimal fields, the calculator's file name, its version and its
// process id.
//   renew -s|-h|-m NAME-HEX VERSION-HEX PID-HEX
#pragma once

#include <cstdint>

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

// Reads the command line (the program's name first). The mode is compared
// exactly: "-S" is no mode.
UpdaterCommand ParseUpdaterCommand(const Text& commandLine);

}  // namespace qh
