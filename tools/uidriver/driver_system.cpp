#include "tools/uidriver/driver_system.h"

#include <utility>

#include "runtime/command_line.h"

namespace qh {

DriverSystem::DriverSystem(SystemServices& real, Text programDirectory, Text programFileName, StartRecorder record)
    : real_(real),
      directory_(std::move(programDirectory)),
      fileName_(std::move(programFileName)),
      record_(std::move(record)) {}

Text DriverSystem::ModulePath() {
    // A directory that already ends in a separator (the root) takes no second one.
    const char separator = real_.PathSeparator();
    if (!directory_.empty() && directory_.back() == separator) return directory_ + fileName_;
    return directory_ + separator + fileName_;
}

bool DriverSystem::RunProgram(const Text& commandLine, bool /*wait*/, int /*showMode*/) {
    if (record_) record_(real_.GbkToUtf8(commandLine));
    return true;
}

bool DriverSystem::RunProgramElevated(const Text& commandLine) { return RunProgram(commandLine, false, kShowNormal); }

bool DriverSystem::RunProgramAsUser(const Text& program, const Text& parameters) {
    return RunProgram(ProgramCommandLine(program, parameters), false, kShowNormal);
}

}  // namespace qh
