// UiRadioButton (kind 11, the calculator's): one choice of a group. A click
// checks it and unchecks the other radio buttons of the same window and
// group (they receive kRadioUncheck); a click on a checked one changes
// nothing, though the window still raises the click event.
#pragma once

#include <vector>

#include "toolkit/controls/toggle_control.h"

namespace qh {

class UiRadioButton : public UiToggleControl {
public:
    void Create(HostHandle hwnd, const qh::Text& text, float left, float top, float width, float height,
                bool checked = false, int group = 0, Argb textColor = MakeArgb(0x000000, 230),
                const FontChoice& font = {}, bool visible = true);
    int Group() const { return group_; }
    std::intptr_t ControlProc(UiWindow& window, int message, std::intptr_t wParam, std::intptr_t lParam) override;
    // Tab stops at a group's checked button only; the arrows move within.
    bool PassedByTab(UiWindow& window) const override;

    ControlTraits Traits() const override { return {.focusRing = true, .role = AccRole::kRadioButton}; }

protected:
    void PaintMark(Graphics& g, const RectF& box, int state) override;
    bool Click(UiWindow& window) override;
    // The arrow keys move to the group's previous or next button and check it.
    bool KeyDown(UiWindow& window, int vk) override;

private:
    // The group's visible, enabled buttons in list order (indices).
    std::vector<int> GroupMembers(UiWindow& window) const;
    int group_ = 0;
};

}  // namespace qh
