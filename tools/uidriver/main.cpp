// uidriver: runs a program of the project in the headless host and drives it
// with commands read from standard input, one a line (see README.md).
//   uidriver [--program-dir DIR] [--update-key FILE] [--scale S] PROGRAM [ARGS...]
// --update-key runs renew as a build with that public key (PEM) runs.
// --scale runs the program's windows at that display scale (1, 1.25 … 3;
// without it QINGHE_SCALE, else 1): commands keep logical coordinates, shot
// saves device pixels.
// Exit status: the program's own when it ended, 0 after "quit" or the end of
// the commands, 2 for a bad command line, a bad command or an unknown control.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "runtime/system.h"
#include "calc/shell/calc_program.h"
#include "renew/renew_program.h"
#include "toolkit/scale.h"
#include "tools/toolkit-demo/demo_program.h"
#include "tools/uidriver/driver_platform.h"
#include "tools/uidriver/driver_system.h"

namespace {

struct DrivenProgram {
    // The name on the driver's command line, which is also the name of the
    // program's own file: the driven program finds itself under it.
    const char* name;
    int (*run)(qh::Platform& platform, const std::vector<std::string>& args);
};

// The programs the driver links. Each is a library with a Run function; to
// add one, include its header, add its line here and link its library to
// uidriver in CMakeLists.txt.
// The public key that renew is run with (--update-key); empty, it runs as a
// build without a key.
std::string& UpdateKey() {
    static std::string key;
    return key;
}

// The updater reads its arguments in GBK, as its own main gives them.
int RunRenewWithUtf8Arguments(qh::Platform& platform, const std::vector<std::string>& args) {
    std::vector<qh::Text> arguments;
    for (const std::string& arg : args) arguments.push_back(qh::System().Utf8ToGbk(arg));
    return qh::RunRenew(platform, arguments, UpdateKey());
}

constexpr DrivenProgram kPrograms[] = {
    {"toolkit-demo", qh::RunToolkitDemo},
    {"QingheCalc", qh::RunQingheCalc},
    {"renew", RunRenewWithUtf8Arguments},
};

int Usage(const std::string& message) {
    std::fprintf(stderr,
                 "uidriver: %s\nusage: uidriver [--program-dir DIR] [--update-key FILE] [--scale S] PROGRAM "
                 "[ARGS...]\nprograms:",
                 message.c_str());
    for (const DrivenProgram& p : kPrograms) std::fprintf(stderr, " %s", p.name);
    std::fprintf(stderr, "\n");
    return 2;
}

// The folder given with --program-dir as the program will see it: absolute
// (the program may change its working folder), without "." and ".." levels
// and a trailing separator, in GBK. False when it is no folder or GBK cannot
// spell its name.
bool ProgramFolder(const char* given, qh::Text& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_directory(given, error)) return false;
    std::string path = fs::absolute(given, error).lexically_normal().string();
    if (error) return false;
    if (path.size() > 1 && path.back() == '/') path.pop_back();
    folder = qh::System().Utf8ToGbk(path);
    return qh::System().GbkToUtf8(folder) == path;
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    // By default the program takes the driver's own folder, where the
    // build puts every program.
    qh::Text folder = qh::ModuleDirectory();
    // QINGHE_SCALE, as the X11 host takes it, unless --scale is given.
    float scale = qh::ParseScale(std::getenv("QINGHE_SCALE"));
    if (scale == 0) scale = 1.0f;
    for (; first < argc && std::strncmp(argv[first], "--", 2) == 0; first += 2) {
        if (first + 1 >= argc) return Usage(std::string(argv[first]) + " needs a value");
        const std::string value = argv[first + 1];
        if (std::strcmp(argv[first], "--program-dir") == 0) {
            if (!ProgramFolder(value.c_str(), folder)) return Usage("not a usable folder: " + value);
        } else if (std::strcmp(argv[first], "--update-key") == 0) {
            std::ifstream file(value, std::ios::binary);
            std::ostringstream text;
            text << file.rdbuf();
            if (!file || text.str().empty()) return Usage("cannot read the key: " + value);
            UpdateKey() = text.str();
        } else if (std::strcmp(argv[first], "--scale") == 0) {
            scale = qh::ParseScale(value.c_str());
            if (scale == 0) return Usage("not a scale: " + value);
        } else {
            return Usage(std::string("unknown option: ") + argv[first]);
        }
    }
    if (first >= argc) return Usage("no program given");
    const DrivenProgram* program = nullptr;
    for (const DrivenProgram& p : kPrograms) {
        if (std::strcmp(argv[first], p.name) == 0) program = &p;
    }
    if (program == nullptr) return Usage(std::string("unknown program: ") + argv[first]);

    qh::DriverPlatform platform(std::cin, std::cout, std::cerr);
    platform.SetScale(scale);
    qh::DriverSystem system(qh::PlatformSystem(), folder, program->name,
                            [&platform](const std::string& commandLine) { platform.Runner().RecordStarted(commandLine); });
    qh::SystemServices* const previous = qh::OverrideSystemServices(&system);
    const int code = program->run(platform, std::vector<std::string>(argv + first + 1, argv + argc));
    qh::OverrideSystemServices(previous);
    std::cout.flush();
    if (platform.CommandFailed()) return 2;
    if (!platform.ProgramEnded()) return 0;
    std::cout << "ended " << code << std::endl;
    // The rest of the commands are ignored, but for `started`: what the
    // program started before it ended (an updater it handed over to) is
    // still there to read.
    std::string line;
    for (int lineNumber = 1; std::getline(std::cin, line); ++lineNumber) {
        if (line == "started" || line == "started\r") platform.Runner().Run("started", lineNumber);
    }
    std::cout.flush();
    return code;
}
