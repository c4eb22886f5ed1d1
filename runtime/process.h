// The running process and the names of the project's programs on this
// platform.
#pragma once

#include <cstdint>

#include "runtime/text.h"

namespace qh {

// The id of the running process.
std::uint32_t CurrentProcessId();

// Hands the memory the process is not using back to the system: on Windows
// the working set is trimmed (SetProcessWorkingSetSize with -1, -1); on
// Linux the allocator returns its free pages (malloc_trim).
void TrimWorkingSet();

// A program's file name as this platform spells it: "renew" is "renew.exe" on
// Windows and "renew" on Linux.
Text ExecutableName(const Text& baseName);

}  // namespace qh
