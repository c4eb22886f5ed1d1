// toolkit-demo: a skinned window with a few controls, used by the tests and
// for screenshots, on any platform: the X11 host with cairo, the Win32 host
// with GDI+, or the UI driver's headless host.
#include "tools/toolkit-demo/demo_program.h"

#include <cstdio>
#include <cstring>

#include "toolkit/controls/button.h"
#include "toolkit/controls/label.h"
#include "toolkit/draw.h"
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"
#include "tools/toolkit-demo/gallery.h"
#include "tools/toolkit-demo/states_sheet.h"

namespace qh {
namespace {

constexpr const char* kTitle = "青禾工具箱演示";

// The gallery window, until it is closed.
int RunGallery(Platform& platform) {
    Gallery gallery;
    if (!gallery.Create()) return 3;
    gallery.Window().OnMessage([&](HostHandle, int message, std::intptr_t, std::intptr_t) -> std::intptr_t {
        if (message == msg::kDestroy) platform.QuitMessageLoop(0);
        return -1;
    });
    gallery.Window().Show(0);
    return platform.RunMessageLoop();
}

// The states sheet, until it is closed. The states are set once the window
// is shown and active, as a combo box opens only in a window with the focus.
int RunStates(Platform& platform) {
    StatesSheet sheet;
    if (!sheet.Create()) return 3;
    sheet.Window().OnMessage([&](HostHandle, int message, std::intptr_t, std::intptr_t) -> std::intptr_t {
        if (message == msg::kDestroy) platform.QuitMessageLoop(0);
        return -1;
    });
    sheet.Window().Show(0);
    sheet.ApplyStates();
    return platform.RunMessageLoop();
}

// Finds the demo's windows by class and title and sends them a message (0,
// WM_NULL, only counts them); prints how many were found.
int Notify(qh::Host& host, int message) {
    int n = host.NotifyWindows("Ex_DirectUI", kTitle, message);
    std::printf("%d\n", n);
    return n > 0 ? 0 : 1;
}

}  // namespace

int RunToolkitDemo(Platform& platform, const std::vector<std::string>& args) {
    qh::Host& host = platform.WindowHost();
    if (!args.empty() && args[0] == "--notify") return Notify(host, qh::msg::kUser);
    if (!args.empty() && args[0] == "--find") return Notify(host, 0);
    qh::ToolkitStartup(host, platform.Graphics());
    if (!args.empty() && args[0] == "--gallery") return RunGallery(platform);
    if (!args.empty() && args[0] == "--states") return RunStates(platform);

    qh::HostHandle hwnd = qh::CreateHostWindow(kTitle, 40, true, 40, true, 360, 240);
    if (hwnd == 0) return 3;
    qh::UiWindow window;
    UiButton button;
    UiLabel label;
    int clicks = 0;
    window.OnPaint([](qh::HostHandle, qh::Graphics& g, int, int width, int height) {
        qh::FillGradientRect(g, qh::MakeRect(0, 0, float(width), 28), qh::MakeArgb(0xF6E7D2, 255),
                             qh::MakeArgb(0xE2C39A, 255));
        qh::FillRoundRect(g, qh::MakeRect(12, 40, float(width) - 24, float(height) - 52), 10,
                          qh::MakeArgb(0xFFFFFF, 230));
        qh::DrawRoundRect(g, qh::MakeRect(12, 40, float(width) - 24, float(height) - 52), 10,
                          qh::MakeArgb(0xC8A070, 255));
        return 0;
    });
    window.OnMessage([&](qh::HostHandle h, int message, std::intptr_t, std::intptr_t) -> std::intptr_t {
        if (message == qh::msg::kUser) {
            host.DestroyWindow(h);
            return 0;
        }
        if (message == qh::msg::kDestroy) platform.QuitMessageLoop(0);
        return -1;
    });
    window.OnControlEvent([&](qh::HostHandle, int id, int, int) {
        if (id == button.Id()) {
            ++clicks;
            label.Text("已点击 " + std::to_string(clicks) + " 次", true);
        }
        return 0;
    });
    if (!window.Create(hwnd, qh::Bytes(), qh::MakeArgb(0xFBF4EA, 255), true)) return 4;
    label.Create(hwnd, "贷款计算器界面工具箱：欢迎使用", 30, 60, 300, 60, MakeArgb(0x333333, 255));
    label.Name("Message", true);
    button.Create(hwnd, "点击我", 130, 150, 100, 32);
    button.Name("ClickMe", true);
    window.Show(1);
    return platform.RunMessageLoop();
}

}  // namespace qh
