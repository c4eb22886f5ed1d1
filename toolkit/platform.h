// The platform a program runs on: its window host, its graphics backend and
// its message loop. Each platform's platform_init file is the only place
// that names the concrete drivers; programs start the toolkit through this.
#pragma once

#include <memory>

#include "toolkit/graphics.h"
#include "toolkit/host.h"

namespace qh {

class Platform {
public:
    virtual ~Platform() = default;
    virtual Host& WindowHost() = 0;
    virtual GraphicsDriver& Graphics() = 0;
    // Runs the thread's message loop until QuitMessageLoop; returns its code.
    virtual int RunMessageLoop() = 0;
    virtual void QuitMessageLoop(int exitCode) = 0;
    // Runs the thread's messages while window exists, for a modal box that
    // waits for its answer. It returns early when the program's loop is
    // asked to end meanwhile; that loop then ends too.
    virtual void RunModalLoop(HostHandle window) = 0;
};

// The platform's drivers, or null when the platform cannot show windows
// (no X display, GDI+ missing).
std::unique_ptr<Platform> CreatePlatform();

}  // namespace qh
