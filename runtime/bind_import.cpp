#include "runtime/bind_import.h"

#include <cstdlib>
#include <mutex>
#include <vector>

#include "runtime/fatal.h"
#include "runtime/lifecycle.h"

namespace qh {
namespace {

struct LoadedModules {
    std::mutex mutex;
    std::vector<void*> handles;  // loaded here, freed at exit
    bool exitRegistered = false;
};

LoadedModules& Modules() {
    static LoadedModules modules;
    return modules;
}

void FreeLoadedModules() {
    std::lock_guard lock(Modules().mutex);
    for (auto it = Modules().handles.rbegin(); it != Modules().handles.rend(); ++it) {
        platform::UnloadModule(*it);
    }
    Modules().handles.clear();
}

void* ModuleHandle(const Text& moduleName) {
    if (void* loaded = platform::FindLoadedModule(moduleName)) return loaded;
    void* handle = platform::LoadModule(moduleName);
    if (!handle) return nullptr;
    std::lock_guard lock(Modules().mutex);
    Modules().handles.push_back(handle);
    if (!Modules().exitRegistered) {
        Modules().exitRegistered = true;
        AddExitCallback(FreeLoadedModules);
    }
    return handle;
}

}  // namespace

BindResult TryBindImport(const Text& moduleName, const Text& functionName) {
    BindResult result;
    void* module = moduleName.empty() ? nullptr : ModuleHandle(moduleName);
    if (!module) {
        result.failure = BindFailure::MissingModule;
        return result;
    }
    if (functionName.size() > 1 && functionName[0] == '#') {
        const int ordinal = std::atoi(functionName.c_str() + 1);
        result.address = ordinal > 0 ? platform::FindFunctionByOrdinal(module, ordinal) : nullptr;
    } else {
        const size_t at = functionName.find('@');
        const Text plain = functionName.substr(0, at);
        result.address = plain.empty() ? nullptr : platform::FindFunction(module, plain);
    }
    if (!result.address) result.failure = BindFailure::MissingFunction;
    return result;
}

void* BindImport(const Text& moduleName, const Text& functionName) {
    const BindResult result = TryBindImport(moduleName, functionName);
    switch (result.failure) {
        case BindFailure::MissingModule: MissingModule(moduleName);
        case BindFailure::MissingFunction: MissingFunction(moduleName, functionName);
        case BindFailure::None: break;
    }
    return result.address;
}

}  // namespace qh
