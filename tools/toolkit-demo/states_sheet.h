// The states sheet: every control kind in every visual state, side by side,
// in one window (toolkit-demo --states), for the screenshots in docs/. Each
// cell is a real control of that kind; its state is set through the
// toolkit: hover, pressed and focused are pinned with
// UiWindow::PinControlState, disabled, checked and selected through the
// kinds' own operations, and the open combo box is opened by a click sent
// to the window.
#pragma once

#include <memory>
#include <vector>

#include "toolkit/host.h"

namespace qh {

class UiWindow;
class UiControl;

class StatesSheet {
public:
    StatesSheet();
    ~StatesSheet();
    // Creates the window and its controls; false when the window cannot be made.
    bool Create();
    // Puts every control in its column's state. Call it once the window is
    // shown: it opens a combo box, which needs a window that takes the focus.
    void ApplyStates();
    UiWindow& Window();
    HostHandle Handle() const { return hwnd_; }

private:
    void CreateRow(int row, float top, float height);
    void ApplySelected(int row, UiControl& control);

    std::unique_ptr<UiWindow> window_;
    // One row per kind, one control (or none) per state column.
    std::vector<std::vector<std::unique_ptr<UiControl>>> cells_;
    HostHandle hwnd_ = 0;
};

}  // namespace qh
