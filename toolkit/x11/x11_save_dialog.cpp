// The X11 host's save dialog: the desktop's own file chooser through
// zenity (GNOME and most others) or kdialog (KDE), whichever is installed,
// run and waited for like a modal dialog. Without either the host has no
// dialog, and the caller saves into the documents folder.
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/system.h"
#include "toolkit/x11/x11_state.h"

namespace qh::x11 {
namespace {

// A text as one single-quoted word of a shell command line.
std::string ShellWord(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

bool Installed(const char* program) {
    const std::string check = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(check.c_str()) == 0;
}

// Runs the command and reads its first line of output; nullopt when it
// ended with a failure status (the user cancelled).
std::optional<std::string> FirstLine(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::string line;
    for (int c; (c = std::fgetc(pipe)) != EOF && c != '\n';) line += static_cast<char>(c);
    while (std::fgetc(pipe) != EOF) {
    }
    const int status = ::pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || line.empty()) return std::nullopt;
    return line;
}

}  // namespace

std::optional<Text> X11Host::ChooseSaveFile(HostHandle, const Text& title, const Text& suggestedName) {
    SystemServices& system = System();
    const std::string name = system.GbkToUtf8(suggestedName);
    const std::string caption = system.GbkToUtf8(title);
    std::string command;
    if (Installed("zenity")) {
        command = "zenity --file-selection --save --confirm-overwrite --title=" + ShellWord(caption) +
                  " --filename=" + ShellWord(name) + " 2>/dev/null";
    } else if (Installed("kdialog")) {
        command = "kdialog --title " + ShellWord(caption) + " --getsavefilename " + ShellWord(name) +
                  " 'text/csv' 2>/dev/null";
    } else {
        return Text();
    }
    const std::optional<std::string> chosen = FirstLine(command);
    if (!chosen) return std::nullopt;
    return system.Utf8ToGbk(*chosen);
}

}  // namespace qh::x11
