// UiLabel (kind 3): a text, laid out with DrawText. It is no Tab stop; a press
// gives it the focus, as it gives any control.
#pragma once

#include "toolkit/controls/text_control.h"
#include "toolkit/text_lines.h"

namespace qh {

// A label's text colour in each look: at rest, under the mouse, held down,
// and while it holds the focus (a label that serves as a link keeps the
// focus once clicked, so this is also its visited look). A near-white text
// is drawn with a dark halo, so that it shows on the light grounds labels
// stand on.
struct LabelColors {
    Argb normal;
    Argb hover;
    Argb pressed;
    Argb focused;
};

class UiLabel : public UiTextControl {
public:
    // formatFlags: kFormatNoWrap (the default) or kFormatNoClip and others of
    // TextFormat; align as DrawText takes it (3: near, centred vertically).
    void Create(HostHandle hwnd, const qh::Text& text, float left, float top, float width, float height,
                Argb textColor = MakeArgb(0x000000, 230), const FontChoice& font = {},
                int formatFlags = kFormatNoWrap, int align = 3, bool visible = true);
    // A label whose text changes colour with its look, as a link's does.
    void Create(HostHandle hwnd, const qh::Text& text, float left, float top, float width, float height,
                const LabelColors& colors, const FontChoice& font = {}, int formatFlags = kFormatNoWrap,
                int align = 3, bool visible = true);

    // The distance in pixels from the top of one line to the top of the
    // next; 0, the default, takes the font's own line height. A form's
    // caption column sets it so that its lines stand level with the rows of
    // inputs beside it, whatever the font's metrics. Setting it repaints.
    float LinePitch(float value = 0, bool set = false);
    // The text's lines as the label draws them: at its line pitch when it
    // has one, else fitted to its bounds so that every line shows whole.
    TextLines TextLayout(Graphics& g) const;
    std::vector<std::pair<float, qh::Text>> ShownLines(UiWindow& window) const override;

    // A label with the hand cursor serves as a link.
    ControlTraits Traits() const override {
        return {.focusRing = cursor_ == kCursorHand, .role = cursor_ == kCursorHand ? AccRole::kLink : AccRole::kStaticText};
    }

protected:
    void Paint(UiWindow& window, Graphics& g, int state) override;

private:
    // The text colour of a look (a PaintState), for a label that holds the
    // window's focus or not.
    Argb ColorFor(int state, bool focused) const;
    // Set once at creation; colors_.normal is also the control's TextColor.
    LabelColors colors_{};
    float linePitch_ = 0;
    int formatFlags_ = kFormatNoWrap;
    int align_ = 3;
};

}  // namespace qh
