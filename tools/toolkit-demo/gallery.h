// The gallery: one control of every kind in a 600 x 440 window, each named
// for scripts, so that the UI driver can show every kind in every state and
// the benchmarks have a full window to paint.
#pragma once

#include <memory>

#include "toolkit/host.h"

namespace qh {

class UiWindow;

class Gallery {
public:
    Gallery();
    ~Gallery();
    // Creates the window and its controls; false when the window cannot be made.
    bool Create();
    UiWindow& Window();
    HostHandle Handle() const;

private:
    struct Controls;
    std::unique_ptr<Controls> controls_;
    HostHandle hwnd_ = 0;
};

}  // namespace qh
