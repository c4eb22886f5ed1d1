// uidriver: runs a program of the project in the headless host and drives it
// with commands read from standard input, one a line (see README.md).
//   uidriver [--program-dir DIR] PROGRAM [ARGS...]
// Exit status: the program's own when it ended, 0 after "quit" or the end of
// the commands, 2 for a bad command line, a bad command or an unknown control.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "tools/toolkit-demo/demo_program.h"
#include "tools/uidriver/driver_platform.h"

namespace {

struct DrivenProgram {
    const char* name;
    int (*run)(qh::Platform& platform, const std::vector<std::string>& args);
};

// The programs the driver links.
constexpr DrivenProgram kPrograms[] = {
    {"toolkit-demo", qh::RunToolkitDemo},
};

int Usage(const char* message) {
    std::fprintf(stderr, "uidriver: %s\nusage: uidriver [--program-dir DIR] PROGRAM [ARGS...]\nprograms:", message);
    for (const DrivenProgram& p : kPrograms) std::fprintf(stderr, " %s", p.name);
    std::fprintf(stderr, "\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--program-dir") == 0) {
        // The folder the program takes as its own; the toolkit demo reads
        // nothing from it, the programs that do will take it from here.
        first = 3;
    }
    if (first >= argc) return Usage("no program given");
    const DrivenProgram* program = nullptr;
    for (const DrivenProgram& p : kPrograms) {
        if (std::strcmp(argv[first], p.name) == 0) program = &p;
    }
    if (program == nullptr) return Usage("unknown program");

    qh::DriverPlatform platform(std::cin, std::cout, std::cerr);
    const int code = program->run(platform, std::vector<std::string>(argv + first + 1, argv + argc));
    std::cout.flush();
    if (platform.CommandFailed()) return 2;
    if (!platform.ProgramEnded()) return 0;
    std::cout << "ended " << code << std::endl;
    return code;
}
