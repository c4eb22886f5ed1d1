// QingheCalc on the platform's own windows.
#include <memory>

#include "calc/shell/calc_program.h"
#include "runtime/lifecycle.h"
#include "runtime/startup_trace.h"

int main(int argc, char** argv) {
    qh::StartupMark("process start to main");
    qh::RuntimeStart();
    int code = 2;
    {
        std::unique_ptr<qh::Platform> platform = qh::CreatePlatform();
        qh::StartupMark("platform: display, input method");
        // Without a display there is nothing to show; the calculator has no
        // console to say so on.
        if (platform) code = qh::RunQingheCalc(*platform, std::vector<std::string>(argv + 1, argv + argc));
    }
    qh::RuntimeExit(code);
}
