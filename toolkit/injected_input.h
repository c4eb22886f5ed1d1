// User input spelled as the messages a window receives, for hosts whose
// input is injected (the headless host, and the test host of the Windows
// build): a press is a move to the point and then the button going down, a
// click is a press and a release, a typed key is key down, its character
// for printable keys, and key up. A host gets these by deriving from
// InjectedInput<Itself> and providing Send(window, message, wParam, lParam).
#pragma once

#include <cstdint>

#include "toolkit/geometry.h"
#include "toolkit/host.h"
#include "toolkit/messages.h"

namespace qh {

template <typename Sender>
class InjectedInput {
public:
    void MouseMove(HostHandle window, int x, int y) { Send(window, msg::kMouseMove, 0, MakeLParam(x, y)); }

    void MouseDown(HostHandle window, int x, int y) {
        MouseMove(window, x, y);
        Send(window, msg::kLButtonDown, kLeftButtonDown, MakeLParam(x, y));
    }

    void MouseUp(HostHandle window, int x, int y) {
        MouseMove(window, x, y);
        Send(window, msg::kLButtonUp, 0, MakeLParam(x, y));
    }

    void Click(HostHandle window, int x, int y) {
        MouseDown(window, x, y);
        MouseUp(window, x, y);
    }

    // A second click soon after the first: the system reports its press as
    // a double click.
    void DoubleClick(HostHandle window, int x, int y) {
        Click(window, x, y);
        Send(window, msg::kLButtonDblClk, kLeftButtonDown, MakeLParam(x, y));
        Send(window, msg::kLButtonUp, 0, MakeLParam(x, y));
    }

    void RightClick(HostHandle window, int x, int y) {
        MouseMove(window, x, y);
        Send(window, msg::kRButtonDown, kRightButtonDown, MakeLParam(x, y));
        Send(window, msg::kRButtonUp, 0, MakeLParam(x, y));
    }

    void TypeKey(HostHandle window, int vk) {
        Send(window, msg::kKeyDown, vk, 1);
        if (vk >= 32 && vk < 127) Send(window, msg::kChar, vk, 1);
        Send(window, msg::kKeyUp, vk, 1);
    }

private:
    static constexpr std::intptr_t kLeftButtonDown = 1;   // MK_LBUTTON
    static constexpr std::intptr_t kRightButtonDown = 2;  // MK_RBUTTON

    void Send(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
        static_cast<Sender*>(this)->Send(window, message, wParam, lParam);
    }
};

}  // namespace qh
