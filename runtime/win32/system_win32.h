// SystemServices on Windows.
//
// Implements: module path (GetModuleFileNameW), process start (CreateProcessW
// with inherited handles and the show mode; ShellExecuteExW with "runas" for
// the start that asks for elevation; the desktop shell for the start as the
// signed-in user), files (GetFileAttributesW,
// MoveFileW), environment, the registry (string values), the half-width
// mapping (LCMapStringW, locale 2052), GBK <-> UTF-8 through UTF-16 with code
// page 936, Unicode console arguments (GetCommandLineW) and output, fatal
// message boxes, COM per thread. Every call goes to the W functions, so the
// programs work whatever the system's ANSI code page is.
#pragma once

#include <string>

#include "runtime/system.h"

namespace qh {

class Win32System final : public SystemServices {
public:
    Text ModulePath() override;
    char PathSeparator() const override { return '\\'; }
    bool RunProgram(const Text& commandLine, bool wait, int showMode) override;
    bool RunProgramElevated(const Text& commandLine) override;
    bool RunProgramAsUser(const Text& program, const Text& parameters) override;
    bool FileExists(const Text& path) override;
    bool RenameFile(const Text& from, const Text& to) override;
    std::optional<Text> ReadEnvironment(const Text& name) override;
    std::optional<Text> ReadRegistryString(RegistryRoot root, const Text& key,
                                           const Text& valueName) override;
    bool WriteRegistryString(RegistryRoot root, const Text& key, const Text& valueName,
                             const Text& value) override;
    Text MapToHalfWidth(const Text& t) override;
    std::string GbkToUtf8(const Text& t) override;
    Text Utf8ToGbk(const std::string& utf8) override;
    std::vector<ToolArgument> ToolArguments(int argc, char** argv) override;
    void WriteToolOutput(const Text& t, bool toError) override;
    void WriteToolBytes(const std::string& bytes) override;
    Text DocumentsFolder() override;
    void ReportProblem(const Text& line) override;
    void ShowFatalMessage(const Text& message, const Text& caption) override;
    void StartThreadServices() override;
    void EndThreadServices() override;
    void Sleep(int milliseconds) override;
};

// Conversions between GBK and UTF-16, for every Win32 call of the programs.
std::wstring GbkToWide(const Text& t);
Text WideToGbk(const std::wstring& w);

}  // namespace qh
