// The X11 host's NotifyWindows: finds the top-level windows of a class and
// title, in any client, and sends each a ClientMessage that its host delivers
// as the message. Other clients' windows may vanish at any moment of the
// walk; the requests about them fail with errors that are expected here.
#include <X11/Xutil.h>

#include <string>
#include <vector>

#include "runtime/system.h"
#include "toolkit/x11/x11_state.h"

namespace qh::x11 {

namespace {

// The window's UTF-8 title (_NET_WM_NAME); empty when it has none or is gone.
std::string Utf8Title(Display* display, ::Window window, Atom netWmName, Atom utf8) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &items, &after, &data) ==
            Success &&
        data != nullptr && format == 8) {
        title.assign(reinterpret_cast<const char*>(data), items);
    }
    if (data != nullptr) XFree(data);
    return title;
}

bool HasClass(Display* display, ::Window window, const std::string& cls) {
    XClassHint hint{};
    if (XGetClassHint(display, window, &hint) == 0) return false;
    const bool matches = hint.res_class != nullptr && cls == hint.res_class;
    if (hint.res_name != nullptr) XFree(hint.res_name);
    if (hint.res_class != nullptr) XFree(hint.res_class);
    return matches;
}

}  // namespace

int X11Host::NotifyWindows(const Text& className, const Text& title, int message) {
    if (display_ == nullptr) return 0;
    const std::string cls = System().GbkToUtf8(className), name = System().GbkToUtf8(title);
    // Errors of earlier requests are not the walk's.
    SyncErrors();
    errors_->expected = true;
    std::vector<::Window> candidates;
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    // Top-level windows are children of the root, or one level below where a
    // window manager has reparented them.
    if (XQueryTree(display_, RootWindow(display_, screen_), &root, &parent, &children, &count) != 0) {
        for (unsigned i = 0; i < count; ++i) {
            candidates.push_back(children[i]);
            ::Window r2 = 0, p2 = 0, *inner = nullptr;
            unsigned n2 = 0;
            if (XQueryTree(display_, children[i], &r2, &p2, &inner, &n2) != 0) {
                for (unsigned j = 0; j < n2; ++j) candidates.push_back(inner[j]);
            }
            if (inner != nullptr) XFree(inner);
        }
    }
    if (children != nullptr) XFree(children);
    int found = 0;
    for (const ::Window c : candidates) {
        if (!HasClass(display_, c, cls) || Utf8Title(display_, c, netWmName_, utf8_) != name) continue;
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = c;
        e.xclient.message_type = toolkitMessage_;
        e.xclient.format = 32;
        e.xclient.data.l[0] = message;
        // The questions above waited for their answers, so their errors are
        // already counted. The message counts only when it arrived: the
        // window may have gone since its title was read.
        const int before = XErrors();
        XSendEvent(display_, c, False, NoEventMask, &e);
        if (SyncErrors() == before) ++found;
    }
    errors_->expected = false;
    return found;
}

}  // namespace qh::x11
