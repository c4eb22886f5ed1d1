// The installation of a staged update: the staged files of "update\" move
// into the program folder, the new version is recorded and the state file
// goes; the calculator, which must not run meanwhile, is asked to quit
// first and may be started again at the end.
#pragma once

#include <functional>

#include "runtime/text.h"

namespace qh {

struct InstallRequest {
    // Starts the calculator again at the end: the program folder's file of
    // this name, with the updater's process id as its one argument.
    bool relaunch = false;
    Text calculatorFile;
    // Makes every running calculator window quit and returns when none is
    // left (message 1024 to the windows of class "Ex_DirectUI" titled
    // "青禾计算器").
    std::function<void()> quitCalculator;
};

// Installs what the state file lists. False, with nothing touched, when
// there is no state file to read.
//
// Each listed name passes the name check again (a state file naming a path
// outside the program folder installs nothing for that name), and a listed
// file whose staged copy is missing (an earlier, interrupted run already
// moved it) leaves the installed file alone. Each file replaces its
// installed copy in one step, so an interrupted run leaves every file either
// old or new, and the state file stays until every file is in place: the
// next start of the calculator runs the installation again and completes it.
bool InstallUpdate(const InstallRequest& request);

// The relaunch command line: the calculator's quoted path and the updater's
// process id. Empty when the file name is not a plain name in the program
// folder.
Text RelaunchCommandLine(const Text& calculatorFile, std::uint32_t updaterProcessId);

}  // namespace qh
