// SystemServices on Linux and other POSIX systems.
//
// Implements: module path (/proc/self/exe), process start through the
// runtime's own command-line splitting and posix_spawn, files with "\" mapped
// to "/", environment, the file-backed registry store, the half-width mapping
// of GBK's full-width forms, GBK <-> UTF-8 through iconv, console output in
// UTF-8. Fatal messages go to standard error: the runtime sits below the
// toolkit and has no window of its own on this platform.
#pragma once

#include "runtime/system.h"

namespace qh {

class PosixSystem final : public SystemServices {
public:
    Text ModulePath() override;
    char PathSeparator() const override { return '/'; }
    bool RunProgram(const Text& commandLine, bool wait, int showMode) override;
    // A per-user installation needs no elevation, and nothing here runs
    // with rights to drop: both are the plain start.
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
    void StartThreadServices() override {}
    void EndThreadServices() override {}
    void Sleep(int milliseconds) override;

    // The file-system name of a GBK path: UTF-8, with "\" between levels
    // turned into "/".
    std::string NativePath(const Text& path);
    // Where the registry store of a root is kept.
    std::string RegistryFile(RegistryRoot root);
};

}  // namespace qh
