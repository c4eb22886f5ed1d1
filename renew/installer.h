// The installation of a staged update: the staged files of "update\" are
// checked against the kept file list, move into the program folder, the new
// version is recorded and the state file goes; the calculator, which must
// not run meanwhile, is asked to quit first. Either every listed file ends
// in place and the version is recorded, or the program folder is put back as
// it was and nothing is recorded.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "runtime/text.h"

namespace qh {

struct InstallRequest {
    // Makes every running calculator window quit; false when one is still
    // there after a bounded wait (message 1024 to the windows of class
    // "Ex_DirectUI" titled "青禾计算器").
    std::function<bool()> quitCalculator;
    // The maker's public key (PEM); when set, the kept list is taken only
    // with a valid signature by it and only for the state file's version.
    std::string publicKey;
};

enum class InstallOutcome {
    kNothingWaiting,  // no state file: nothing was touched
    kInstalled,       // every file in place, the version recorded
    kFailed,          // the program folder as it was, the state file kept
};

struct InstallResult {
    InstallOutcome outcome = InstallOutcome::kNothingWaiting;
    // Why a failed install failed, for the user: a short sentence that names
    // the file concerned, without a final stop.
    Text reason;
};

// Installs what the state file lists.
//
// Before anything moves, the kept list is loaded (and, with a key, its
// signature verified and its version compared with the state file's), and
// each listed file's staged copy must match the list's digests and size. A
// listed file whose staged copy is missing (an earlier, interrupted run
// moved it) counts as in place only when the installed file matches the
// list. Each listed name passes the name check again; a name the check
// refuses is never written.
//
// Each installed file is copied to "update\backup\" once before it is
// replaced in one step; a replacement that fails is tried again for a few
// seconds. When one still fails, every file moved by this run is put back
// and its new copy staged again, and the state file stays: the next run
// tries again. On success the version is recorded before the state file
// goes, then the copies and the kept list go.
InstallResult InstallUpdate(const InstallRequest& request);

// The failure for the user: in the updater window, and in the box that
// install mode shows (which also says the next start tries again).
Text InstallFailedStatus(const InstallResult& result);
Text InstallFailedNotice(const InstallResult& result);

// Starts the calculator again: the program folder's file of this name, with
// the updater's process id as its one argument. Nothing starts when the name
// is not a plain name in the program folder.
void RelaunchCalculator(const Text& calculatorFile);

// The program the relaunch starts: the calculator's path in the program
// folder. Empty when the file name is not a plain name in the program folder.
Text RelaunchTarget(const Text& calculatorFile);

}  // namespace qh
