#include <unistd.h>

#include "runtime/process.h"

namespace qh {

std::uint32_t CurrentProcessId() { return static_cast<std::uint32_t>(::getpid()); }

Text ExecutableName(const Text& baseName) { return baseName; }

}  // namespace qh
