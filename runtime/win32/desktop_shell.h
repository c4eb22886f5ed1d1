// Starting a program as the signed-in user from an elevated process, through
// the desktop shell (Explorer), which runs unelevated: the shell window's own
// IShellDispatch2::ShellExecute starts the program with Explorer's rights.
#pragma once

#include "runtime/text.h"

namespace qh {

// Asks the desktop shell to open program with parameters (passed on as
// written). False, with nothing started, when there is no desktop shell or
// any step of reaching it fails: the caller must not fall back to a start of
// its own, which would carry its rights along.
bool StartThroughDesktopShell(const Text& program, const Text& parameters);

}  // namespace qh
