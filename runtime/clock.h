// A monotonic clock for measuring intervals: it never jumps when the user or
// the network changes the wall-clock time.
#pragma once

#include <cstdint>

namespace qh {

// Milliseconds since an arbitrary fixed point (the system's start on both
// platforms). Only differences between two readings mean anything.
std::uint64_t MonotonicMilliseconds();

}  // namespace qh
