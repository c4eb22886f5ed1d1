// The calculator's half of the hand-off to its updater at start-up, before
// any window exists: a downloaded update waiting to be installed makes the
// calculator start the updater in install mode and end; otherwise a newly
// delivered updater ("renew.ex_") replaces the old one.
#pragma once

#include <functional>

#include "runtime/product_version.h"
#include "runtime/text.h"

namespace qh {

// The version the calculator reports to the updater: the built-in version,
// the one the installers record.
inline constexpr const char* kCalculatorVersion = kProductVersion;
// The updater window's title, which the calculator asks to quit before it
// replaces the updater's file.
inline constexpr const char* kUpdaterTitle = "青禾计算器升级程序";

// A command line that starts the updater: the quoted updater path, the mode
// ("-m" install, "-h" check in the background) and the hexadecimal
// calculator file name, version and process id, which the updater reads.
Text UpdaterCommandLine(const Text& updaterPath, const Text& mode, const Text& calculatorFileName,
                        const Text& version, std::uint32_t processId);

// The updater's install command line: the quoted updater path, " -m " and
// the hexadecimal calculator file name, version and process id.
Text InstallCommandLine(const Text& updaterPath, const Text& calculatorFileName, std::uint32_t processId);

enum class HandOff { kContinue, kEnd };

// Reads "update\config.xml" of the program folder. When its "ALL" element
// has St="1", starts the updater in install mode (elevated: on Windows the
// user is asked) and answers kEnd; when the updater does not start (the user
// declined, or it is missing), answers kContinue so that the calculator
// opens, and the next start asks again. A calculator started with arguments
// (the updater relaunching it with its process id after an install, which
// may have failed) never starts the updater, so a failed install cannot
// loop. When the file cannot be read and "renew.ex_" exists,
// notify(class, title, 1024) asks every updater window to quit and the new
// updater is moved over the old one (a failed move leaves both files for the
// next start). Otherwise nothing is touched.
HandOff HandOffToUpdater(bool startedWithArguments,
                         const std::function<void(const Text& className, const Text& title, int message)>& notify);

}  // namespace qh
