// The X11 host's X errors. Xlib's own handler ends the process on any error,
// and a request about another client's window fails whenever that window
// goes away first (BadWindow), which no client can prevent. The host
// installs a handler that records each error on the connection it came from
// instead; code that expects errors (the walk over other clients' windows)
// syncs with the server and compares the count.
// Xlib offers one handler for the whole process and passes it only the
// display, so the handler finds each host's log in a small table of its own:
// the one piece of state here that is not a host's.
#include <cstdio>
#include <mutex>
#include <vector>

#include "toolkit/x11/x11_state.h"

namespace qh::x11 {

namespace {

struct HandlerTable {
    std::mutex mutex;
    std::vector<X11Host::ErrorLog*> logs;
    XErrorHandler previous = nullptr;
};

HandlerTable& Table() {
    static HandlerTable table;
    return table;
}

int RecordError(Display* display, XErrorEvent* error) {
    HandlerTable& table = Table();
    std::unique_lock<std::mutex> lock(table.mutex);
    for (X11Host::ErrorLog* log : table.logs) {
        if (log->display != display) continue;
        ++log->count;
        if (!log->expected) {
            // No protocol request here: the text comes from Xlib's own tables.
            char text[160] = {};
            XGetErrorText(display, error->error_code, text, sizeof text);
            std::fprintf(stderr, "X11 host: X error %d (%s), request %d.%d, resource 0x%lx\n",
                         static_cast<int>(error->error_code), text, static_cast<int>(error->request_code),
                         static_cast<int>(error->minor_code), error->resourceid);
        }
        return 0;
    }
    // A connection that is not a host's keeps the handling it had.
    const XErrorHandler previous = table.previous;
    lock.unlock();
    return previous != nullptr ? previous(display, error) : 0;
}

}  // namespace

void X11Host::InstallErrorHandler() {
    errors_ = std::make_unique<ErrorLog>();
    errors_->display = display_;
    HandlerTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    if (table.logs.empty()) table.previous = XSetErrorHandler(RecordError);
    table.logs.push_back(errors_.get());
}

void X11Host::RemoveErrorHandler() {
    HandlerTable& table = Table();
    std::lock_guard<std::mutex> lock(table.mutex);
    std::erase(table.logs, errors_.get());
    if (!table.logs.empty()) return;
    // Give back the earlier handler, unless someone has replaced ours meanwhile.
    const XErrorHandler current = XSetErrorHandler(table.previous);
    if (current != RecordError) XSetErrorHandler(current);
    table.previous = nullptr;
}

int X11Host::XErrors() const { return errors_ ? errors_->count.load() : 0; }

int X11Host::SyncErrors() {
    XSync(display_, False);
    return XErrors();
}

}  // namespace qh::x11
