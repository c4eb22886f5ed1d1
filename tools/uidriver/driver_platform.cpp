#include "tools/uidriver/driver_platform.h"

#include <istream>
#include <string>

namespace qh {

int DriverPlatform::RunMessageLoop() {
    quit_ = false;
    RunCommands([] { return true; });
    return stopped_ ? 0 : exitCode_;
}

void DriverPlatform::RunModalLoop(HostHandle window) {
    RunCommands([&] { return host_.Exists(window); });
}

void DriverPlatform::RunCommands(const std::function<bool()>& keepGoing) {
    while (!stopped_) {
        host_.ProcessPending();
        if (quit_ || !keepGoing()) return;
        std::string line;
        if (!std::getline(commands_, line)) {
            stopped_ = true;
            ended_ = false;  // the script ended before the program did
            return;
        }
        switch (runner_.Run(line, ++line_)) {
        case CommandRunner::Outcome::kContinue:
            break;
        case CommandRunner::Outcome::kQuit:
            stopped_ = true;
            ended_ = false;
            return;
        case CommandRunner::Outcome::kError:
            stopped_ = true;
            ended_ = false;
            failed_ = true;
            return;
        }
    }
}

void DriverPlatform::QuitMessageLoop(int exitCode) {
    quit_ = true;
    exitCode_ = exitCode;
}

}  // namespace qh
