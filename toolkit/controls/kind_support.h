// What the control kinds share beyond UiControl and UiTextControl: running
// their own operations on the thread of the control's window (worker
// threads fill lists and set texts while the window's thread paints them),
// and the font a FontChoice names.
#pragma once

#include <mutex>

#include "toolkit/controls/text_control.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace qh {

// Calls op directly on the window's thread or for an unbound control, and
// otherwise posts it to the window's thread and waits for it, as the shared
// operations of UiControl do. fallback is the answer when the window goes
// away before the call runs.
template <class R, class F>
R OnControlThread(const UiControl& control, R fallback, F op) {
    HostHandle handle = 0;
    {
        std::lock_guard<std::mutex> lock(Toolkit().bindingMutex);
        if (UiWindow* w = control.Window()) handle = w->Handle();
    }
    if (handle == 0) return op();
    Host& host = TheHost();
    if (host.OnWindowThread(handle)) return op();
    R result = fallback;
    host.RunOnWindowThread(handle, [&] { result = op(); });
    return result;
}

// The default font with the parts the choice gives.
inline UiFont FontOf(const FontChoice& choice) {
    UiFont font = Toolkit().defaultFont;
    if (!choice.face.empty()) font.face = choice.face;
    font.size = choice.size > 0 ? choice.size : 12.0f;
    font.style = choice.style;
    return font;
}

}  // namespace qh
