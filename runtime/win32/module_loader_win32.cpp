// The module functions of run-time binding on Windows: GetModuleHandleW,
// LoadLibraryW, GetProcAddress by name or ordinal, FreeLibrary.
#include <windows.h>

#include "runtime/bind_import.h"
#include "runtime/win32/system_win32.h"

namespace qh::platform {

void* FindLoadedModule(const Text& moduleName) {
    return reinterpret_cast<void*>(GetModuleHandleW(GbkToWide(moduleName).c_str()));
}

void* LoadModule(const Text& moduleName) {
    return reinterpret_cast<void*>(LoadLibraryW(GbkToWide(moduleName).c_str()));
}

void UnloadModule(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }

void* FindFunction(void* module, const Text& name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name.c_str()));
}

void* FindFunctionByOrdinal(void* module, int ordinal) {
    return reinterpret_cast<void*>(GetProcAddress(
        static_cast<HMODULE>(module), reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(ordinal & 0xFFFF))));
}

}  // namespace qh::platform
