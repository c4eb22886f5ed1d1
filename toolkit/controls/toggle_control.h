// What the two kind-11 controls share: a mark (a box or a circle) beside a
// text, checked or not. UiCheckBox toggles on a click; UiRadioButton checks
// itself and unchecks the others of its group.
#pragma once

#include "toolkit/controls/text_control.h"

namespace qh {

class UiToggleControl : public UiTextControl {
public:
    // Whether the control is checked; setting a different value repaints.
    int Checked(int value = 0, bool set = false);
    ControlSnapshot Snapshot() const override;

protected:
    void CreateToggle(HostHandle hwnd, const qh::Text& text, const RectF& bounds, bool checked, Argb textColor,
                      const FontChoice& font, bool visible);
    void Paint(UiWindow& window, Graphics& g, int state) override;
    // Draws the mark in box for the state.
    virtual void PaintMark(Graphics& g, const RectF& box, int state) = 0;

    bool checked_ = false;
};

}  // namespace qh
