#include "runtime/startup_trace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/clock.h"

namespace qh {
namespace {

constexpr double kMicrosecondsPerMs = 1000.0;

// Milliseconds of the monotonic clock that the spawning program reads.
double NowMs() { return static_cast<double>(MonotonicMicroseconds()) / kMicrosecondsPerMs; }

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
