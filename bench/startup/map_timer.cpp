// Times a program's start on an X display: from the moment it is spawned to
// the first top-level window it maps, and reads its resident memory at that
// moment (VmRSS of /proc). Repeats the run and prints the median of each.
// Each run is told its spawn time in QINGHE_TRACE_SPAWNED_AT, so a program
// that traces its start (QINGHE_TRACE_STARTUP=1) can count from it.
//   map_timer [--linger MS] RUNS PROGRAM [ARGS...]
// prints "<median ms> <median KiB>"; with --linger each run is left running
// MS milliseconds after its map (for the rest of its trace) before it ends.
#include <X11/Xlib.h>
#include <spawn.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

long ResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

template <class T>
T Median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int lingerMs = 0;
    if (argc > 2 && std::string(argv[1]) == "--linger") {
        lingerMs = std::max(0, std::atoi(argv[2]));
        argc -= 2;
        argv += 2;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: map_timer [--linger MS] RUNS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 2;
    // Without a window manager the root window reports every top-level map.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);
    std::vector<double> times;
    std::vector<long> memory;
    for (int run = 0; run < runs; ++run) {
        pid_t pid = 0;
        const double start = NowMs();
        setenv("QINGHE_TRACE_SPAWNED_AT", std::to_string(start).c_str(), 1);
        if (posix_spawn(&pid, argv[2], nullptr, nullptr, argv + 2, environ) != 0) return 3;
        for (;;) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) break;
        }
        times.push_back(NowMs() - start);
        memory.push_back(ResidentKiB(pid));
        if (lingerMs > 0) usleep(static_cast<useconds_t>(lingerMs) * 1000);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        XSync(display, True);  // forget the events of the run that ended
    }
    std::printf("%.1f %ld\n", Median(times), Median(memory));
    return 0;
}
