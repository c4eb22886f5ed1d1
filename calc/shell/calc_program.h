// QingheCalc as a program that runs on any platform it is given: its own
// main (the platform's real windows) and the UI driver (headless windows)
// both run it.
#pragma once

#include <string>
#include <vector>

#include "toolkit/platform.h"

namespace qh {

// Starts the toolkit, hands off to the updater when an update waits, else
// builds the main window and runs the message loop. The calculator takes no
// command line; args are ignored. Returns the exit code.
int RunQingheCalc(Platform& platform, const std::vector<std::string>& args);

}  // namespace qh
