// The platform the UI driver gives a driven program: the headless host and
// cairo, and a message loop that runs the driver's commands between the
// program's messages. The program's files, registry and environment are the
// real ones; only its windows are headless.
#pragma once

#include <functional>
#include <iosfwd>

#include "toolkit/cairo/cairo_graphics.h"
#include "toolkit/headless/headless_host.h"
#include "toolkit/platform.h"
#include "tools/uidriver/command_runner.h"

namespace qh {

class DriverPlatform final : public Platform {
public:
    DriverPlatform(std::istream& commands, std::ostream& out, std::ostream& err)
        : commands_(commands), runner_(host_, out, err) {
        runner_.WatchProgramEnd([this] { return quit_; });
    }

    Host& WindowHost() override { return host_; }
    void SetScale(float scale) { host_.SetScale(scale); }
    GraphicsDriver& Graphics() override { return graphics_; }
    // Runs the program's messages, and one command each time they are done,
    // until the program quits, a command says "quit", the commands end or
    // one fails.
    int RunMessageLoop() override;
    void QuitMessageLoop(int exitCode) override;
    // Runs commands while the box's window exists; when the commands end or
    // say "quit" meanwhile, the main loop ends as well.
    void RunModalLoop(HostHandle window) override;

    // How the driving ended, once the program has returned.
    bool ProgramEnded() const { return ended_; }
    bool CommandFailed() const { return failed_; }
    CommandRunner& Runner() { return runner_; }

private:
    // Runs the program's messages and one command at a time while keepGoing
    // answers true, until the program quits or the commands stop.
    void RunCommands(const std::function<bool()>& keepGoing);

    headless::HeadlessHost host_;
    cairo::CairoDriver graphics_;
    std::istream& commands_;
    CommandRunner runner_;
    int line_ = 0;
    bool quit_ = false;
    int exitCode_ = 0;
    bool ended_ = true;   // false when the driver, not the program, stopped the loop
    bool failed_ = false;
    bool stopped_ = false;  // the commands ended inside a modal loop
};

}  // namespace qh
