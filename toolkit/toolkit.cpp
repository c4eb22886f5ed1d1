#include "toolkit/toolkit.h"

#include <algorithm>

namespace qh {

ToolkitState& Toolkit() {
    static ToolkitState state;
    return state;
}

Host& TheHost() { return *Toolkit().host; }
GraphicsDriver& TheGraphics() { return *Toolkit().graphics; }

Text ChooseDefaultFace(Host& host, GraphicsDriver& graphics) {
    const Text simSun = "宋体";
    if (graphics.FontFamilyExists(simSun)) return simSun;
    Text caption = host.SystemFontFace(2);
    if (caption.empty() || caption == "Tahoma" || !graphics.FontFamilyExists(caption)) caption = simSun;
    return graphics.FontFamilyExists(caption) ? caption : Text();
}

void ToolkitStartup(Host& host, GraphicsDriver& graphics) {
    ToolkitState& s = Toolkit();
    s.host = &host;
    s.graphics = &graphics;
    s.defaultTimerInterval = 80;
    s.defaultFont = UiFont{ChooseDefaultFace(host, graphics), 12.0f, kRegular};
}

void ToolkitShutdown() {
    ToolkitState& s = Toolkit();
    {
        std::lock_guard<std::mutex> lock(s.bindingMutex);
        s.windows.clear();
    }
    s.host = nullptr;
    s.graphics = nullptr;
}

RectI DefaultWindowRect(Host& host, int width, int height, int x, bool xGiven, int y, bool yGiven) {
    // Centred in the work area; a window larger than it (a small screen at
    // a large scale) starts at its origin, so that its caption and its top
    // left stay reachable.
    const RectI work = host.WorkArea();
    if (!xGiven) x = work.left + std::max(0, (work.width - width) / 2);
    if (!yGiven) y = work.top + std::max(0, (work.height - height) / 2);
    return RectI{x, y, width, height};
}

HostHandle CreateHostWindow(const Text& title, int x, bool xGiven, int y, bool yGiven, int width,
                            int height, std::uint32_t style, bool show) {
    HostWindowArgs args;
    args.title = title;
    args.rect = DefaultWindowRect(TheHost(), width, height, x, xGiven, y, yGiven);
    args.style = style;
    args.show = show;
    return TheHost().CreateHostWindow(args);
}

}  // namespace qh
