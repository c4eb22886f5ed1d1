// Opening a web address in the user's own browser.
#pragma once

#include "runtime/text.h"

namespace qh {

// The browser program named by a shell "open" command: the text between its
// first two double quotes when it has a quote (empty when the closing one is
// missing), else the whole command, or fallback when the command is empty.
// Arguments after the program, such as a placeholder for the address, are
// not part of it.
Text BrowserPathOf(const Text& command, const Text& fallback);

// Starts the user's browser with the address as its only argument; true
// when the browser started. Windows: the program of the registry's
// http\shell\open\command, else Internet Explorer under %ProgramFiles%.
// Linux: $BROWSER, else xdg-open.
bool OpenInBrowser(const Text& address);

// The same browser, started as the signed-in user (RunProgramAsUser) with
// the address as one quoted argument: what an elevated program opens, so
// that the browser does not run with its rights. False, with nothing opened,
// where that start is not available. Linux: OpenInBrowser.
bool OpenInBrowserAsUser(const Text& address);

}  // namespace qh
