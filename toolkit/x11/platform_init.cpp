// The Linux platform: windows through Xlib, drawing through cairo.
#include "toolkit/cairo/cairo_graphics.h"
#include "toolkit/platform.h"
#include "toolkit/x11/x11_host.h"

namespace qh {
namespace {

class X11Platform final : public Platform {
public:
    bool Ok() const { return host_.Ok(); }
    Host& WindowHost() override { return host_; }
    GraphicsDriver& Graphics() override { return graphics_; }
    int RunMessageLoop() override { return host_.RunLoop(); }
    void QuitMessageLoop(int exitCode) override { host_.Quit(exitCode); }
    void RunModalLoop(HostHandle window) override { host_.RunLoopWhileExists(window); }

private:
    x11::X11Host host_;
    cairo::CairoDriver graphics_;
};

}  // namespace

std::unique_ptr<Platform> CreatePlatform() {
    auto platform = std::make_unique<X11Platform>();
    if (!platform->Ok()) return nullptr;
    return platform;
}

}  // namespace qh
