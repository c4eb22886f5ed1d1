#include <malloc.h>
#include <unistd.h>

#include "runtime/process.h"

namespace qh {

std::uint32_t CurrentProcessId() { return static_cast<std::uint32_t>(::getpid()); }

void TrimWorkingSet() { ::malloc_trim(0); }

Text ExecutableName(const Text& baseName) { return baseName; }

}  // namespace qh
