// A monotonic clock for measuring intervals: it never jumps when the user or
// the network changes the wall-clock time.
#pragma once

#include <cstdint>

namespace qh {

// Milliseconds since an arbitrary fixed point (the system's start on both
// platforms). Only differences between two readings mean anything.
std::uint64_t MonotonicMilliseconds();

// Microseconds of a monotonic clock, for timing short steps (the start-up
// trace). On Linux the same clock as MonotonicMilliseconds, CLOCK_MONOTONIC,
// which other programs can read too; on Windows the performance counter.
std::uint64_t MonotonicMicroseconds();

}  // namespace qh
