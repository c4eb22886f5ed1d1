#include <windows.h>

#include "runtime/process.h"

namespace qh {

std::uint32_t CurrentProcessId() { return static_cast<std::uint32_t>(GetCurrentProcessId()); }

Text ExecutableName(const Text& baseName) { return baseName + ".exe"; }

}  // namespace qh
