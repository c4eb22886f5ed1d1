// The system services a driven program gets: the real ones, except that the
// programs it starts are recorded instead of started (a script must not
// launch a browser or a new updater), and that its own file lies in the
// folder the driver was told (so a script can give it an installation of
// its own to read and change).
#pragma once

#include <functional>
#include <string>

#include "runtime/system.h"

namespace qh {

class DriverSystem final : public SystemServices {
public:
    // Receives the command line of a program the driven program starts, as
    // UTF-8. It may be called from any thread of the program.
    using StartRecorder = std::function<void(const std::string& commandLine)>;

    // real: the services everything else goes to. programDirectory and
    // programFileName (GBK) make up ModulePath.
    DriverSystem(SystemServices& real, Text programDirectory, Text programFileName, StartRecorder record);

    Text ModulePath() override;
    char PathSeparator() const override { return real_.PathSeparator(); }
    // Records the command line and reports the program started.
    bool RunProgram(const Text& commandLine, bool wait, int showMode) override;
    // The same for the elevated start and the start as the user (recorded as
    // the quoted program and its parameters).
    bool RunProgramElevated(const Text& commandLine) override;
    bool RunProgramAsUser(const Text& program, const Text& parameters) override;
    bool FileExists(const Text& path) override { return real_.FileExists(path); }
    bool RenameFile(const Text& from, const Text& to) override { return real_.RenameFile(from, to); }
    std::optional<Text> ReadEnvironment(const Text& name) override { return real_.ReadEnvironment(name); }
    std::optional<Text> ReadRegistryString(RegistryRoot root, const Text& key, const Text& valueName) override {
        return real_.ReadRegistryString(root, key, valueName);
    }
    bool WriteRegistryString(RegistryRoot root, const Text& key, const Text& valueName, const Text& value) override {
        return real_.WriteRegistryString(root, key, valueName, value);
    }
    Text MapToHalfWidth(const Text& t) override { return real_.MapToHalfWidth(t); }
    std::string GbkToUtf8(const Text& t) override { return real_.GbkToUtf8(t); }
    Text Utf8ToGbk(const std::string& utf8) override { return real_.Utf8ToGbk(utf8); }
    std::vector<ToolArgument> ToolArguments(int argc, char** argv) override { return real_.ToolArguments(argc, argv); }
    void WriteToolOutput(const Text& t, bool toError) override { real_.WriteToolOutput(t, toError); }
    void WriteToolBytes(const std::string& bytes) override { real_.WriteToolBytes(bytes); }
    Text DocumentsFolder() override { return real_.DocumentsFolder(); }
    void ReportProblem(const Text& line) override { real_.ReportProblem(line); }
    void ShowFatalMessage(const Text& message, const Text& caption) override {
        real_.ShowFatalMessage(message, caption);
    }
    void StartThreadServices() override { real_.StartThreadServices(); }
    void EndThreadServices() override { real_.EndThreadServices(); }
    void Sleep(int milliseconds) override { real_.Sleep(milliseconds); }

private:
    SystemServices& real_;
    Text directory_;
    Text fileName_;
    StartRecorder record_;
};

}  // namespace qh
