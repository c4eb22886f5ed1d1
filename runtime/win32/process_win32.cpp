#include <windows.h>

#include "runtime/bind_import.h"
#include "runtime/process.h"

namespace qh {

std::uint32_t CurrentProcessId() { return static_cast<std::uint32_t>(GetCurrentProcessId()); }

void TrimWorkingSet() {
    // Bound at run time, as the oldest systems lack the function.
    using Trim = BOOL(WINAPI*)(HANDLE, SIZE_T, SIZE_T);
    static ImportSlot<Trim> trim{"kernel32", "SetProcessWorkingSetSize"};
    trim.get()(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

Text ExecutableName(const Text& baseName) { return baseName + ".exe"; }

}  // namespace qh
