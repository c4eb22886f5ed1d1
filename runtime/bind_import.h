// Binding platform functions at run time, for the drawing and theme functions
// that the programs do not import directly.
//
// A function name "#n" binds by ordinal n; a decorated name ("Name@8") is cut
// at the "@". A module is looked up among the loaded modules and else loaded;
// modules loaded here are freed on the runtime's exit path.
#pragma once

#include "runtime/text.h"

namespace qh {

enum class BindFailure { None, MissingModule, MissingFunction };

struct BindResult {
    void* address = nullptr;
    BindFailure failure = BindFailure::None;
};

// Binds without ending the program; for callers that can do without.
BindResult TryBindImport(const Text& moduleName, const Text& functionName);
// Binds, or shows the DLL error message and ends the program.
void* BindImport(const Text& moduleName, const Text& functionName);

// A slot for one imported function: bound at its first use, then kept.
//   static ImportSlot<int (__stdcall*)(void*)> drawText{"uxtheme.dll", "DrawThemeTextEx"};
//   drawText.get()(...);
template <typename Function>
class ImportSlot {
public:
    ImportSlot(const char* moduleName, const char* functionName)
        : module_(moduleName), function_(functionName) {}

    Function get() {
        if (!address_) address_ = BindImport(module_, function_);
        return reinterpret_cast<Function>(address_);
    }

private:
    const char* module_;
    const char* function_;
    void* address_ = nullptr;
};

// The platform's module functions, implemented per platform.
namespace platform {
void* FindLoadedModule(const Text& moduleName);
void* LoadModule(const Text& moduleName);
void UnloadModule(void* module);
void* FindFunction(void* module, const Text& name);
// Ordinals exist only on Windows; elsewhere this finds nothing.
void* FindFunctionByOrdinal(void* module, int ordinal);
}  // namespace platform

}  // namespace qh
