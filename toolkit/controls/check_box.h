// UiCheckBox (kind 11, the updater's): a box that a click ticks or clears.
#pragma once

#include "toolkit/controls/toggle_control.h"

namespace qh {

class UiCheckBox : public UiToggleControl {
public:
    void Create(HostHandle hwnd, const qh::Text& text, float left, float top, float width, float height,
                bool checked = false, Argb textColor = MakeArgb(0x000000, 230), const FontChoice& font = {},
                bool visible = true);

    ControlTraits Traits() const override { return {.focusRing = true, .role = AccRole::kCheckBox}; }

protected:
    void PaintMark(Graphics& g, const RectF& box, int state) override;
    bool Click(UiWindow& window) override;
};

}  // namespace qh
