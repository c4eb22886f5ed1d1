// The X11 host's clipboard: the CLIPBOARD selection with UTF8_STRING text.
// Setting text makes the window the selection's owner and the host answers
// other clients' requests from its loop; reading asks the owner to convert
// and waits a bounded time for the answer.
#include <X11/Xatom.h>
#include <poll.h>

#include <thread>

#include "runtime/system.h"
#include "toolkit/x11/x11_state.h"

namespace qh::x11 {

namespace {
// How long a read waits for the selection's owner to answer.
constexpr int kClipboardWaitMs = 1000;
}  // namespace

bool X11Host::SetClipboardText(HostHandle window, const Text& text) {
    if (Native(window) == nullptr) return false;
    XSetSelectionOwner(display_, clipboardAtom_, window, CurrentTime);
    if (XGetSelectionOwner(display_, clipboardAtom_) != window) return false;
    clipboard_ = text;
    clipboardOwner_ = window;
    XFlush(display_);
    return true;
}

void X11Host::ServeSelection(const XSelectionRequestEvent& request) {
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.display = request.display;
    reply.requestor = request.requestor;
    reply.selection = request.selection;
    reply.target = request.target;
    reply.time = request.time;
    reply.property = None;
    // Old clients name no property: the target's name serves as one.
    const Atom property = request.property != None ? request.property : request.target;
    if (request.selection == clipboardAtom_ && request.owner == clipboardOwner_) {
        if (request.target == targetsAtom_) {
            const Atom targets[] = {targetsAtom_, utf8_};
            XChangeProperty(display_, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(targets), 2);
            reply.property = property;
        } else if (request.target == utf8_) {
            const std::string utf8 = System().GbkToUtf8(clipboard_);
            XChangeProperty(display_, request.requestor, property, utf8_, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
            reply.property = property;
        }
    }
    XSendEvent(display_, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
    XFlush(display_);
}

void X11Host::LoseSelection(const XSelectionClearEvent& clear) {
    if (clear.selection == clipboardAtom_ && clear.window == clipboardOwner_) clipboardOwner_ = 0;
}

Text X11Host::ClipboardText(HostHandle window) {
    if (Native(window) == nullptr) return Text();
    const ::Window owner = XGetSelectionOwner(display_, clipboardAtom_);
    if (owner == None) return Text();
    if (clipboardOwner_ != 0 && owner == clipboardOwner_) return clipboard_;
    XDeleteProperty(display_, window, clipProperty_);
    XConvertSelection(display_, clipboardAtom_, utf8_, clipProperty_, window, CurrentTime);
    XFlush(display_);
    // Only the answer is taken from the queue; other events wait for the loop.
    XEvent e;
    bool answered = false;
    for (int waited = 0; waited < kClipboardWaitMs && !answered;) {
        if (XCheckTypedWindowEvent(display_, window, SelectionNotify, &e)) {
            answered = true;
            break;
        }
        pollfd fd{ConnectionNumber(display_), POLLIN, 0};
        poll(&fd, 1, 10);
        waited += 10;
    }
    if (!answered || e.xselection.property == None) return Text();
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    Text result;
    if (XGetWindowProperty(display_, window, clipProperty_, 0, 1 << 20, True, AnyPropertyType, &type, &format,
                           &items, &after, &data) == Success &&
        data != nullptr && format == 8 && (type == utf8_ || type == XA_STRING)) {
        result = System().Utf8ToGbk(std::string(reinterpret_cast<const char*>(data), items));
    }
    if (data != nullptr) XFree(data);
    return result;
}

}  // namespace qh::x11
