// A trace of a program's start, to see where the time before its first
// window goes. With QINGHE_TRACE_STARTUP=1 in the environment each mark
// prints one line to standard error:
//   startup: <ms since the previous mark> <ms since the origin>  <phase>
// The origin is the moment the process was spawned when the environment
// gives it in QINGHE_TRACE_SPAWNED_AT (a reading of the monotonic clock in
// milliseconds, which bench/startup/map_timer passes), so the first mark
// shows the time from spawn to main; else it is the first mark itself.
// Without the variable a mark costs a test of one flag.
#pragma once

namespace qh {

void StartupMark(const char* phase);

}  // namespace qh
