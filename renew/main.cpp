// renew on the platform's own windows.
#include <memory>

#include "renew/renew_program.h"
#include "renew/update_public_key.h"
#include "runtime/lifecycle.h"
#include "runtime/startup_trace.h"
#include "runtime/system.h"

int main(int argc, char** argv) {
    qh::StartupMark("process start to main");
    qh::RuntimeStart();
    {
        // The arguments as the system gives them (the whole Unicode command
        // line on Windows), split the runtime's way.
        std::vector<qh::Text> arguments;
        for (const qh::ToolArgument& argument : qh::System().ToolArguments(argc, argv)) {
            arguments.push_back(argument.text);
        }
        std::unique_ptr<qh::Platform> platform = qh::CreatePlatform();
        qh::StartupMark("platform");
        if (platform) qh::RunRenew(*platform, arguments, qh::kUpdatePublicKey);
    }
    qh::RuntimeExit(0);
}
