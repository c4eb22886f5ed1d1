// The operating system services the runtime needs, behind one narrow
// interface with a Win32 and a POSIX implementation. The platform_init file of
// each platform is the only place that names its concrete class.
//
// Every text crossing this interface is GBK; each implementation converts at
// its own edge (UTF-16 on Windows, UTF-8 on Linux).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "runtime/text.h"

namespace qh {

// The registry roots, numbered as ReadRegistryText takes them.
enum class RegistryRoot : int {
    ClassesRoot = 1,
    CurrentConfig = 2,
    CurrentUser = 3,
    LocalMachine = 4,
    Users = 5,
};

// One command-line argument of a console tool. The text is GBK; a character
// that GBK cannot hold becomes '?' there, and exact says whether that
// happened. The path is the argument as the system gave it (bytes on Linux,
// UTF-16 on Windows), so a file name is used as typed even where GBK cannot
// spell it.
struct ToolArgument {
    Text text;
    bool exact = true;
    std::filesystem::path path;
};

class SystemServices {
public:
    virtual ~SystemServices() = default;

    // Full path of the running executable.
    virtual Text ModulePath() = 0;
    // The character that separates levels of a path on this platform.
    virtual char PathSeparator() const = 0;

    // Starts a process from a command line (program and arguments in one
    // text); showMode is already mapped to a platform-neutral value of
    // ShowMode. Returns whether the process started.
    virtual bool RunProgram(const Text& commandLine, bool wait, int showMode) = 0;
    // Starts a program that needs administrator rights from a command line,
    // without waiting for it. On Windows the system asks the user's consent
    // (UAC); false when the user declines or the start fails.
    virtual bool RunProgramElevated(const Text& commandLine) = 0;
    // Starts a program as the signed-in user, with none of the rights of an
    // elevated caller, without waiting for it; parameters are passed on as
    // written. On Windows the desktop shell starts it; where the shell cannot
    // be reached, nothing starts and the answer is false.
    virtual bool RunProgramAsUser(const Text& program, const Text& parameters) = 0;
    virtual bool FileExists(const Text& path) = 0;
    // Moves a file; fails when the target exists.
    virtual bool RenameFile(const Text& from, const Text& to) = 0;
    // The variable's value, or nothing when it is not set.
    virtual std::optional<Text> ReadEnvironment(const Text& name) = 0;
    // The user's documents folder (on Linux the XDG one, as xdg-user-dir
    // DOCUMENTS names it; the home folder when none is set up).
    virtual Text DocumentsFolder() = 0;

    // A string value of the registry (or of its Linux store); nothing when the
    // key or value is missing or is not a string.
    virtual std::optional<Text> ReadRegistryString(RegistryRoot root, const Text& key,
                                                   const Text& valueName) = 0;
    virtual bool WriteRegistryString(RegistryRoot root, const Text& key, const Text& valueName,
                                     const Text& value) = 0;

    // The platform's half-width mapping of full-width characters.
    virtual Text MapToHalfWidth(const Text& t) = 0;

    virtual std::string GbkToUtf8(const Text& t) = 0;
    virtual Text Utf8ToGbk(const std::string& utf8) = 0;

    // The command-line arguments of a console tool, program name excluded.
    // Windows reads them as Unicode from the process itself.
    virtual std::vector<ToolArgument> ToolArguments(int argc, char** argv) = 0;
    // Writes text to the standard output or error of a console tool: UTF-8
    // bytes, or Unicode when the stream is a Windows console.
    virtual void WriteToolOutput(const Text& t, bool toError) = 0;
    // Writes bytes to standard output as they are (a file's contents, such
    // as a UTF-8 CSV), console or not.
    virtual void WriteToolBytes(const std::string& bytes) = 0;
    // Reports a problem the program goes on without (one line): on standard
    // error, and on Windows, where a windowed program has none, also in the
    // debugger's output.
    virtual void ReportProblem(const Text& line) = 0;

    // Shows a fatal error to the user (a message box with the error icon).
    virtual void ShowFatalMessage(const Text& message, const Text& caption) = 0;

    // Per-thread and per-process start and end of the platform's services
    // (COM on Windows).
    virtual void StartThreadServices() = 0;
    virtual void EndThreadServices() = 0;

    virtual void Sleep(int milliseconds) = 0;
};

// The services the runtime's operations use: the ones installed with
// OverrideSystemServices, else the platform's own.
SystemServices& System();
// The platform's own services, created on first use, whatever is installed
// in front of them. Platform code that needs its concrete class takes these.
SystemServices& PlatformSystem();
// Puts services in front of the platform's, for a tool that runs a program of
// the project under its control (the UI driver records the programs it
// starts instead of starting them); null takes them away again. Returns what
// was installed before, null for the platform's own. The caller keeps the
// object alive while it is installed, and installs and removes it while no
// other thread of the program runs.
SystemServices* OverrideSystemServices(SystemServices* services);

// Show modes of RunProgram, numbered as callers pass them.
enum ShowMode : int {
    kShowHidden = 1,
    kShowMinimized = 3,
    kShowMaximized = 4,
    kShowNoActivate = 5,
    kShowMinimizedNoActivate = 6,
    kShowNormal = 10,  // any other value, or an absent mode
};

// The runtime's system operations, as the programs call them.
Text ModulePath();
// The module path without its last separator and file name.
Text ModuleDirectory();
// The part of the module path after the last separator.
Text ModuleFileName();
// The program directory joined with a name relative to it ("update\config.xml").
Text ProgramFile(const Text& relativeName);
bool RunProgram(const Text& commandLine, bool wait, std::optional<int> showMode = std::nullopt);
// The updater's start from the calculator, which runs unelevated.
bool RunProgramElevated(const Text& commandLine);
// Starts from the elevated updater that must not carry its rights along: the
// relaunched calculator, the browser.
bool RunProgramAsUser(const Text& program, const Text& parameters);
bool FileExists(const Text& path);
bool RenameFile(const Text& from, const Text& to);
Text ReadEnvironment(const Text& name);
// root 1..5 as RegistryRoot; keyAndValue is "key\value name" (no backslash:
// the key's default value). Returns the default text, else empty, when the
// value is missing, empty or not a string.
Text ReadRegistryText(int root, const Text& keyAndValue, const Text& defaultText = Text());
bool WriteRegistryText(int root, const Text& keyAndValue, const Text& value);
void Sleep(int milliseconds);

}  // namespace qh
