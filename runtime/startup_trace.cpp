#include "runtime/startup_trace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qh {
namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds of the monotonic clock that the spawning program reads
// (steady_clock is CLOCK_MONOTONIC on Linux).
double NowMs() {
    return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

struct Trace {
    bool on = false;
    double origin = 0;
    double previous = 0;
};

Trace& TheTrace() {
    static Trace trace = [] {
        Trace t;
        const char* flag = std::getenv("QINGHE_TRACE_STARTUP");
        t.on = flag != nullptr && std::strcmp(flag, "1") == 0;
        t.origin = NowMs();
        if (const char* spawned = std::getenv("QINGHE_TRACE_SPAWNED_AT"); t.on && spawned != nullptr) {
            char* end = nullptr;
            const double at = std::strtod(spawned, &end);
            if (end != spawned && *end == '\0' && at > 0 && at <= t.origin) t.origin = at;
        }
        t.previous = t.origin;
        return t;
    }();
    return trace;
}

}  // namespace

void StartupMark(const char* phase) {
    Trace& trace = TheTrace();
    if (!trace.on) return;
    const double now = NowMs();
    std::fprintf(stderr, "startup: %8.2f %8.2f  %s\n", now - trace.previous, now - trace.origin, phase);
    trace.previous = now;
}

}  // namespace qh
