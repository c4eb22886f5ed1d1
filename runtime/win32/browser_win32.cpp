// The browser on Windows: the program the registry names for http, started
// through the shell with the address as its only parameter, quoted, so an
// address can never become more than one argument.
#include <windows.h>
#include <shellapi.h>

#include "runtime/browser.h"
#include "runtime/command_line.h"
#include "runtime/system.h"
#include "runtime/win32/system_win32.h"

namespace qh {

namespace {

// The program of the registry's http "open" command, else Internet Explorer.
Text BrowserProgram() {
    const Text command = ReadRegistryText(static_cast<int>(RegistryRoot::ClassesRoot), "http\\shell\\open\\command\\");
    const Text fallback = ReadEnvironment("ProgramFiles") + "\\Internet Explorer\\iexplore.exe";
    const Text browser = BrowserPathOf(command, fallback);
    return FileExists(browser) ? browser : fallback;
}

}  // namespace

bool OpenInBrowser(const Text& address) {
    const Text browser = BrowserProgram();
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", GbkToWide(browser).c_str(),
                                           GbkToWide(QuotedPath(address)).c_str(),
                                           L"", SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool OpenInBrowserAsUser(const Text& address) { return RunProgramAsUser(BrowserProgram(), QuotedPath(address)); }

}  // namespace qh
