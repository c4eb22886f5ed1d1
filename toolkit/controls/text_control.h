// What the drawable kinds with a text share: the text, its font and colour,
// and the Text operation. A kind derives from UiTextControl, creates itself
// through CreateText and paints in its Paint handler.
#pragma once

#include "toolkit/control.h"
#include "toolkit/graphics.h"

namespace qh {

// A font given at creation; every part left out takes the default font's.
struct FontChoice {
    qh::Text face;         // empty: the default face
    float size = 12.0f;
    int style = kRegular;
};

// The default font with the parts the choice gives.
UiFont FontOf(const FontChoice& choice);

class UiTextControl : public UiControl {
public:
    // The text; setting it repaints the control.
    qh::Text Text(const qh::Text& text = qh::Text(), bool set = false);
    // Named forms for new code.
    void SetText(const qh::Text& text) { Text(text, true); }
    Argb TextColor() const { return textColor_; }
    const UiFont& Font() const { return font_; }
    ControlSnapshot Snapshot() const override;

protected:
    // Binds the control and paints it once when visible.
    void CreateText(HostHandle hwnd, int kind, const qh::Text& text, const RectF& bounds, Argb textColor,
                    const FontChoice& font, bool visible, bool tabStop, int cursor = kCursorArrow);

    qh::Text text_;
    Argb textColor_ = 0;
    UiFont font_;
};

}  // namespace qh
