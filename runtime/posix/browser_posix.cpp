// The browser on Linux: the program $BROWSER names (the first of a
// colon-separated list), else the desktop's xdg-open.
#include "runtime/browser.h"
#include "runtime/command_line.h"
#include "runtime/system.h"

namespace qh {

bool OpenInBrowser(const Text& address) {
    const Text browsers = ReadEnvironment("BROWSER");
    const Text browser = browsers.substr(0, browsers.find(':'));
    if (!browser.empty() && RunProgram(QuotedPath(browser) + " " + QuotedPath(address), false)) return true;
    return RunProgram("xdg-open " + QuotedPath(address), false);
}

// Nothing here runs with rights a browser could inherit.
bool OpenInBrowserAsUser(const Text& address) { return OpenInBrowser(address); }

}  // namespace qh
