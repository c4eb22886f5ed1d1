// The platform the UI driver gives a driven program: the headless host and
// cairo, and a message loop that runs the driver's commands between the
// program's messages. The program's files, registry and environment are the
// real ones; only its windows are headless.
#pragma once

#include <iosfwd>

#include "toolkit/cairo/cairo_graphics.h"
#include "toolkit/headless/headless_host.h"
#include "toolkit/platform.h"
#include "tools/uidriver/command_runner.h"

namespace qh {

class DriverPlatform final : public Platform {
public:
    DriverPlatform(std::istream& commands, std::ostream& out, std::ostream& err)
        : commands_(commands), runner_(host_, out, err) {}

    Host& WindowHost() override { return host_; }
    GraphicsDriver& Graphics() override { return graphics_; }
    // Runs the program's messages, and one command each time they are done,
    // until the program quits, a command says "quit", the commands end or
    // one fails.
    int RunMessageLoop() override;
    void QuitMessageLoop(int exitCode) override;

    // How the driving ended, once the program has returned.
    bool ProgramEnded() const { return ended_; }
    bool CommandFailed() const { return failed_; }
    CommandRunner& Runner() { return runner_; }

private:
    headless::HeadlessHost host_;
    cairo::CairoDriver graphics_;
    std::istream& commands_;
    CommandRunner runner_;
    int line_ = 0;
    bool quit_ = false;
    int exitCode_ = 0;
    bool ended_ = true;   // false when the driver, not the program, stopped the loop
    bool failed_ = false;
};

}  // namespace qh
