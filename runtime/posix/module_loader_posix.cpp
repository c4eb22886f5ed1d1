// The module functions of run-time binding on POSIX systems: dlopen and
// dlsym. Shared objects have no ordinals.
#include <dlfcn.h>

#include "runtime/bind_import.h"
#include "runtime/system.h"

namespace qh::platform {

// dlopen counts its references, so every module is opened (and later
// closed) here rather than looked up without a reference of its own.
void* FindLoadedModule(const Text& /*moduleName*/) { return nullptr; }

void* LoadModule(const Text& moduleName) {
    return ::dlopen(System().GbkToUtf8(moduleName).c_str(), RTLD_NOW);
}

void UnloadModule(void* module) { ::dlclose(module); }

void* FindFunction(void* module, const Text& name) { return ::dlsym(module, name.c_str()); }

void* FindFunctionByOrdinal(void* /*module*/, int /*ordinal*/) { return nullptr; }

}  // namespace qh::platform
