// The Windows platform: windows through user32 layered windows, drawing
// through GDI+.
#include <windows.h>

#include "toolkit/gdiplus/gdiplus_graphics.h"
#include "toolkit/platform.h"
#include "toolkit/win32/win32_host.h"

namespace qh {
namespace {

class Win32Platform final : public Platform {
public:
    bool Ok() const { return graphics_.Started(); }
    Host& WindowHost() override { return host_; }
    qh::GraphicsDriver& Graphics() override { return graphics_; }

    int RunMessageLoop() override {
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return static_cast<int>(message.wParam);
    }

    void QuitMessageLoop(int exitCode) override { PostQuitMessage(exitCode); }

    void RunModalLoop(HostHandle window) override {
        const HWND hwnd = reinterpret_cast<HWND>(window);
        MSG message;
        while (IsWindow(hwnd)) {
            if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
                // The program is ending: hand the quit on to the main loop.
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

private:
    win32::Win32Host host_;
    gdiplus::GdiplusDriver graphics_;
};

}  // namespace

std::unique_ptr<Platform> CreatePlatform() {
    auto platform = std::make_unique<Win32Platform>();
    if (!platform->Ok()) return nullptr;
    return platform;
}

}  // namespace qh
