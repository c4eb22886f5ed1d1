// The X11 host's accessibility bridge: the toolkit's accessibility tree as
// ATK objects, published on the AT-SPI accessibility bus by the ATK bridge
// library, so that screen readers (Orca) read the windows.
#pragma once

#include <X11/Xlib.h>
#include <atk/atk.h>
#include <poll.h>

#include <functional>
#include <memory>
#include <vector>

#include "toolkit/host.h"

namespace qh::x11 {

namespace atk {
class Objects;
}

class AccessibilityBridge {
public:
    // Starts the bridge when a reader can reach it: when the accessibility
    // bus is announced (AT_SPI_BUS_ADDRESS, or the AT_SPI_BUS property of
    // the X root window that the bus launcher sets) or QINGHE_ACCESSIBILITY
    // is 1; never when QINGHE_ACCESSIBILITY is 0. Null when not started:
    // the program then runs without GLib's loop and prints nothing.
    // shown tells whether a top-level window is on the screen.
    static std::unique_ptr<AccessibilityBridge> Start(Display* display, std::function<bool(HostHandle)> shown);
    ~AccessibilityBridge();
    AccessibilityBridge(const AccessibilityBridge&) = delete;
    AccessibilityBridge& operator=(const AccessibilityBridge&) = delete;

    // The event loop's wait, shared with GLib's sources (the bridge's D-Bus
    // connection): adds GLib's descriptors to fds and shortens timeout (ms,
    // -1 for none) to GLib's; after poll, Dispatch with the same fds and the
    // index PrepareWait started at runs what became ready.
    void PrepareWait(std::vector<pollfd>& fds, int& timeout);
    void Dispatch(const std::vector<pollfd>& fds, std::size_t first);
    // Runs what GLib has ready without waiting.
    void RunReady();

    // A change of a window's tree (id 0: the window), passed on as ATK signals.
    void Changed(HostHandle window, AccEvent event, int id);
    void WindowShown(HostHandle window);
    void WindowGone(HostHandle window);

private:
    explicit AccessibilityBridge(std::function<bool(HostHandle)> shown);
    void Focus(HostHandle window, int id);
    void StatesChanged(AtkObject* obj);
    void TextChanged(AtkObject* obj);

    std::unique_ptr<atk::Objects> objects_;
    std::vector<GPollFD> glibFds_;
    gint maxPriority_ = 0;
    int glibCount_ = 0;
    // The control last reported focused, to report it unfocused next.
    HostHandle focusWindow_ = 0;
    int focusId_ = 0;
};

}  // namespace qh::x11
