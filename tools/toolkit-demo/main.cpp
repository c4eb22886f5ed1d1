// toolkit-demo: a skinned window with a few controls, used by the tests and
// for screenshots, on the X11 host with cairo or the Win32 host with GDI+.
// With "--notify" it instead asks every running demo window to quit
// (message 1024) and reports how many it found; "--find" only counts them.
#include <cstdio>
#include <cstring>

#include "toolkit/draw.h"
#include "toolkit/messages.h"
#include "toolkit/platform.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace {

constexpr const char* kTitle = "青禾工具箱演示";

// A plain push button with a text, painted by state.
class DemoButton : public qh::UiControl {
public:
    explicit DemoButton(qh::Text text) : text_(std::move(text)) {}
    // Like every kind of control, it paints itself once when created.
    void Create(qh::HostHandle hwnd, qh::RectF bounds) {
        CreateBase(hwnd, bounds, qh::kKindButton, true, true);
        Redraw();
    }

protected:
    void Paint(qh::UiWindow&, qh::Graphics& g, int state) override {
        const qh::RectF b = Bounds();
        const qh::Argb top = state == qh::kStatePressed ? qh::MakeArgb(0xC07A2E, 255)
                             : state == qh::kStateHover ? qh::MakeArgb(0xF0B060, 255)
                                                        : qh::MakeArgb(0xE8A050, 255);
        qh::FillRoundRect(g, b, 8, top);
        qh::DrawRoundRect(g, b, 8, qh::MakeArgb(0x8A5418, 255));
        qh::DrawText(g, text_, qh::Toolkit().defaultFont, qh::MakeArgb(0xFFFFFF, 255), b, 4, 0, 0, 0,
                     qh::kEffectShadowDownRight);
    }

private:
    qh::Text text_;
};

// A label whose text the program changes.
class DemoLabel : public qh::UiControl {
public:
    void Create(qh::HostHandle hwnd, qh::RectF bounds) {
        CreateBase(hwnd, bounds, qh::kKindLabel, true, false);
        Redraw();
    }
    void SetText(const qh::Text& t) {
        text_ = t;
        Redraw();
    }

protected:
    void Paint(qh::UiWindow&, qh::Graphics& g, int) override {
        qh::DrawText(g, text_, qh::Toolkit().defaultFont, qh::MakeArgb(0x333333, 255), Bounds(), 3);
    }

private:
    qh::Text text_;
};

// Finds the demo's windows by class and title and sends them a message (0,
// WM_NULL, only counts them); prints how many were found.
int Notify(qh::Host& host, int message) {
    int n = host.NotifyWindows("Ex_DirectUI", kTitle, message);
    std::printf("%d\n", n);
    return n > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::unique_ptr<qh::Platform> platform = qh::CreatePlatform();
    if (!platform) {
        std::fprintf(stderr, "toolkit-demo: cannot open the display\n");
        return 2;
    }
    qh::Host& host = platform->WindowHost();
    if (argc > 1 && std::strcmp(argv[1], "--notify") == 0) return Notify(host, qh::msg::kUser);
    if (argc > 1 && std::strcmp(argv[1], "--find") == 0) return Notify(host, 0);
    qh::ToolkitStartup(host, platform->Graphics());

    qh::HostHandle hwnd = qh::CreateHostWindow(kTitle, 40, true, 40, true, 360, 240);
    if (hwnd == 0) return 3;
    qh::UiWindow window;
    DemoButton button("点击我");
    DemoLabel label;
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
        if (message == qh::msg::kDestroy) platform->QuitMessageLoop(0);
        return -1;
    });
    window.OnControlEvent([&](qh::HostHandle, int id, int, int) {
        if (id == button.Id()) {
            ++clicks;
            label.SetText("已点击 " + std::to_string(clicks) + " 次");
        }
        return 0;
    });
    if (!window.Create(hwnd, qh::Bytes(), qh::MakeArgb(0xFBF4EA, 255), true)) return 4;
    label.Create(hwnd, qh::MakeRect(30, 60, 300, 60));
    label.SetText("贷款计算器界面工具箱：欢迎使用");
    button.Create(hwnd, qh::MakeRect(130, 150, 100, 32));
    window.Show(1);
    return platform->RunMessageLoop();
}
