// The runtime's system operations: the portable half (path splitting, argument
// checks) over the platform's SystemServices.
#include "runtime/system.h"

#include <atomic>

namespace qh {
namespace {

// Splits keyAndValue at its last backslash into key and value name.
void SplitKeyAndValue(const Text& keyAndValue, Text& key, Text& valueName) {
    const int slash = FindLastAsciiByte(keyAndValue, '\\');
    if (slash == 0) {
        key = keyAndValue;
        valueName.clear();
        return;
    }
    key = keyAndValue.substr(0, static_cast<size_t>(slash) - 1);
    valueName = keyAndValue.substr(static_cast<size_t>(slash));
}

bool ValidRoot(int root) { return root >= 1 && root <= 5; }

int LastSeparator(const Text& path) {
    const int native = FindLastAsciiByte(path, System().PathSeparator());
    const int backslash = FindLastAsciiByte(path, '\\');
    return native > backslash ? native : backslash;
}

// Services installed in front of the platform's, or null. Atomic because
// worker threads read it while the program runs.
std::atomic<SystemServices*> gOverride{nullptr};

}  // namespace

SystemServices& System() {
    SystemServices* installed = gOverride.load(std::memory_order_acquire);
    return installed != nullptr ? *installed : PlatformSystem();
}

SystemServices* OverrideSystemServices(SystemServices* services) {
    return gOverride.exchange(services, std::memory_order_acq_rel);
}

Text ModulePath() { return System().ModulePath(); }

Text ModuleDirectory() {
    const Text path = ModulePath();
    const int at = LastSeparator(path);
    return at == 0 ? Text() : path.substr(0, static_cast<size_t>(at) - 1);
}

Text ModuleFileName() {
    const Text path = ModulePath();
    return path.substr(static_cast<size_t>(LastSeparator(path)));
}

Text ProgramFile(const Text& relativeName) { return ModuleDirectory() + "\\" + relativeName; }

bool RunProgram(const Text& commandLine, bool wait, std::optional<int> showMode) {
    if (commandLine.empty()) return false;
    int mode = showMode.value_or(kShowNormal);
    switch (mode) {
        case kShowHidden:
        case kShowMinimized:
        case kShowMaximized:
        case kShowNoActivate:
        case kShowMinimizedNoActivate:
            break;
        default:
            mode = kShowNormal;
    }
    return System().RunProgram(commandLine, wait, mode);
}

bool RunProgramElevated(const Text& commandLine) {
    return !commandLine.empty() && System().RunProgramElevated(commandLine);
}

bool RunProgramAsUser(const Text& program, const Text& parameters) {
    return !program.empty() && System().RunProgramAsUser(program, parameters);
}

bool FileExists(const Text& path) { return !path.empty() && System().FileExists(path); }

bool RenameFile(const Text& from, const Text& to) {
    return !from.empty() && !to.empty() && System().RenameFile(from, to);
}

Text ReadEnvironment(const Text& name) {
    if (name.empty()) return {};
    return System().ReadEnvironment(name).value_or(Text());
}

Text ReadRegistryText(int root, const Text& keyAndValue, const Text& defaultText) {
    if (!ValidRoot(root) || keyAndValue.empty()) return defaultText;
    Text key, valueName;
    SplitKeyAndValue(keyAndValue, key, valueName);
    const auto value = System().ReadRegistryString(static_cast<RegistryRoot>(root), key, valueName);
    if (!value || value->empty()) return defaultText;
    return *value;
}

bool WriteRegistryText(int root, const Text& keyAndValue, const Text& value) {
    if (!ValidRoot(root) || keyAndValue.empty()) return false;
    Text key, valueName;
    SplitKeyAndValue(keyAndValue, key, valueName);
    return System().WriteRegistryString(static_cast<RegistryRoot>(root), key, valueName, value);
}

void Sleep(int milliseconds) { System().Sleep(milliseconds < 0 ? 0 : milliseconds); }

}  // namespace qh
