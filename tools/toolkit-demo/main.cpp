// toolkit-demo on the platform's own windows.
#include <cstdio>

#include "tools/toolkit-demo/demo_program.h"

int main(int argc, char** argv) {
    std::unique_ptr<qh::Platform> platform = qh::CreatePlatform();
    if (!platform) {
        std::fprintf(stderr, "toolkit-demo: cannot open the display\n");
        return 2;
    }
    return qh::RunToolkitDemo(*platform, std::vector<std::string>(argv + 1, argv + argc));
}
