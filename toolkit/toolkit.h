// Toolkit start-up and the process-wide toolkit state: the host and graphics
// drivers, the default font, the default timer interval and the window table.
#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "toolkit/graphics.h"
#include "toolkit/host.h"

namespace qh {

class UiWindow;

struct ToolkitState {
    Host* host = nullptr;
    GraphicsDriver* graphics = nullptr;
    UiFont defaultFont;  // face empty when no candidate face exists
    int defaultTimerInterval = 80;
    // Opens an address in the user's browser: the program installs its
    // open-URL service here at start; links call it when clicked.
    std::function<void(const Text& url)> openUrl;
    // Window table: entry n - 1 is window index n; a destroyed window leaves
    // an empty entry so that indices stay stable.
    std::vector<UiWindow*> windows;
    // Guards the binding of controls to windows (a control's window index and
    // id, the window table, a window's handle). Only the window's thread
    // changes the binding; another thread reads it under this lock to learn
    // which window to post its call to, while the window may be going away.
    std::mutex bindingMutex;
};

ToolkitState& Toolkit();
Host& TheHost();
GraphicsDriver& TheGraphics();

// Starts the toolkit over a host and a graphics backend: picks the default
// font. Called once before any window exists; the drivers live as long as
// the process uses the toolkit.
void ToolkitStartup(Host& host, GraphicsDriver& graphics);
// Forgets the drivers and the window table (tests start the toolkit again).
void ToolkitShutdown();

// The face the default font uses: "宋体" when it exists, else the system's
// caption face; "Tahoma" is never chosen.
Text ChooseDefaultFace(Host& host, GraphicsDriver& graphics);

// The centred position of a width x height window in the work area (the work
// area's origin is not added, as the programs' windows have always been placed).
RectI DefaultWindowRect(Host& host, int width, int height, int x, bool xGiven, int y, bool yGiven);
// Creates a top-level window; 0 on failure. width / height default to 380 x 250.
HostHandle CreateHostWindow(const Text& title, int x = 0, bool xGiven = false, int y = 0,
                            bool yGiven = false, int width = 380, int height = 250,
                            std::uint32_t style = kDefaultWindowStyle, bool show = false);

}  // namespace qh
