// The monotonic clock on Windows: GetTickCount64, which does not wrap after
// 49 days as GetTickCount does.
#include <windows.h>

#include "runtime/clock.h"

namespace qh {

std::uint64_t MonotonicMilliseconds() { return GetTickCount64(); }

std::uint64_t MonotonicMicroseconds() {
    LARGE_INTEGER counter{}, frequency{};
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    const auto ticks = static_cast<std::uint64_t>(counter.QuadPart);
    const auto perSecond = static_cast<std::uint64_t>(frequency.QuadPart);
    // Whole seconds and the rest apart, so the product cannot overflow.
    return ticks / perSecond * 1000000u + ticks % perSecond * 1000000u / perSecond;
}

}  // namespace qh
