// The monotonic clock on Windows: GetTickCount64, which does not wrap after
// 49 days as GetTickCount does.
#include <windows.h>

#include "runtime/clock.h"

namespace qh {

std::uint64_t MonotonicMilliseconds() { return GetTickCount64(); }

}  // namespace qh
