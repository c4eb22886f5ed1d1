// notify: sends a message to every top-level window of a class and title, as
// the two programs ask each other to quit, and prints how many it found.
// Tests use it as "the other program".
//   notify CLASS TITLE [MESSAGE]     MESSAGE defaults to 1024; 0 only counts
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "runtime/system.h"
#include "toolkit/platform.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: notify CLASS TITLE [MESSAGE]\n");
        return 2;
    }
    std::unique_ptr<qh::Platform> platform = qh::CreatePlatform();
    if (!platform) {
        std::fprintf(stderr, "notify: cannot open the display\n");
        return 2;
    }
    const std::vector<qh::ToolArgument> args = qh::System().ToolArguments(argc, argv);
    const int message = argc == 4 ? std::atoi(argv[3]) : 1024;
    const int found = platform->WindowHost().NotifyWindows(args[0].text, args[1].text, message);
    std::printf("%d\n", found);
    return found > 0 ? 0 : 1;
}
