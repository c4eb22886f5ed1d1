// A stand-in for the other program's window in the real-window tests: a
// toolkit window of class "Ex_DirectUI" with the title given, which ends
// its program when it receives message 1024, as the updater's window does.
//   fake_window TITLE
#include <cstdio>
#include <memory>

#include "runtime/system.h"
#include "toolkit/messages.h"
#include "toolkit/platform.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fake_window TITLE\n");
        return 2;
    }
    std::unique_ptr<qh::Platform> platform = qh::CreatePlatform();
    if (!platform) return 2;
    qh::ToolkitStartup(platform->WindowHost(), platform->Graphics());
    const qh::Text title = qh::System().ToolArguments(argc, argv)[0].text;
    const qh::HostHandle hwnd = qh::CreateHostWindow(title, 10, true, 10, true, 200, 100);
    qh::UiWindow window;
    window.OnMessage([&](qh::HostHandle, int message, std::intptr_t, std::intptr_t) -> std::intptr_t {
        if (message == qh::msg::kUser || message == qh::msg::kDestroy) platform->QuitMessageLoop(0);
        return -1;
    });
    if (hwnd == 0 || !window.Create(hwnd, qh::Bytes(), qh::MakeArgb(0xFFFFFF, 255), true)) return 3;
    window.Show(0);
    return platform->RunMessageLoop();
}
