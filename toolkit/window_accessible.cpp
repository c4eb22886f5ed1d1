// Reporting changes of a window's accessibility tree to the host, which
// passes them on to screen readers (NotifyWinEvent on Windows, ATK signals
// on Linux). The tree itself is read from the controls (accessible.cpp);
// this keeps only what was last reported, to see what changed.
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace qh {

void UiWindow::ReportAccessibleChanges() {
    Host& host = TheHost();
    std::vector<AccessibleMemo> now;
    for (const AccessibleObject& o : AccessibleChildren(*this)) now.push_back({o.id, o.name, o.value, o.states});
    // The first report only takes note: a reader that just asked has the
    // whole tree already.
    if (!std::exchange(accessibleReported_, true)) {
        accessibleMemo_ = std::move(now);
        return;
    }
    const auto find = [](const std::vector<AccessibleMemo>& list, int id) -> const AccessibleMemo* {
        for (const AccessibleMemo& m : list) {
            if (m.id == id) return &m;
        }
        return nullptr;
    };
    for (const AccessibleMemo& old : accessibleMemo_) {
        if (find(now, old.id) == nullptr) host.AccessibleChanged(hwnd_, AccEvent::kHide, old.id);
    }
    int focused = 0;
    for (const AccessibleMemo& m : now) {
        const AccessibleMemo* old = find(accessibleMemo_, m.id);
        if (old == nullptr) {
            host.AccessibleChanged(hwnd_, AccEvent::kShow, m.id);
        } else {
            if (old->name != m.name) host.AccessibleChanged(hwnd_, AccEvent::kNameChange, m.id);
            if (old->value != m.value) host.AccessibleChanged(hwnd_, AccEvent::kValueChange, m.id);
            if ((old->states & ~kAccFocused) != (m.states & ~kAccFocused)) {
                host.AccessibleChanged(hwnd_, AccEvent::kStateChange, m.id);
            }
        }
        const bool wasFocused = old != nullptr && (old->states & kAccFocused) != 0;
        if ((m.states & kAccFocused) != 0 && !wasFocused) focused = m.id;
    }
    // The focus last, so that a reader speaks the new control as it now is.
    if (focused != 0) host.AccessibleChanged(hwnd_, AccEvent::kFocus, focused);
    accessibleMemo_ = std::move(now);
}

}  // namespace qh
