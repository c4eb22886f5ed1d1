#include "tools/uidriver/driver_platform.h"

#include <istream>
#include <string>

namespace qh {

int DriverPlatform::RunMessageLoop() {
    quit_ = false;
    for (;;) {
        host_.ProcessPending();
        if (quit_) return exitCode_;
        std::string line;
        if (!std::getline(commands_, line)) {
            ended_ = false;  // the script ended before the program did
            return 0;
        }
        switch (runner_.Run(line, ++line_)) {
        case CommandRunner::Outcome::kContinue:
            break;
        case CommandRunner::Outcome::kQuit:
            ended_ = false;
            return 0;
        case CommandRunner::Outcome::kError:
            ended_ = false;
            failed_ = true;
            return 0;
        }
    }
}

void DriverPlatform::QuitMessageLoop(int exitCode) {
    quit_ = true;
    exitCode_ = exitCode;
}

}  // namespace qh
